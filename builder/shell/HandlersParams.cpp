// Handlers that move parameter sets between the controller and files.
#include "core/ModelTable.h"
#include "shell/HandlersSteps.h"

namespace handlers {

using namespace steps;

namespace {

uint32_t Or(uint32_t base, int code) {
    return base | static_cast<uint32_t>(code);
}

uint32_t Convert(CHandlerOps& ops, ParamKind set, uint32_t base) {
    if (int c = ops.LoadBinFile(set)) return Or(base, c);
    if (int c = ops.SaveTxtFile(set)) return Or(base, c);
    return 0;
}

uint32_t DumpOne(CHandlerOps& ops, ParamKind set, uint32_t base) {
    if (int c = ops.DumpFromDevice(set)) return Or(base, c);
    if (int c = ops.SaveBinFile(set)) return Or(base, c);
    if (int c = ops.SaveTxtFile(set)) return Or(base, c);
    return 0;
}

// Switches to the write mode and writes the loaded set.
uint32_t WriteSet(CHandlerOps& ops, ParamKind set, uint32_t base) {
    if (uint32_t r = SwitchTo(ops, kModeWriteSet, base)) return r;
    if (int c = ops.WriteToDevice(set)) return Or(base, c);
    return 0;
}

// After a hardware set was written: the uniformity table, unless the firmware reported trouble.
uint32_t AfterHardwareWrite(CHandlerOps& ops, uint32_t base) {
    if (uint32_t r = ErrorFlagStop(ops)) return r;
    return UniformityTable(ops, base);
}

constexpr uint32_t kPenSetMissing = 0x01000000;

// A stylus file goes nowhere on a controller that keeps no stylus set.
uint32_t RequirePenSet(CHandlerOps& ops) {
    if (ops.EnsurePenSet()) return 0;
    ops.ReportNoPenSet();
    return kPenSetMissing;
}

}  // namespace

uint32_t ConvertHbt(CHandlerOps& ops) {
    return Convert(ops, ParamKind::Hw, 0x01000000);
}
uint32_t ConvertSbt(CHandlerOps& ops) {
    return Convert(ops, ParamKind::Sw, 0x02000000);
}
uint32_t ConvertPbt(CHandlerOps& ops) {
    return Convert(ops, ParamKind::Pen, 0x03000000);
}

uint32_t DumpHw(CHandlerOps& ops) {
    return DumpOne(ops, ParamKind::Hw, 0x04000000);
}
uint32_t DumpSw(CHandlerOps& ops) {
    return DumpOne(ops, ParamKind::Sw, 0x05000000);
}
uint32_t DumpPw(CHandlerOps& ops) {
    return DumpOne(ops, ParamKind::Pen, 0x06000000);
}

uint32_t DumpAll(CHandlerOps& ops) {
    constexpr uint32_t base = 0x07000000;
    auto step = [&](uint32_t stepCode, int c) { return c != 0 ? Or(base | stepCode, c) : 0u; };
    if (uint32_t r = step(0x10000, ops.DumpFromDevice(ParamKind::Hw))) return r;
    if (uint32_t r = step(0x20000, ops.SaveTxtFile(ParamKind::Hw))) return r;
    if (uint32_t r = step(0x30000, ops.SaveBinFile(ParamKind::Hw))) return r;
    if (uint32_t r = step(0x50000, ops.DumpFromDevice(ParamKind::Sw))) return r;
    if (uint32_t r = step(0x60000, ops.SaveTxtFile(ParamKind::Sw))) return r;
    if (uint32_t r = step(0x70000, ops.SaveBinFile(ParamKind::Sw))) return r;
    // The stylus set is read whenever the hardware set uses one; its files only for research.
    if (ops.EnsurePenSet() && ops.Options().fixed.research) {
        if (uint32_t r = step(0x80000, ops.DumpFromDevice(ParamKind::Pen))) return r;
        if (uint32_t r = step(0x90000, ops.SaveTxtFile(ParamKind::Pen))) return r;
        if (uint32_t r = step(0xA0000, ops.SaveBinFile(ParamKind::Pen))) return r;
    }
    return step(0xC0000, ops.SaveTxtFile(ParamKind::Ini));
}

uint32_t DumpDef(CHandlerOps& ops) {
    constexpr uint32_t base = 0x08000000;
    for (ParamKind set : {ParamKind::Hw, ParamKind::Sw, ParamKind::Pen}) {
        if (ops.InitDefaultFileName(set) != 0) return base;
    }
    // The hardware set's LoadDefault reports failure as nonzero, the other two as zero.
    if (ops.LoadDefault(ParamKind::Hw) != 0) return base;
    if (int c = ops.SaveTxtFile(ParamKind::Hw)) return Or(base | 0x20000, c);
    if (int c = ops.SaveBinFile(ParamKind::Hw)) return Or(base | 0x30000, c);
    if (ops.LoadDefault(ParamKind::Sw) == 0) return base;
    if (int c = ops.SaveTxtFile(ParamKind::Sw)) return Or(base | 0x60000, c);
    if (int c = ops.SaveBinFile(ParamKind::Sw)) return Or(base | 0x70000, c);
    if (ops.LoadDefault(ParamKind::Pen) == 0) return base;
    if (!ops.Options().fixed.research) return 0;
    if (int c = ops.SaveTxtFile(ParamKind::Pen)) return Or(base | 0x90000, c);
    if (int c = ops.SaveBinFile(ParamKind::Pen)) return Or(base | 0xA0000, c);
    return 0;
}

uint32_t DumpAllDef(CHandlerOps& ops) {
    for (const ModelRow& row : SupportedModels()) {
        if (auto model = ops.ForDefaultModel(row.typeCode)) DumpDef(*model);  // result not used
    }
    return 0;
}

uint32_t DownloadHw(CHandlerOps& ops) {
    constexpr uint32_t base = 0x09000000;
    if (int c = ops.LoadBinFile(ParamKind::Hw)) return Or(base, c);
    if (uint32_t r = WriteSet(ops, ParamKind::Hw, base)) return r;
    return AfterHardwareWrite(ops, base);
}

uint32_t DownloadHwt(CHandlerOps& ops) {
    constexpr uint32_t base = 0x0A000000;
    if (!ops.LoadTxtFile(ParamKind::Hw)) return base + 1;
    if (uint32_t r = WriteSet(ops, ParamKind::Hw, base)) return r;
    return AfterHardwareWrite(ops, base);
}

uint32_t DownloadHwr(CHandlerOps& ops) {
    constexpr uint32_t base = 0x0B000000;
    if (!ops.LoadRegFile(ParamKind::Hw)) return base + 1;
    if (uint32_t r = WriteSet(ops, ParamKind::Hw, base)) return r;
    return AfterHardwareWrite(ops, base);
}

uint32_t DownloadSw(CHandlerOps& ops) {
    constexpr uint32_t base = 0x0C000000;
    if (int c = ops.LoadBinFile(ParamKind::Sw)) return Or(base, c);
    return WriteSet(ops, ParamKind::Sw, base);
}

uint32_t DownloadSwt(CHandlerOps& ops) {
    constexpr uint32_t base = 0x0D000000;
    if (!ops.LoadTxtFile(ParamKind::Sw)) return base + 1;
    if (ops.PrepareForDownload() != 0) return base;
    return WriteSet(ops, ParamKind::Sw, base);
}

uint32_t DownloadPw(CHandlerOps& ops) {
    constexpr uint32_t base = 0x0E000000;
    if (int c = ops.LoadBinFile(ParamKind::Pen)) return Or(base, c);
    return WriteSet(ops, ParamKind::Pen, base);
}

uint32_t DownloadPwt(CHandlerOps& ops) {
    constexpr uint32_t base = 0x0F000000;
    if (uint32_t r = RequirePenSet(ops)) return r;
    if (!ops.LoadTxtFile(ParamKind::Pen)) return base + 1;
    return WriteSet(ops, ParamKind::Pen, base);
}

uint32_t DownloadPwr(CHandlerOps& ops) {
    constexpr uint32_t base = 0x01000000;  // shared with convert_hbt; callers rely on it
    if (uint32_t r = RequirePenSet(ops)) return r;
    if (!ops.LoadRegFile(ParamKind::Pen)) return base + 1;
    return WriteSet(ops, ParamKind::Pen, base);
}

}  // namespace handlers
