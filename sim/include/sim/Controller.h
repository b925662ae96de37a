// The simulated controller as a transport sees it: 64-byte output reports go in, 64-byte input
// reports come out. Replies are queued as requests arrive; streamed reports (image frames,
// touch information) are produced when the reader asks for them and they are due, paced by the
// profile's intervals, so an idle reader costs nothing and a fast one is never flooded.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/Profile.h"

namespace sim {

class Firmware;
class LinkPace;

struct Options {
    std::string statePath;  // keeps the stored parameter sets between runs; empty: none
    std::string tracePath;  // one line per request; empty: no trace
    std::string truthPath;  // what the simulator knows of its panel; empty: not written
    // Reports per millisecond each way, like the real link (1 full speed, 8 high speed); 0: as
    // fast as the reader takes them.
    int reportsPerMs = 0;
};

enum class ReadStatus { Ok, Timeout, Gone };

// The trace line of a controller that refuses to be opened (profile key open_fails).
void traceRefusedOpen(const Options& options);

class Controller {
  public:
    // Opening the controller: traced as "open".
    Controller(const Profile& profile, const Options& options);
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // Host to device. False once the controller is gone (disconnected or closed).
    bool write(const uint8_t* report64);
    // Device to host: waits up to `timeout` for the next report.
    ReadStatus read(uint8_t* report64, std::chrono::milliseconds timeout);
    // Wakes a waiting read; every later call fails. The first close by the program is traced as
    // "close"; a close without `byProgram` (the library letting go of a device the program left
    // open) is not.
    void close(bool byProgram);

  private:
    using Report = std::array<uint8_t, 64>;
    using Clock = std::chrono::steady_clock;

    void handleCommand(const uint8_t* report);
    void handleIcRequest();
    void enqueueReply(uint8_t op, uint8_t seq, uint8_t status, const std::vector<uint8_t>& data);
    void countRequest();
    void paceWrite();
    void trace(const std::string& line);

    Profile profile_;
    // When reports may go, and the link-time floor of those that went.
    std::unique_ptr<LinkPace> link_;
    std::unique_ptr<Firmware> firmware_;
    std::ofstream trace_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Report> queue_;
    std::vector<uint8_t> bulk_;  // data-out payload collected for the next command
    uint8_t bulkSeq_ = 0;
    bool bulkOverflow_ = false;
    bool gone_ = false;
    bool closed_ = false;
    int requests_ = 0;
    Clock::time_point nextBurst_{};
    Clock::time_point holdUntil_{};  // nothing is delivered before (a slow controller's reply)
    bool streamWasOn_ = false;
};

}  // namespace sim
