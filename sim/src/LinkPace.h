// The pace of a USB link. Time is cut into frames of a fixed length on a grid that starts when the
// controller is opened, and each frame carries at most one report each way, the way a host
// controller polls an interrupt endpoint once per (micro)frame. Slots are absolute: a report that
// misses the start of its frame may still go within that frame, and the next one is due at the
// next frame boundary, so a reader or writer that is late by less than a frame loses no link time.
//
// Beside the real time it counts the link-time floor of the reports that moved: the fewest frames
// a link needs for them in the order they moved (one report each way per frame, none before a
// report that moved earlier). A reply may share the frame of its request and a streamed report
// that of a request, but a bulk write's reports all go before its reply. The count depends only on
// the order, not on how promptly the program took or sent each report, so a run can be judged
// against it.
#pragma once

#include <chrono>

namespace sim {

class LinkPace {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Way { ToDevice, ToHost };

    // `frame` 0: unpaced (every report may go at once; the floor is still counted).
    LinkPace(std::chrono::microseconds frame, Clock::time_point start);

    bool paced() const { return frame_.count() > 0; }
    // The earliest time, at or after `now`, at which a report may go `way`.
    Clock::time_point slot(Way way, Clock::time_point now) const;
    // Books the place of a report that goes `way` as soon as it may (at or after `now`) and
    // returns when that is.
    Clock::time_point book(Way way, Clock::time_point now);
    // A report went `way`: counted for the floor, in the order of the calls.
    void count(Way way);

    long sent() const { return sent_; }
    long taken() const { return taken_; }
    long floorFrames() const { return floorFrames_; }

  private:
    static int index(Way way) { return way == Way::ToDevice ? 0 : 1; }

    std::chrono::microseconds frame_;
    Clock::time_point start_;
    Clock::time_point next_[2];  // the start of the next frame free for each way
    long sent_ = 0, taken_ = 0;
    long floorFrames_ = 0;
    bool floorFrameUsed_[2] = {false, false};  // the ways the last counted frame already carries
};

}  // namespace sim
