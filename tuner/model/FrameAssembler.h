// Builds whole frames from the controller's image rows on the library's thread, and keeps the
// last complete one for the page's worker. Only the newest frame is kept: when the worker falls
// behind, older frames are replaced, never queued.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "devlink/devlink.h"
#include "model/ImageGeometry.h"

namespace tuner::image {

struct Frame {
    std::array<int16_t, static_cast<size_t>(kFrameRows) * kRowSlots> cells{};
    std::array<int16_t, kMaxKeys> keys{};

    int16_t At(int row, int column) const {
        return cells[static_cast<size_t>(row) * kRowSlots + static_cast<size_t>(column)];
    }
    int16_t& At(int row, int column) {
        return cells[static_cast<size_t>(row) * kRowSlots + static_cast<size_t>(column)];
    }
};

class FrameAssembler {
  public:
    FrameAssembler();

    // Where a frame ends (see PlanFor) and how many key values follow it.
    void Configure(int expectedLastRow, int rowLength, int keyCount);
    // Frames skipped between two frames handed to the worker; at least 1.
    void SetSkipCount(int skip);
    int SkipCount() const { return skip_.load(); }
    // While paused, completed frames do not replace the one kept.
    void SetPaused(bool paused) { paused_.store(paused); }
    bool Paused() const { return paused_.load(); }

    // One image report. True when the worker should take the new frame now.
    bool OnImageReport(const DevReport& report);

    // The last complete frame; false (and `out` unchanged) when none has completed since the
    // last restart.
    bool CopyFront(Frame& out) const;
    // Zeroes both buffers; the frame kept stays.
    void Clear();
    // A new stream: nothing of the previous one is handed on, and counting starts again.
    void Restart();

    uint64_t CompletedFrames() const { return completed_.load(); }

  private:
    bool Complete();

    mutable std::mutex mutex_;
    std::unique_ptr<Frame> back_, front_;
    int expectedLastRow_ = -1, rowLength_ = 0, keyCount_ = 0;
    int counter_ = 0;
    bool haveFrame_ = false;
    std::atomic<int> skip_{3};
    std::atomic<bool> paused_{false};
    std::atomic<uint64_t> completed_{0};
};

// The list bursts (kind 0x4B) the controller may send: six-byte items, closed by a report whose
// byte 4 is 0xFF. The page keeps the last closed list but does not show it.
class ListBurst {
  public:
    static constexpr size_t kMaxItems = 254;
    static constexpr size_t kItemSize = 6;
    static constexpr size_t kMaxClosingBytes = 59;  // what fits in a report after byte 4

    void OnListReport(const DevReport& report);
    void SetPaused(bool paused) { paused_.store(paused); }

    struct List {
        std::vector<std::array<uint8_t, kItemSize>> items;
        std::vector<uint8_t> closing;
    };
    List Last() const;

  private:
    mutable std::mutex mutex_;
    List open_, last_;
    std::atomic<bool> paused_{false};
};

}  // namespace tuner::image
