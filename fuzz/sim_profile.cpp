// A simulated controller's profile file. A profile the parser accepts has every value inside the
// range the profile format states, and a controller made from it starts and answers its identity,
// information, block and register requests without fault; a refused one says why.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "devlink_protocol.h"
#include "sim/Controller.h"
#include "sim/Profile.h"

namespace {

using namespace devproto;

void ExpectInRanges(const sim::Profile& p) {
    fuzz::Expect(p.typeCode >= 0 && p.typeCode <= 255, "type code");
    fuzz::Expect(p.controllers >= 0 && p.controllers <= 2, "controller count");
    fuzz::Expect(p.inputLength >= 1 && p.inputLength <= 1024, "report length");
    fuzz::Expect(p.chipCount >= 1 && p.chipCount <= 4, "chip count");
    for (const std::string* text : {&p.modelName, &p.typeName, &p.versionText, &p.subName})
        fuzz::Expect(text->size() <= 63, "an identity text longer than 63 characters");
    fuzz::Expect(p.frameIntervalMs >= 0 && p.frameIntervalMs <= 10000, "frame interval");
    fuzz::Expect(p.infoIntervalMs >= 0 && p.infoIntervalMs <= 10000, "information interval");
    fuzz::Expect(p.faults.disconnectAfter >= 0 && p.faults.disconnectAfter <= 1000000,
                 "disconnect_after");
    for (const sim::RegisterFault& r : p.faults.registers)
        fuzz::Expect(r.chip >= 0 && r.chip <= 3 && r.bank >= 0 && r.bank <= 3 && r.reg >= 0 &&
                         r.reg <= 1023 && r.flipBit >= -1 && r.flipBit <= 7,
                     "a register fault out of range");
    for (const auto& [type, count] : p.faults.shortRead)
        fuzz::Expect(type >= 0 && type <= 3 && count <= 32768, "a short_read out of range");
    for (int type : p.faults.badChecksum) fuzz::Expect(type >= 0 && type <= 3, "bad_checksum");
    for (int type : p.faults.refusedWrites) fuzz::Expect(type >= 0 && type <= 3, "refuse_write");
    for (int chip : p.faults.registerReadFails)
        fuzz::Expect(chip >= 0 && chip <= 3, "register_read_fails");
}

std::array<uint8_t, kReportSize> Command(Op op, uint8_t sequence, std::vector<uint8_t> args) {
    std::array<uint8_t, kReportSize> report{};
    report[0] = kReportId;
    report[1] = static_cast<uint8_t>(3 + args.size());
    report[2] = kKindCommand;
    report[3] = op;
    report[4] = sequence;
    std::copy(args.begin(), args.end(), report.begin() + kCommandArgOffset);
    return report;
}

// Every report the controller queued is well formed.
void DrainReplies(sim::Controller& controller) {
    std::array<uint8_t, kReportSize> report{};
    while (controller.read(report.data(), std::chrono::milliseconds(0)) == sim::ReadStatus::Ok) {
        fuzz::Expect(report[0] == kReportId, "a reply with another report id");
        fuzz::Expect(report[1] >= 2 && report[1] <= kMaxCount, "a reply with a malformed count");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::EnterScratchFolder();
    std::string error;
    const auto profile =
        sim::parseProfile(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!profile) {
        fuzz::Expect(!error.empty(), "a refused profile without a reason");
        return 0;
    }
    ExpectInRanges(*profile);

    sim::Controller controller(*profile, sim::Options{});
    uint8_t sequence = 0;
    for (Op op : {kOpModelName, kOpTypeName, kOpVersionText, kOpModelSubName, kOpStructVersion,
                  kOpKernelNumber, kOpPcapInfo, kOpFrequencyTable, kOpReportInfo, kOpErrorCode})
        controller.write(Command(op, ++sequence, {}).data());
    DrainReplies(controller);
    for (uint8_t type = 0; type < 4; ++type) {
        // Type, offset 0, the whole block.
        controller.write(
            Command(kOpReadBlock, ++sequence, {type, 0, 0, 0, 0, 0, 0x10, 0, 0}).data());
        DrainReplies(controller);
    }
    for (uint8_t chip = 0; chip < 4; ++chip) {
        controller.write(Command(kOpReadRegisters, ++sequence, {chip, 0, 0, 0, 68, 0}).data());
        DrainReplies(controller);
    }
    controller.close(true);
    return 0;
}
