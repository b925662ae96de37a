#include "params/CParam.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "core/BuilderLog.h"
#include "device/CAPI.h"
#include "params/BinaryHeader.h"
#include "platform/LocalTime.h"

namespace {

constexpr int kHeadLength = 4;     // used length and checksum, not covered by the checksum
constexpr int kHeaderLength = 64;  // binary file header

// The project name is the last four characters of the model name the controller reports. It
// becomes part of file names, so characters that would leave the working folder or make an
// invalid name are refused.
bool ProjectName(const std::string& reportedModel, std::string& project) {
    if (reportedModel == "N/A" || reportedModel.size() < 4) return false;
    const std::string last = reportedModel.substr(reportedModel.size() - 4);
    for (const char c : last) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
    }
    project = last;
    return true;
}

std::string WithExtension(const std::string& stem, const char* ext) {
    return ext == nullptr || *ext == '\0' ? std::string() : stem + ext;
}

// Writes the whole content to a temporary file beside the target, then renames it over the
// target: a failed write never leaves a truncated or half-written file behind. The file system's
// rename replaces an existing target on every system (the C library's refuses to on Windows).
bool WriteFileWhole(const std::string& path, const std::string& content) {
    const std::string temporary = path + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    const bool closed = std::fclose(f) == 0;
    std::error_code renamed;
    if (written && closed) std::filesystem::rename(temporary, path, renamed);
    if (!written || !closed || renamed) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

CParam::CParam(ParamHost* host, uint8_t kind, int imageLength)
    : host_(host),
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
    return BinaryFileCheckSum(header_, image_);
}

int CParam::DumpFromDevice() {
    dumped_ = 0;
    const std::string path = WorkingPath(binFileName_);
    if (!HasImage()) {
        MainLog().Printf(kColourError, kRouteBoth, "Get Info: %s Failed!\n", path.c_str());
        return kParamNoImage;
    }
    std::fill(image_.begin(), image_.end(), 0xFF);
    if (!host_->Api().ReadBlock(kind_, 0, transferLength_, image_.data())) {
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
    if (!host_->Api().WriteBlock(kind_, 0, transferLength_, image_.data(), 1)) {
        MainLog().Printf(kColourError, kRouteBoth, "Set Bin: %s Failed!\n", path.c_str());
        return kParamWriteFailed;
    }
    return kParamOk;
}

int CParam::LoadBinFile(const std::string& path) {
    if (!HasImage()) {
        MainLog().Print(kColourError, kRouteBoth, "Get Bin Info Failed!\n");
        return kParamNoImage;
    }
    const std::string file = path.empty() ? WorkingPath(binFileName_) : path;
    // A folder or a device is no file to load (a device could also block or never end), the same
    // as a file that cannot be opened.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return kParamCannotOpen;
    std::ifstream in(file, std::ios::binary);
    if (!in) return kParamCannotOpen;
    // Read into copies: a file that is refused leaves the set as it was.
    BinaryHeader header{};
    std::vector<uint8_t> image(image_.size());
    in.read(reinterpret_cast<char*>(header.data()), kHeaderLength);
    const bool headerComplete = in.gcount() == kHeaderLength;
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    const bool imageComplete = in.gcount() == static_cast<std::streamsize>(image.size());
    if (headerComplete) {
        // A file of another set (a stylus file has the hardware file's length) is not this set's.
        if (HeaderTypeCode(header) != host_->TypeCode() || header[60] != kind_) {
            MainLog().Print(kColourError, kRouteBoth, "Controller Type Incorrect!\n");
            return kParamWrongType;
        }
    }
    if (!headerComplete || !imageComplete ||
        BinaryFileCheckSum(header, image) != HeaderCheckSum(header)) {
        MainLog().Printf(kColourError, kRouteBoth, "%s CRC Failed!\n", file.c_str());
        return kParamChecksum;
    }
    header_ = header;
    image_ = std::move(image);
    MainLog().Printf(kColourNormal, kRouteBoth, "Load %s Success!\n", file.c_str());
    return kParamOk;
}

int CParam::SaveBinFile() {
    if (!HasImage()) {
        MainLog().Print(kColourError, kRouteBoth, "Get Bin Info Failed!\n");
        return kParamNoImage;
    }
    if (CalcCheckSum() != Word(2)) {
        MainLog().Printf(kColourError, kRouteBoth, "%s CRC Failed!\n", binFileName_.c_str());
        return kParamChecksum;
    }
    FillFileHeader();
    const std::string path = WorkingPath(binFileName_);
    std::string content(reinterpret_cast<const char*>(header_.data()), kHeaderLength);
    content.append(reinterpret_cast<const char*>(image_.data()), image_.size());
    if (!WriteFileWhole(path, content)) {
        MainLog().Printf(kColourError, kRouteBoth, "Write %s failed!\n", path.c_str());
        return kParamWriteFailed;
    }
    MainLog().Printf(kColourNormal, kRouteBoth, "Write %s success!\n", path.c_str());
    return kParamOk;
}

void CParam::StampWriterVersion(uint8_t structMajor, uint8_t structMinor) {
    constexpr uint8_t kTunerMajor = 1, kTunerMinor = 2, kTunerBuild = 18;
    if (!host_->Options().fixed.keepVersion) {
        SetByte(4, structMajor);
        SetByte(5, structMinor);
    }
    SetByte(6, kTunerMajor);
    SetByte(7, kTunerMinor);
    SetByte(8, kTunerBuild);
}

bool CParam::StampWriterVersionForSave(uint8_t structMajor, uint8_t structMinor) {
    if (CalcCheckSum() != Word(2)) return false;
    StampWriterVersion(structMajor, structMinor);
    UpdateCheckSum();
    return true;
}

void CParam::FillFileHeader() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = platform::LocalTime(now);
    header_ = MakeBinaryHeader(kind_, host_->TypeCode(), image_, local);
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
    return host_->Options().folders.workingFolder + name;
}

void CParam::SetFileNames(std::string text, std::string binary, std::string reg) {
    txtFileName_ = std::move(text);
    binFileName_ = std::move(binary);
    regFileName_ = std::move(reg);
}

bool CParam::BuildFileNames(const ParamExtensions& ext) {
    std::string project;
    if (!ProjectName(host_->ReportedModelName(), project)) return false;
    std::string stem = "GXXX_C000";
    if (!host_->Options().fixed.fixedName) {
        char number[8];
        std::snprintf(number, sizeof number, "_%04X", host_->ProductNumber());
        stem = project + number;
    }
    SetFileNames(WithExtension(stem, ext.text), WithExtension(stem, ext.binary),
                 WithExtension(stem, ext.reg));
    return true;
}

void CParam::BuildDefaultFileNames(const ParamExtensions& ext) {
    const std::string stem =
        (host_->Options().fixed.fixedName ? std::string("GXXX") : host_->ModelName()) + "_Default";
    SetFileNames(WithExtension(stem, ext.text), WithExtension(stem, ext.binary),
                 WithExtension(stem, ext.reg));
}

void CParam::StampVersions(uint8_t major, uint8_t minor) {
    if (!host_->Options().fixed.keepVersion) {
        SetByte(4, major);
        SetByte(5, minor);
    }
    SetByte(6, 1);
    SetByte(7, 2);
    SetByte(8, 18);
}
