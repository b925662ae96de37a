// A parameter set of the controller: the fixed-length image exactly as the controller stores it,
// with its checksum, its transfer to and from the controller and the names of its files.
//
// Result codes of the image and file operations: 0 success, 11 no image, 12 file made for another
// controller type, 13 checksum mismatch, 14 file cannot be opened, 15 text or register file cannot
// be created, 16 block read failed, 17 block write failed or binary file cannot be created.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CController;

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

class CParam {
  public:
    // imageLength 0: a set without an image (the settings file).
    CParam(CController* owner, uint8_t kind, int imageLength);
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
    CController* Owner() const { return owner_; }
    // The names from the controller's project name and product number; false when the model name
    // the controller reported cannot give a project name.
    bool BuildFileNames(const ParamExtensions& ext);
    void BuildDefaultFileNames(const ParamExtensions& ext);
    std::string WorkingPath(const std::string& name) const;
    void SetFileNames(std::string text, std::string binary, std::string reg);
    // The binary file header for the current image, file checksum last.
    void FillFileHeader();

    uint8_t header_[64] = {};

  private:
    CController* owner_;
    uint8_t kind_;
    uint16_t transferLength_;
    uint16_t checksumSeed_ = 0x55;
    std::vector<uint8_t> image_;
    std::string binFileName_;
    std::string txtFileName_;
    std::string regFileName_;
    int dumped_ = 0;
};

// Logs that an operation is not provided by this version of the builder (error colour).
void ReportNotAvailable(const char* operation);
