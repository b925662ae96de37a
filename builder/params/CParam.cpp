#include "params/CParam.h"

#include <cstdio>

#include "device/CAPI.h"
#include "shell/BuilderLog.h"
#include "shell/Controller.h"

namespace {

constexpr int kHeadLength = 4;  // used length and checksum, not covered by the checksum

// The project name is the last four characters of the model name the controller reports.
bool ProjectName(const std::string& reportedModel, std::string& project) {
    if (reportedModel == "N/A" || reportedModel.size() < 4) return false;
    project = reportedModel.substr(reportedModel.size() - 4);
    return true;
}

std::string WithExtension(const std::string& stem, const char* ext) {
    return ext == nullptr || *ext == '\0' ? std::string() : stem + ext;
}

}  // namespace

void ReportNotAvailable(const char* operation) {
    MainLog().Printf(kColourError, kRouteBoth, "%s is not available in this version!\n", operation);
}

CParam::CParam(CController* owner, uint8_t kind, int imageLength)
    : owner_(owner),
      kind_(kind),
      transferLength_(static_cast<uint16_t>(imageLength)),
      // Until the first dump or load, the image holds what a failed dump would leave.
      image_(static_cast<std::size_t>(imageLength), 0xFF) {}

std::string CParam::GetBinFileName() {
    return binFileName_;
}
std::string CParam::GetTxtFileName() {
    return txtFileName_;
}
int CParam::GetImageVersion() {
    return Byte(4) * 10 + Byte(5);
}
int CParam::IsDumped() {
    return dumped_;
}

uint8_t CParam::Byte(int offset) const {
    return offset >= 0 && offset < ImageLength() ? image_[offset] : 0;
}

uint16_t CParam::Word(int offset) const {
    return static_cast<uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
}

void CParam::SetByte(int offset, uint8_t value) {
    if (offset >= 0 && offset < ImageLength()) image_[offset] = value;
}

void CParam::SetWord(int offset, uint16_t value) {
    SetByte(offset, static_cast<uint8_t>(value & 0xFF));
    SetByte(offset + 1, static_cast<uint8_t>(value >> 8));
}

uint16_t CParam::CalcCheckSum() {
    if (!HasImage()) return 0;
    const int used = Word(0);
    // A used length the image cannot hold never passes the check.
    if (used > ImageLength() - kHeadLength) return static_cast<uint16_t>(Word(2) + 1);
    uint16_t sum = checksumSeed_;
    for (int i = 0; i < used / 2; ++i) sum = static_cast<uint16_t>(sum + Word(kHeadLength + 2 * i));
    return sum;
}

int CParam::UpdateCheckSum() {
    const uint16_t sum = CalcCheckSum();
    SetWord(2, sum);
    return sum;
}

uint16_t CParam::CalcFileCheckSum() {
    uint16_t sum = 0x0EEF;
    for (int i = 6; i < 64; ++i) sum = static_cast<uint16_t>(sum + header_[i]);
    for (uint8_t b : image_) sum = static_cast<uint16_t>(sum + b);
    return sum;
}

int CParam::DumpFromDevice() {
    dumped_ = 0;
    const std::string path = WorkingPath(binFileName_);
    if (!HasImage()) {
        MainLog().Printf(kColourError, kRouteBoth, "Get Info: %s Failed!\n", path.c_str());
        return kParamNoImage;
    }
    std::fill(image_.begin(), image_.end(), 0xFF);
    if (!owner_->Api().ReadBlock(kind_, 0, transferLength_, image_.data())) {
        MainLog().Printf(kColourError, kRouteBoth, "Get Bin: %s Failed!\n", path.c_str());
        return kParamReadFailed;
    }
    if (CalcCheckSum() != Word(2)) {
        MainLog().Printf(kColourError, kRouteBoth, "Dump %s CRC Failed!\n", path.c_str());
        return kParamChecksum;
    }
    dumped_ = 1;
    return kParamOk;
}

int CParam::WriteToDevice() {
    const std::string path = WorkingPath(binFileName_);
    if (!HasImage()) {
        MainLog().Printf(kColourError, kRouteBoth, "Get Info: %s Failed!\n", path.c_str());
        return kParamNoImage;
    }
    if (CalcCheckSum() != Word(2)) {
        MainLog().Printf(kColourError, kRouteBoth, "%s CRC Failed!\n", binFileName_.c_str());
        return kParamChecksum;
    }
    if (!owner_->Api().WriteBlock(kind_, 0, transferLength_, image_.data(), 1)) {
        MainLog().Printf(kColourError, kRouteBoth, "Set Bin: %s Failed!\n", path.c_str());
        return kParamWriteFailed;
    }
    return kParamOk;
}

int CParam::LoadBinFile(const std::string&) {
    if (!HasImage()) {
        MainLog().Print(kColourError, kRouteBoth, "Get Bin Info Failed!\n");
        return kParamNoImage;
    }
    ReportNotAvailable("Loading a binary parameter file");
    return kParamNotAvailable;
}

int CParam::SaveBinFile() {
    if (!HasImage()) {
        MainLog().Print(kColourError, kRouteBoth, "Get Bin Info Failed!\n");
        return kParamNoImage;
    }
    ReportNotAvailable("Saving a binary parameter file");
    return kParamNotAvailable;
}

int CParam::ConvertScanType(unsigned scanType, int& mode) {
    static constexpr int kModeOfScanType[] = {0, 3, 1, 2, 4};
    if (scanType >= 5) {
        MainLog().Print(kColourError, kRouteBoth, "Scan Type Error!\n");
        return 0;
    }
    mode = kModeOfScanType[scanType];
    return 1;
}

std::string CParam::WorkingPath(const std::string& name) const {
    return owner_->Options().workingFolder + name;
}

void CParam::SetFileNames(std::string text, std::string binary, std::string reg) {
    txtFileName_ = std::move(text);
    binFileName_ = std::move(binary);
    regFileName_ = std::move(reg);
}

bool CParam::BuildFileNames(const ParamExtensions& ext) {
    std::string project;
    if (!ProjectName(owner_->ReportedModelName(), project)) return false;
    std::string stem = "GXXX_C000";
    if (!owner_->Options().fixedNameMode) {
        char number[8];
        std::snprintf(number, sizeof number, "_%04X", owner_->ProductNumber());
        stem = project + number;
    }
    SetFileNames(WithExtension(stem, ext.text), WithExtension(stem, ext.binary),
                 WithExtension(stem, ext.reg));
    return true;
}

void CParam::BuildDefaultFileNames(const ParamExtensions& ext) {
    const std::string stem =
        (owner_->Options().fixedNameMode ? std::string("GXXX") : owner_->ModelName()) + "_Default";
    SetFileNames(WithExtension(stem, ext.text), WithExtension(stem, ext.binary),
                 WithExtension(stem, ext.reg));
}
