// The controller's firmware: answers each command of the command channel from its state
// (identity, working mode, storage, chip registers, frequency) and says which reports to stream.
#pragma once

#include <string>

#include "ChipBanks.h"
#include "Panel.h"
#include "Storage.h"
#include "Streams.h"
#include "TouchScript.h"

namespace sim {

// The operation's name in profiles and in the trace ("switch_mode"); empty when unknown.
std::string opName(uint8_t op);

struct Outcome {
    uint8_t status = 0;         // devproto::Status
    Bytes data;                 // the reply's result bytes
    Reports reports;            // reports sent right after the reply (bursts, short-test data)
    bool stopsStreams = false;  // queued streamed reports of the old mode are dropped
    std::string trace;          // the arguments, for the trace line
};

class Firmware {
  public:
    Firmware(const Profile& profile, std::string statePath, std::string truthPath = {});

    Outcome execute(uint8_t op, const uint8_t* args, const Bytes& bulk);
    Report icInfo() const;

    // The stream of the current mode: 0 when nothing streams, else the pause between bursts.
    bool streaming() const;
    int streamIntervalMs() const;
    void appendStreamBurst(Reports& out);

    uint16_t mode() const { return mode_; }

  private:
    Outcome text(const std::string& value) const;
    Outcome versionBytes() const;
    Outcome switchMode(uint16_t mode);
    Outcome restart(uint16_t mode);
    Outcome pcapInfo() const;
    Outcome frequencyTable() const;
    Outcome queryInfo(int index) const;
    Outcome reportInfo() const;
    Outcome errorCode() const;
    Outcome setFrequency(uint8_t index);
    Outcome setTestMode(uint8_t first, uint8_t last);
    Outcome shortTest(uint8_t code) const;
    Outcome requestImage(uint8_t rows) const;
    Outcome setReportImage(const uint8_t* args);
    bool hasStylusSet() const;
    Outcome readBlock(const uint8_t* args) const;
    Outcome writeBlock(const uint8_t* args, const Bytes& bulk);
    Outcome readRegisters(const uint8_t* args) const;
    Outcome writeRegisters(const uint8_t* args, const Bytes& bulk);
    Outcome thresholdMode(bool pen, uint8_t op, uint8_t value);
    uint32_t errorWord() const;
    void enterMode(uint16_t mode);

    double frequencyOf(int block) const;
    void writeTruth();
    // The key values after a frame's last row and the list burst, when the panel has them.
    void appendTunerExtras(Reports& out);
    int tx() const { return hw::txCount(storage_.ram()); }
    int rx() const { return hw::rxCount(storage_.ram()); }

    Profile profile_;
    Storage storage_;
    ChipBanks banks_;
    Panel panel_;
    std::string truthPath_;
    int framesSent_ = 0;  // of the current image stream
    uint16_t mode_ = 0;
    uint8_t freqIndex_ = 0;
    uint8_t clock_ = 0;
    uint8_t testFirst_ = 255, testLast_ = 255;
    bool txAxis_ = false;
    int infoReport_ = 0;
    uint8_t touchThreshold_ = 0, penThreshold_ = 0;
    Window window_;
    TouchPlayer touch_;  // the scripted hand, played in the touch modes
};

}  // namespace sim
