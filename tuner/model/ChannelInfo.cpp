#include "model/ChannelInfo.h"

#include <algorithm>

namespace tuner {
namespace {

uint16_t WordAt(const InfoBlock& block, std::size_t offset) {
    return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

}  // namespace

void DecodeChannelRecord(const InfoBlock& record3, ChannelInfo& info) {
    info.leadRows1 = static_cast<int8_t>(record3[6]);
    info.leadRows2 = static_cast<int8_t>(record3[7]);
    info.leadRowSum = info.leadRows1 + info.leadRows2;
    info.txCount = record3[8];
    info.rxCount = record3[9];
    std::copy_n(record3.begin() + 10, info.calTargets.size(), info.calTargets.begin());
}

void DecodeChannelMapRecord(const InfoBlock& record4, ChannelInfo& info) {
    info.channelMapsValid = record4[5] != 0;
    std::copy_n(record4.begin() + 6, info.txChannelMap.size(), info.txChannelMap.begin());
    std::copy_n(record4.begin() + 26, info.rxChannelMap.size(), info.rxChannelMap.begin());
}

void DecodeInfoBlock(const InfoBlock& block, ChannelInfo& info) {
    info.sensorSizeX = WordAt(block, 2);
    info.sensorSizeY = WordAt(block, 4);
    info.kernelBuildDate = {block[16], block[17], block[18]};
    info.uniformityScale = block[19];
    info.calTargetOffset = block[21] & 0x01;
    for (std::size_t chip = 0; chip < info.txPins.size(); ++chip) {
        info.txPins[chip] = {block[25 + 2 * chip], block[26 + 2 * chip]};
        info.rxPins[chip] = {block[36 + 2 * chip], block[37 + 2 * chip]};
    }
}

std::optional<ChannelInfo> ReadChannelInfo(DevHandle handle) {
    ChannelInfo info;
    uint8_t unused[6] = {};
    devGetVersionBytes(handle, &info.kernelMajor, &unused[0], &unused[1], &unused[2], &unused[3],
                       &unused[4], &unused[5]);
    devGetKernelNumber(handle, &info.kernelMinor);

    InfoBlock answer{};
    if (!devQueryInfo(handle, 3, answer.data())) return std::nullopt;
    DecodeChannelRecord(answer, info);

    answer.fill(0);
    if (!devQueryInfo(handle, 4, answer.data())) return std::nullopt;
    DecodeChannelMapRecord(answer, info);

    answer.fill(0);
    if (!devGetPcapInfo(handle, answer.data())) return std::nullopt;
    DecodeInfoBlock(answer, info);
    return info;
}

}  // namespace tuner
