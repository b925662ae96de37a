#include "sim/Controller.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "Firmware.h"
#include "LinkPace.h"
#include "RequestFaults.h"
#include "devlink_protocol.h"

namespace sim {
namespace {

using namespace devproto;

constexpr size_t kMaxBulk = 64 * 1024;

const char* statusText(uint8_t status) {
    switch (status) {
        case kStatusOk:
            return "ok";
        case kStatusRefused:
            return "refused";
        case kStatusUnknown:
            return "unknown";
        case kStatusBadRequest:
            return "bad request";
        default:
            return "failed";
    }
}

uint8_t statusOf(FailAnswer answer) {
    switch (answer) {
        case FailAnswer::Refused:
            return kStatusRefused;
        case FailAnswer::Unknown:
            return kStatusUnknown;
        case FailAnswer::BadRequest:
            return kStatusBadRequest;
        default:
            return kStatusFailed;
    }
}

std::string traceLine(const std::string& name, const std::string& arguments,
                      const std::string& result) {
    return name + (arguments.empty() ? "" : " " + arguments) + " -> " + result;
}

bool isCommandChannel(uint8_t kind) {
    return kind == kKindDataIn || kind == kKindReply;
}

}  // namespace

Controller::Controller(const Profile& profile, const Options& options)
    : profile_(profile),
      link_(std::make_unique<LinkPace>(
          std::chrono::microseconds(options.reportsPerMs > 0 ? 1000 / options.reportsPerMs : 0),
          Clock::now())),
      firmware_(std::make_unique<Firmware>(profile, options.statePath, options.truthPath)) {
    if (!options.tracePath.empty()) trace_.open(options.tracePath, std::ios::app);
    trace("open -> ok");
}

Controller::~Controller() = default;

bool Controller::write(const uint8_t* report) {
    paceWrite();
    std::lock_guard lock(mutex_);
    if (gone_) return false;
    link_->count(LinkPace::Way::ToDevice);
    const int count = std::min<int>(report[1], kMaxCount);
    const uint8_t kind = report[2];
    if (kind == kKindDataOut) {
        if (report[3] != bulkSeq_) {
            bulk_.clear();
            bulkOverflow_ = false;
            bulkSeq_ = report[3];
        }
        const int n = std::max(0, count - 2);
        if (bulk_.size() + static_cast<size_t>(n) > kMaxBulk)
            bulkOverflow_ = true;
        else
            bulk_.insert(bulk_.end(), report + kDataPayloadOffset, report + kDataPayloadOffset + n);
    } else if (kind == kKindCommand) {
        handleCommand(report);
    } else if (kind == kKindInfo && report[3] == kSubIcInfo) {
        handleIcRequest();
    } else {
        char text[64];
        std::snprintf(text, sizeof text, "report kind=0x%02X sub=0x%02X -> ignored", kind,
                      report[3]);
        trace(text);
    }
    ready_.notify_all();
    return true;
}

void Controller::handleCommand(const uint8_t* report) {
    const uint8_t op = report[3], seq = report[4];
    const uint8_t* args = report + kCommandArgOffset;
    if (profile_.replyDelayMs > 0)
        holdUntil_ = Clock::now() + std::chrono::milliseconds(profile_.replyDelayMs);
    std::vector<uint8_t> bulk;
    if (seq == bulkSeq_ && !bulkOverflow_) bulk.swap(bulk_);
    bulk_.clear();
    bulkOverflow_ = false;

    std::string name = opName(op);
    if (name.empty()) name = "op" + std::to_string(op);
    const Faults& faults = profile_.faults;
    if (isUnanswered(faults, name, op, args)) {
        trace(traceLine(name, requestArguments(op, args), "no reply"));
        countRequest();
        return;
    }
    const FailAnswer* failure = failureOf(faults, name, op, args);
    Outcome outcome;
    if (failure && *failure != FailAnswer::Malformed) {
        outcome.status = statusOf(*failure);
        outcome.trace = requestArguments(op, args);
    } else {
        outcome = firmware_->execute(op, args, bulk);
    }
    if (outcome.stopsStreams) {
        queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                    [](const Report& r) { return !isCommandChannel(r[2]); }),
                     queue_.end());
        streamWasOn_ = false;
    }
    std::string result = statusText(outcome.status);
    if (failure && *failure == FailAnswer::Malformed) {
        outcome.data.resize(outcome.data.size() + kDataPayloadMax, 0xA5);
        result = "malformed";
    }
    enqueueReply(op, seq, outcome.status, outcome.data);
    for (const auto& r : outcome.reports) queue_.push_back(r);
    trace(traceLine(name, outcome.trace, result));
    countRequest();
}

void Controller::handleIcRequest() {
    const uint8_t noArgs[kCommandArgMax] = {};
    if (isUnanswered(profile_.faults, "ic_info", 0, noArgs)) {
        trace("ic_info -> no reply");
    } else if (failureOf(profile_.faults, "ic_info", 0, noArgs)) {
        trace("ic_info -> failed");  // a firmware that cannot answer sends nothing
    } else {
        queue_.push_back(firmware_->icInfo());
        trace("ic_info -> ok");
    }
    countRequest();
}

void Controller::enqueueReply(uint8_t op, uint8_t seq, uint8_t status,
                              const std::vector<uint8_t>& data) {
    size_t at = 0;
    // Whole data-in reports first, then the reply with the tail that fits beside its status.
    while (data.size() - at > kReplyTailMax) {
        const size_t n = std::min(kDataPayloadMax, data.size() - at);
        Report r{};
        r[0] = kReportId;
        r[1] = static_cast<uint8_t>(2 + n);
        r[2] = kKindDataIn;
        r[3] = seq;
        std::copy(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n),
                  r.begin() + kDataPayloadOffset);
        queue_.push_back(r);
        at += n;
    }
    const size_t tail = data.size() - at;
    Report r{};
    r[0] = kReportId;
    r[1] = static_cast<uint8_t>(4 + tail);
    r[2] = kKindReply;
    r[3] = op;
    r[4] = seq;
    r[5] = status;
    std::copy(data.begin() + static_cast<long>(at), data.end(), r.begin() + kReplyTailOffset);
    queue_.push_back(r);
}

void Controller::countRequest() {
    ++requests_;
    if (profile_.faults.disconnectAfter > 0 && requests_ >= profile_.faults.disconnectAfter &&
        !gone_) {
        queue_.push_back(disconnectNotice());
        gone_ = true;
        trace("disconnect");
    }
}

ReadStatus Controller::read(uint8_t* report, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (!queue_.empty() && Clock::now() >= holdUntil_) {
            // A paced link hands over the next report only when its slot has come.
            const auto now = Clock::now();
            const auto slot = link_->slot(LinkPace::Way::ToHost, now);
            if (slot > now) {
                if (now >= deadline) return ReadStatus::Timeout;
                ready_.wait_until(lock, std::min(deadline, slot));
                continue;
            }
            link_->book(LinkPace::Way::ToHost, now);
            link_->count(LinkPace::Way::ToHost);
            std::copy(queue_.front().begin(), queue_.front().end(), report);
            queue_.pop_front();
            return ReadStatus::Ok;
        }
        if (gone_ && queue_.empty()) return ReadStatus::Gone;
        auto wakeAt = deadline;
        const auto now = Clock::now();
        if (firmware_->streaming()) {
            if (!streamWasOn_) {
                streamWasOn_ = true;
                nextBurst_ = now;
            }
            if (now >= nextBurst_) {
                Reports burst;
                firmware_->appendStreamBurst(burst);
                queue_.insert(queue_.end(), burst.begin(), burst.end());
                nextBurst_ = now + std::chrono::milliseconds(firmware_->streamIntervalMs());
                continue;
            }
            wakeAt = std::min(deadline, nextBurst_);
        } else {
            streamWasOn_ = false;
        }
        if (!queue_.empty()) wakeAt = std::min(wakeAt, holdUntil_);
        if (now >= deadline) return ReadStatus::Timeout;
        ready_.wait_until(lock, wakeAt);
    }
}

void Controller::paceWrite() {
    if (!link_->paced()) return;
    Clock::time_point slot;
    {
        std::lock_guard lock(mutex_);
        slot = link_->book(LinkPace::Way::ToDevice, Clock::now());
    }
    std::this_thread::sleep_until(slot);
}

void Controller::close(bool byProgram) {
    std::lock_guard lock(mutex_);
    if (byProgram && !closed_) {
        // A paced link's run is measured against the reports it moved.
        if (link_->paced())
            trace("reports sent=" + std::to_string(link_->sent()) +
                  " taken=" + std::to_string(link_->taken()) +
                  " frames=" + std::to_string(link_->floorFrames()));
        trace("close -> ok");
    }
    closed_ = true;
    gone_ = true;
    queue_.clear();
    ready_.notify_all();
}

void traceRefusedOpen(const Options& options) {
    if (options.tracePath.empty()) return;
    std::ofstream(options.tracePath, std::ios::app) << "open -> failed\n";
}

void Controller::trace(const std::string& line) {
    if (!trace_.is_open()) return;
    trace_ << line << '\n';
    trace_.flush();
}

}  // namespace sim
