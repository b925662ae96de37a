// One open controller: its transport, its reader thread, the request waiting for a reply and
// the report subscriptions.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "devlink/devlink.h"
#include "transport/Transport.h"

// A subscription as the device keeps it; programs see only its token.
struct DevSubscriptionImpl {
    uint64_t token = 0;  // never reused in the process; the DevSubscription value
    uint8_t kind = 0;
    uint8_t subCode = 0;
    DevReportHandler handler = nullptr;  // null for a posted subscription
    void* context = nullptr;
    void* window = nullptr;
    uint32_t message = 0;
    bool removed = false;
};

struct DevDevice {
  public:
    explicit DevDevice(std::unique_ptr<devlink::Transport> transport);
    ~DevDevice();
    DevDevice(const DevDevice&) = delete;
    DevDevice& operator=(const DevDevice&) = delete;

    // Stops the reader thread, fails a waiting request and closes the transport. `byProgram`:
    // devClose, as opposed to the library letting go of a device left open. Not from the reader
    // thread.
    void stop(bool byProgram);
    bool onReaderThread() const { return std::this_thread::get_id() == readerId_; }
    // True on the reader thread of any open device: a waiting call made there is refused.
    static bool onAnyReaderThread();
    bool gone() const { return gone_.load(); }

    // The cause of the last failed call, kept apart for calls made on a reader thread (from
    // handlers, of this device or another) and for calls from the program's threads.
    void setError(DevError cause);
    DevError lastError() const;
    // Records the cause and returns whether it is kDevErrorNone.
    bool settle(DevError cause) {
        setError(cause);
        return cause == kDevErrorNone;
    }

    // One command of the command channel: bulk data out (may be empty), then the command; the
    // reply's data goes to `out` (at most outSize bytes), its length to *outLength.
    struct Command {
        uint8_t op = 0;
        const uint8_t* args = nullptr;
        size_t argLength = 0;
        const uint8_t* bulk = nullptr;
        size_t bulkLength = 0;
        uint8_t* out = nullptr;
        size_t outSize = 0;
    };
    bool command(const Command& command, size_t* outLength = nullptr);

    // Sends a raw report and waits for a report of the given kind and sub-code (0xFF any).
    bool request(const uint8_t* request, size_t length, uint8_t kind, uint8_t subCode,
                 uint32_t timeoutMs, uint8_t* reply64);

    // A subscription with a fresh token (the returned value).
    DevSubscription subscribe(DevSubscriptionImpl subscription);
    bool unsubscribe(DevSubscription subscription);
    uint32_t dropped() const { return dropped_.load(); }

  private:
    struct Pending;
    void readerLoop();
    void onReport(const uint8_t* report);
    bool onCommandReport(const uint8_t* report, int count);
    void dispatch(const DevReport& report);
    void dropMalformed(const char* why);
    // Why a call cannot start now (gone, stopped, on a reader thread), or kDevErrorNone.
    DevError refusalBeforeSending() const;
    DevError waitForReply(std::unique_lock<std::mutex>& lock, Pending& pending, uint32_t timeoutMs);

    std::unique_ptr<devlink::Transport> transport_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> gone_{false};
    std::atomic<uint32_t> dropped_{0};
    std::atomic<DevError> callerError_{kDevErrorNone};
    std::atomic<DevError> readerError_{kDevErrorNone};

    std::mutex requestMutex_;  // one request at a time
    std::mutex replyMutex_;
    std::condition_variable replyReady_;
    Pending* pending_ = nullptr;
    std::atomic<bool> rawPending_{false};  // lets streamed reports skip the reply lock
    uint8_t sequence_ = 0;

    std::mutex subMutex_;
    std::condition_variable callbackDone_;
    std::list<DevSubscriptionImpl> subscriptions_;
    uint64_t running_ = 0;  // the token of the subscription whose callback runs now

    std::thread reader_;
    std::atomic<std::thread::id> readerId_{};
};
