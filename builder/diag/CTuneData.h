// The measurement workspace: the areas the device library's thread fills from measurement reports,
// and the event it signals when the awaited data is complete. The main thread clears the areas
// before it subscribes, waits for the event with a time-out, and reads the areas only afterwards.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include <devlink/devlink.h>

class DeviceHost;

// An auto-reset event: Wait returns true once per Set, or false when the time-out ran out.
class CAutoResetEvent {
  public:
    void Set();
    bool Wait(std::chrono::milliseconds timeout);
    void Reset();

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

class CTuneData {
  public:
    static constexpr int kFrameRows = 160;
    static constexpr int kFrameColumns = 256;
    static constexpr int kMatrixSize = 256;
    static constexpr int kShortListSize = 160;
    static constexpr int kReceivedMapSize = 91136;

    explicit CTuneData(DeviceHost* host);
    ~CTuneData();
    CTuneData(const CTuneData&) = delete;
    CTuneData& operator=(const CTuneData&) = delete;

    // Zeroes every area and the Tx-scan mark.
    void ClearAreas();
    // Ends both subscriptions; returns only when no handler of them is running.
    void Unsubscribe();

    CAutoResetEvent& DataEvent() { return dataEvent_; }

  private:
    DeviceHost* host_;
    DevSubscription imageSubscription_ = nullptr;
    DevSubscription shortSubscription_ = nullptr;
    CAutoResetEvent dataEvent_;

    // The areas are large; they live on the heap with the object.
    struct Areas {
        std::array<uint8_t, kReceivedMapSize> received{};
        std::array<std::array<int16_t, kFrameColumns>, kFrameRows> frame{};
        std::array<std::array<int16_t, kMatrixSize>, kMatrixSize> matrix{};
        std::array<int16_t, kShortListSize> shortList1{};
        std::array<int16_t, kShortListSize> shortList2{};
    };
    std::unique_ptr<Areas> areas_;
    std::atomic<uint8_t> txScanMark_{0};
};
