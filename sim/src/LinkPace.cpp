#include "LinkPace.h"

#include <algorithm>

namespace sim {

LinkPace::LinkPace(std::chrono::microseconds frame, Clock::time_point start)
    : frame_(frame), start_(start), next_{start, start} {}

LinkPace::Clock::time_point LinkPace::slot(Way way, Clock::time_point now) const {
    if (!paced()) return now;
    return std::max(now, next_[index(way)]);
}

LinkPace::Clock::time_point LinkPace::book(Way way, Clock::time_point now) {
    const Clock::time_point at = slot(way, now);
    if (paced()) {
        // The frame `at` falls in: the next report this way waits for the start of the next one,
        // however late in its frame this one went.
        const auto frames = (at - start_) / frame_;
        next_[index(way)] = start_ + (frames + 1) * frame_;
    }
    return at;
}

void LinkPace::count(Way way) {
    const int w = index(way);
    (way == Way::ToDevice ? sent_ : taken_) += 1;
    if (floorFrames_ == 0 || floorFrameUsed_[w]) {
        ++floorFrames_;
        floorFrameUsed_[0] = floorFrameUsed_[1] = false;
    }
    floorFrameUsed_[w] = true;
}

}  // namespace sim
