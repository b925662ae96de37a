// The measurement workspace: the areas the device library's thread fills from measurement reports,
// and the event it signals when the awaited data is complete. The main thread clears the areas
// before it subscribes, waits for the event with a time-out, and reads the areas only afterwards.
//
// Two reads fill the frame area: a whole image frame (AcquireFrame, one Tx line per row and one Rx
// channel per column) and a burst of AFE sample rows (AcquireAfeSamples, one sample per row). Once
// the awaited data is complete the handler takes nothing more until the next read re-arms it, so
// later frames of the stream never overwrite what the caller is about to read.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include <devlink/devlink.h>

class DiagHost;

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
    // A frame read waits in periods of this length, and gives up after kFrameWaits of them.
    static constexpr std::chrono::milliseconds kWaitPeriod{30000};
    static constexpr int kFrameWaits = 3;

    explicit CTuneData(DiagHost* host);
    ~CTuneData();
    CTuneData(const CTuneData&) = delete;
    CTuneData& operator=(const CTuneData&) = delete;

    // Zeroes every area and the Tx-scan mark.
    void ClearAreas();
    // Ends both subscriptions; returns only when no handler of them is running.
    void Unsubscribe();

    CAutoResetEvent& DataEvent() { return dataEvent_; }

    // ---- Reads -------------------------------------------------------------------------------
    // Switches to the image mode, waits for one complete frame, switches back to command mode.
    // True when a frame arrived and command mode was restored. Gives up after kFrameWaits
    // periods without a frame, or at once when the controller is disconnected.
    bool AcquireFrame(uint16_t mode);
    // Requests GetSinTableLength(image) AFE sample rows at the gain and waits one period for
    // them; scan type 3 (water-line Tx) reads along the Tx axis.
    bool AcquireAfeSamples(int afeGain, int scanType, std::span<const uint8_t> image);

    // ---- Dumps to the test log -----------------------------------------------------------------
    // The frame area as CSV, Tx lines across and Rx channels down, within the channel counts.
    void DumpFrameCsv(int lastTxColumn, int lastRxRow);
    // 0 when the test frequency is selected, 1 when it is not; index gets the frequency selected.
    int SelectTestFrequency();
    int SelectTestFrequency(int& index);
    // The frequency the last successful selection chose; -1 before any.
    int SelectedTestFrequency() const { return selectedFrequency_; }
    // 0, 1 (test image not written) or 6 (no frame).
    int DumpRaw16(int frequencyIndex);
    int DumpPhase();  // always 0
    // The phase the dump prints for an I and a Q value, in degrees (90.003 for Q = 0, plus 180
    // for a negative I).
    static double PhaseDegrees(int i, int q);
    bool CheckFlat();
    // Copies the hardware set as first read over its working image; false, copying nothing, when
    // there is no good first read.
    bool RestoreFirstRead();

    // ---- The areas (read after a read returned) -------------------------------------------------
    // 0 outside the area.
    int16_t FrameValue(int row, int column) const;
    // A test that reduces frames leaves its result in the frame area for the CSV dump; a cell
    // outside the area is ignored.
    void SetFrameValue(int row, int column, int16_t value);
    bool Received(int row, int column) const;
    uint8_t TxScanMark() const { return txScanMark_.load(); }

    // The report handlers' work, also for tests that feed reports by hand after arming a read.
    void ArmFrame();
    void ArmSamples(int rows, bool txAxis);
    void OnFrameReport(const DevReport& report);
    void OnSampleReport(const DevReport& report);
    // Shorter waits for tests of the time-outs.
    void SetWaitPeriod(std::chrono::milliseconds period) { waitPeriod_ = period; }

  private:
    bool Subscribe(DevReportHandler handler);
    // Waits up to one period for the data event; false at once when the controller is gone.
    bool WaitForData();
    // Stores the values of one report at (row - lead, first column ...); the stored row, or -1
    // when the report is skipped. valueCount gets the number of values the report carries.
    int StoreReport(const DevReport& report, int& firstColumn, int& valueCount);
    bool FrameComplete(int txCount, int rxCount) const;
    void AppendFrameCsv(const char* title);

    DiagHost* host_;
    DevSubscription imageSubscription_ = nullptr;
    DevSubscription shortSubscription_ = nullptr;
    CAutoResetEvent dataEvent_;
    std::chrono::milliseconds waitPeriod_ = kWaitPeriod;

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
    std::atomic<bool> complete_{true};  // nothing is awaited until a read arms the handler
    std::atomic<int> sampleRows_{0};
    int selectedFrequency_ = -1;
};
