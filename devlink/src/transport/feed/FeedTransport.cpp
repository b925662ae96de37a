// The transport behind openFedDevice: a queue the caller fills and the reader thread empties.
#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "Registry.h"
#include "devlink/ReportFeed.h"
#include "transport/Transport.h"

namespace devlink {
namespace {

using Report = std::array<uint8_t, kDevReportSize>;

class Feed final : public ReportFeed {
  public:
    bool push(const uint8_t* report64) override {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        Report r;
        std::copy(report64, report64 + kDevReportSize, r.begin());
        queue_.push_back(r);
        ++pushed_;
        changed_.notify_all();
        return true;
    }

    bool drain(std::chrono::milliseconds timeout) override {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return closed_ || finished_ == pushed_; }) &&
               !closed_;
    }

    uint64_t requestsSent() const override {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    // The transport's side.
    bool write() {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        ++requests_;
        return true;
    }

    ReadResult read(uint8_t* report64, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        // The reader is back for more: the report it took last has been dispatched.
        finished_ = taken_;
        changed_.notify_all();
        changed_.wait_for(lock, timeout, [&] { return closed_ || !queue_.empty(); });
        if (closed_) return ReadResult::Gone;
        if (queue_.empty()) return ReadResult::Timeout;
        std::copy(queue_.front().begin(), queue_.front().end(), report64);
        queue_.pop_front();
        ++taken_;
        return ReadResult::Ok;
    }

    void close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        queue_.clear();
        changed_.notify_all();
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Report> queue_;
    uint64_t pushed_ = 0, taken_ = 0, finished_ = 0, requests_ = 0;
    bool closed_ = false;
};

class FeedTransport final : public Transport {
  public:
    explicit FeedTransport(std::shared_ptr<Feed> feed) : feed_(std::move(feed)) {}
    bool write(const uint8_t*) override { return feed_->write(); }
    ReadResult read(uint8_t* report64, std::chrono::milliseconds timeout) override {
        return feed_->read(report64, timeout);
    }
    void close(bool) override { feed_->close(); }

  private:
    std::shared_ptr<Feed> feed_;
};

}  // namespace

FedDevice openFedDevice() {
    auto feed = std::make_shared<Feed>();
    FedDevice fed;
    fed.handle = registerDevice(std::make_shared<DevDevice>(std::make_unique<FeedTransport>(feed)));
    fed.feed = std::move(feed);
    return fed;
}

}  // namespace devlink
