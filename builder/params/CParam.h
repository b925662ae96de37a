// A parameter set of the controller: the fixed-length image exactly as the controller stores it,
// with its checksum, its transfer to and from the controller and the names of its files.
//
// Result codes of the image and file operations: 0 success, 11 no image, 12 file made for another
// controller type, 13 checksum mismatch, 14 file cannot be opened, 15 text or register file cannot
// be created, 16 block read failed, 17 block write failed or binary file cannot be created.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "params/ParamHost.h"
class CParamFile;

enum ParamResult : int {
    kParamOk = 0,
    kParamNoImage = 11,
    kParamWrongType = 12,
    kParamChecksum = 13,
    kParamCannotOpen = 14,
    kParamCannotCreateText = 15,
    kParamReadFailed = 16,
    kParamWriteFailed = 17,
    // An operation this version of the builder does not provide yet; it logs why.
    kParamNotAvailable = 99,
};

// Extensions of a set's files; an empty extension means the set has no such file.
struct ParamExtensions {
    const char* text;
    const char* binary;
    const char* reg;
};

// The head of a set's text or register file and what loading one checks.
struct ParamFileFrame {
    const char* extension;   // ".hwt": a path must contain it (compared with case)
    const char* title;       // header section, "%s hardware parameter file" with the model label
    const char* crcMessage;  // refusal of a save whose image checksum is stale, "HWB CRC Failed!\n"
    int usedLength;          // stored into image bytes 0-1 before a load reads any item
};

// Where the mode images (register images of the sensing chip) of a register file lie: frequency f,
// group g at firstOffset + frequencyStride * f + regImageSize * g.
struct RegisterFileLayout {
    int firstOffset;
    int frequencyStride;
    int maxFrequencies;  // bound of the set's stored frequency count
    std::span<const char* const> groups;
};

class CParam {
  public:
    // Reads or writes the set's own sections of an open text file.
    using FileSections = std::function<void(CParamFile&)>;

    // imageLength 0: a set without an image (the settings file).
    CParam(ParamHost* host, uint8_t kind, int imageLength);
    virtual ~CParam() = default;
    CParam(const CParam&) = delete;
    CParam& operator=(const CParam&) = delete;

    virtual std::string GetBinFileName();
    virtual std::string GetTxtFileName();
    virtual int GetImageVersion();
    virtual int UpdateCheckSum();
    virtual uint16_t CalcFileCheckSum();
    virtual uint16_t CalcCheckSum();
    virtual int DumpFromDevice();
    virtual int WriteToDevice();
    virtual int LoadBinFile(const std::string& path);
    virtual int SaveBinFile();
    virtual int ConvertScanType(unsigned scanType, int& mode);
    virtual int IsDumped();

    virtual int GetAppParamVersion() = 0;
    virtual int GetParamVersion() = 0;
    virtual int InitFileName() = 0;
    virtual int InitDefaultFileName() = 0;
    virtual int LoadDefault() = 0;
    virtual int LoadTxtFile() = 0;
    virtual int SaveTxtFile() = 0;
    virtual int LoadRegFile() = 0;
    virtual int SaveRegFile() = 0;

    std::string GetRegFileName() const { return regFileName_; }
    bool HasImage() const { return !image_.empty(); }
    uint8_t* Image() { return image_.data(); }
    const uint8_t* Image() const { return image_.data(); }
    int ImageLength() const { return static_cast<int>(image_.size()); }
    uint8_t Kind() const { return kind_; }

    // Little-endian fields of the image; offsets outside the image read 0 and write nothing.
    uint8_t Byte(int offset) const;
    uint16_t Word(int offset) const;
    void SetByte(int offset, uint8_t value);
    void SetWord(int offset, uint16_t value);

  protected:
    ParamHost* Host() const { return host_; }
    // The names from the controller's project name and product number; false when the model name
    // the controller reported cannot give a project name.
    bool BuildFileNames(const ParamExtensions& ext);
    void BuildDefaultFileNames(const ParamExtensions& ext);
    std::string WorkingPath(const std::string& name) const;
    void SetFileNames(std::string text, std::string binary, std::string reg);
    // The binary file header for the current image, file checksum last.
    void FillFileHeader();
    // The version bytes of a set written by this program: the tuner version (1.2, build 18) and,
    // unless the keep-version mode is on, the set's own version in bytes 4 and 5.
    void StampVersions(uint8_t major, uint8_t minor);

    // The common frame of text and register files. commandLinePath is the file named on the
    // command line for this kind of file: a load uses it instead of the working-folder file and
    // clears it, so it serves one load. Loads return false with their message logged; a load that
    // fails after reading began leaves the fields read so far changed and the checksum stale.
    bool LoadTextFrame(const ParamFileFrame& frame, std::string& commandLinePath,
                       const FileSections& readSections);
    // The header section is written at the basic level; a set whose file shows it only in full
    // output names the level.
    int SaveTextFrame(const ParamFileFrame& frame, const FileSections& writeSections);
    int SaveTextFrame(const ParamFileFrame& frame, const FileSections& writeSections,
                      int headerLevel);
    bool LoadRegisterFrame(const ParamFileFrame& frame, std::string& commandLinePath,
                           const RegisterFileLayout& layout, int frequencies);
    int SaveRegisterFrame(const ParamFileFrame& frame, const RegisterFileLayout& layout,
                          int frequencies);
    // The header section of a text or register file, "[title]" and ControllerType.
    std::string FrameSection(const ParamFileFrame& frame) const;

    // The version bytes of a set that this program writes, by LoadDefault and SaveTxtFile alike:
    // the set's structure version into bytes 4 and 5 unless in keep-version mode, and this
    // program's tuner version 1.2 build 18 into bytes 6 to 8. The checksum is not renewed here.
    void StampWriterVersion(uint8_t structMajor, uint8_t structMinor);
    // SaveTxtFile's use of it: an image whose checksum is current is stamped and its checksum
    // renewed (true); a stale one is left as it is, for the text frame to refuse (false).
    bool StampWriterVersionForSave(uint8_t structMajor, uint8_t structMinor);

    std::array<uint8_t, 64> header_{};

  private:
    bool StartLoad(const ParamFileFrame& frame, CParamFile& file);
    std::span<uint8_t> ModeImage(const RegisterFileLayout& layout, int frequency,
                                 std::size_t group);

    ParamHost* host_;
    uint8_t kind_;
    uint16_t transferLength_;
    uint16_t checksumSeed_ = 0x55;
    std::vector<uint8_t> image_;
    std::string binFileName_;
    std::string txtFileName_;
    std::string regFileName_;
    int dumped_ = 0;
};

// The 68 raw items of a register image in a register file, "REG(0x%02X) = 0x%02X", read only.
void WriteRawRegisterItems(CParamFile& file, std::string_view section,
                           std::span<const uint8_t> image);
