#include "model/FrameAssembler.h"

#include <algorithm>

namespace tuner::image {
namespace {

constexpr int kValuesAt = 5;

int16_t ValueAt(const DevReport& report, int index) {
    const size_t at = static_cast<size_t>(kValuesAt + 2 * index);
    return static_cast<int16_t>(report.bytes[at] | (report.bytes[at + 1] << 8));
}

}  // namespace

FrameAssembler::FrameAssembler()
    : back_(std::make_unique<Frame>()), front_(std::make_unique<Frame>()) {}

void FrameAssembler::Configure(int expectedLastRow, int rowLength, int keyCount) {
    std::lock_guard lock(mutex_);
    expectedLastRow_ = expectedLastRow;
    rowLength_ = rowLength;
    keyCount_ = std::clamp(keyCount, 0, kMaxKeys);
}

void FrameAssembler::SetSkipCount(int skip) {
    skip_.store(std::max(skip, 1));
}

bool FrameAssembler::OnImageReport(const DevReport& report) {
    const int length = devReportCount(report);
    if (length < 3) return false;
    const int count = (length - 3) / 2;
    const int row = report.bytes[3];
    const int first = report.bytes[4];

    std::lock_guard lock(mutex_);
    if (keyCount_ > 0 && row == expectedLastRow_ + 1) {
        const int keys = std::min(count, keyCount_);
        for (int i = 0; i < keys; ++i) back_->keys[static_cast<size_t>(i)] = ValueAt(report, i);
        return count == keyCount_ && Complete();
    }
    if (row >= kFrameRows) return false;
    const int stored = std::clamp(kRowSlots - first, 0, count);
    for (int i = 0; i < stored; ++i) back_->At(row, first + i) = ValueAt(report, i);
    const bool ends = keyCount_ == 0 && row == expectedLastRow_ && first + count == rowLength_;
    return ends && Complete();
}

bool FrameAssembler::Complete() {
    completed_.fetch_add(1);
    if (!paused_.load()) {
        std::swap(back_, front_);
        haveFrame_ = true;
    }
    if (counter_ >= skip_.load()) {
        counter_ = 0;
        return true;
    }
    ++counter_;
    return false;
}

bool FrameAssembler::CopyFront(Frame& out) const {
    std::lock_guard lock(mutex_);
    if (!haveFrame_) return false;
    out = *front_;
    return true;
}

void FrameAssembler::Clear() {
    std::lock_guard lock(mutex_);
    *back_ = Frame{};
    *front_ = Frame{};
}

void FrameAssembler::Restart() {
    std::lock_guard lock(mutex_);
    *back_ = Frame{};
    *front_ = Frame{};
    counter_ = 0;
    haveFrame_ = false;
}

void ListBurst::OnListReport(const DevReport& report) {
    if (paused_.load()) return;
    const size_t length = static_cast<size_t>(devReportCount(report));
    const size_t end = 2 + length;  // one past the last byte the report holds
    std::lock_guard lock(mutex_);
    if (report.bytes[4] == 0xFF) {
        const size_t closing = std::min<size_t>({report.bytes[3], kMaxClosingBytes,
                                                 end > 5 ? end - 5 : 0});
        open_.closing.assign(report.bytes + 5, report.bytes + 5 + closing);
        last_ = std::move(open_);
        open_ = List{};
        return;
    }
    const size_t items = std::min<size_t>(report.bytes[3], 9);
    for (size_t i = 0; i < items && open_.items.size() < kMaxItems; ++i) {
        const size_t at = 4 + i * kItemSize;
        if (at + kItemSize > end) break;
        std::array<uint8_t, kItemSize> item{};
        std::copy_n(report.bytes + at, kItemSize, item.begin());
        open_.items.push_back(item);
    }
}

ListBurst::List ListBurst::Last() const {
    std::lock_guard lock(mutex_);
    return last_;
}

}  // namespace tuner::image
