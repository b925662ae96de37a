// The frame every set's text and register files share: the header section with the controller
// type, the file-name and type checks of a load, and the checksum and safe-save rules of a save.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "chips/CSlave.h"
#include "core/BuilderLog.h"
#include "files/CParamFile.h"
#include "params/CParam.h"

namespace {

constexpr int kModeImageSize = 68;  // one register image of the sensing chip
constexpr char kTypeKey[] = "ControllerType";

std::string Bracketed(const std::string& section) {
    return "[" + section + "]";
}

std::string RegisterSection(int frequency, const char* group) {
    char name[96];
    std::snprintf(name, sizeof name, "Freq-%d %s Reg Parameters", frequency, group);
    return name;
}

// The command-line name serves one load; the working-folder file serves every other.
std::string TakeLoadPath(std::string& commandLinePath, const std::string& workingPath) {
    if (commandLinePath.empty()) return workingPath;
    std::string path;
    path.swap(commandLinePath);
    return path;
}

}  // namespace

void WriteRawRegisterItems(CParamFile& file, std::string_view section,
                           std::span<const uint8_t> image) {
    for (std::size_t j = 0; j < image.size(); ++j) {
        char key[16];
        char value[8];
        std::snprintf(key, sizeof key, "REG(0x%02X)", static_cast<unsigned>(j));
        std::snprintf(value, sizeof value, "0x%02X", image[j]);
        file.WriteItem(value, kLevelDetail, section, key, "", "Read Only");
    }
}

std::string CParam::FrameSection(const ParamFileFrame& frame) const {
    char section[160];
    std::snprintf(section, sizeof section, frame.title, host_->ModelName().c_str());
    return section;
}

// Opens the file a load reads: the extension and existence checks, the used length and the
// controller type of the header section. Null (with the message logged) when the load must stop.
static std::unique_ptr<CParamFile> OpenForLoad(const ParamFileFrame& frame, const std::string& path,
                                               bool announce) {
    if (!HasFileKind(path, frame.extension)) {
        MainLog().Printf(kColourError, kRouteBoth, "File Name: %s Error!\n", path.c_str());
        return nullptr;
    }
    auto file = std::make_unique<CParamFile>(path);
    if (!file->Exists()) {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Load File: %s\n", path.c_str());
        return nullptr;
    }
    if (announce) MainLog().Printf(kColourNormal, kRouteBoth, "Load %s success.\n", path.c_str());
    return file;
}

bool CParam::StartLoad(const ParamFileFrame& frame, CParamFile& file) {
    SetWord(0, static_cast<uint16_t>(frame.usedLength));
    int32_t type = -1;
    file.ReadItem(FrameSection(frame), kTypeKey, type);
    if (type != host_->TypeCode()) {
        MainLog().Print(kColourError, kRouteBoth, "Controller Type Incorrect!\n");
        return false;
    }
    return true;
}

bool CParam::LoadTextFrame(const ParamFileFrame& frame, std::string& commandLinePath,
                           const FileSections& readSections) {
    const std::string path = TakeLoadPath(commandLinePath, WorkingPath(txtFileName_));
    std::unique_ptr<CParamFile> file = OpenForLoad(frame, path, true);
    if (!file || !StartLoad(frame, *file)) return false;
    readSections(*file);
    UpdateCheckSum();
    return true;
}

// Writes the file through a temporary file: the previous file stays until the new one is whole.
static int SaveFrame(CParam& set, const ParamFileFrame& frame, const std::string& path,
                     const std::string& headerSection, int typeCode, int headerLevel,
                     const CParam::FileSections& writeSections) {
    if (set.CalcCheckSum() != set.Word(2)) {
        MainLog().Print(kColourError, kRouteBoth, frame.crcMessage);
        return kParamChecksum;
    }
    CParamFile file(path);
    if (!file.OpenWrite()) {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Create File: %s\n", path.c_str());
        return kParamCannotCreateText;
    }
    file.WriteLine(Bracketed(headerSection), headerLevel);
    file.WriteItem(static_cast<int32_t>(typeCode), headerLevel, headerSection, kTypeKey, "",
                   "read only");
    file.WriteLine("", headerLevel);
    writeSections(file);
    set.UpdateCheckSum();  // ranged items may have stored their defaults
    if (!file.Close()) {
        MainLog().Printf(kColourError, kRouteBoth, "Cannot Create File: %s\n", path.c_str());
        return kParamCannotCreateText;
    }
    MainLog().Printf(kColourNormal, kRouteBoth, "Write %s success!\n", path.c_str());
    return kParamOk;
}

int CParam::SaveTextFrame(const ParamFileFrame& frame, const FileSections& writeSections) {
    return SaveTextFrame(frame, writeSections, kLevelBasic);
}

int CParam::SaveTextFrame(const ParamFileFrame& frame, const FileSections& writeSections,
                          int headerLevel) {
    return SaveFrame(*this, frame, WorkingPath(txtFileName_), FrameSection(frame),
                     host_->TypeCode(), headerLevel, writeSections);
}

bool CParam::LoadRegisterFrame(const ParamFileFrame& frame, std::string& commandLinePath,
                               const RegisterFileLayout& layout, int frequencies) {
    const std::string path = TakeLoadPath(commandLinePath, WorkingPath(regFileName_));
    std::unique_ptr<CParamFile> file = OpenForLoad(frame, path, false);
    if (!file || !StartLoad(frame, *file)) return false;
    const int count = std::clamp(frequencies, 0, layout.maxFrequencies);
    for (int f = 0; f < count; ++f) {
        for (std::size_t g = 0; g < layout.groups.size(); ++g) {
            const std::span<uint8_t> mode = ModeImage(layout, f, g);
            if (!host_->Chip().LoadRegSection(*file, RegisterSection(f, layout.groups[g]),
                                              layout.groups[g], mode)) {
                return false;
            }
        }
    }
    UpdateCheckSum();
    return true;
}

std::span<uint8_t> CParam::ModeImage(const RegisterFileLayout& layout, int frequency,
                                     std::size_t group) {
    const std::size_t offset = static_cast<std::size_t>(layout.firstOffset) +
                               static_cast<std::size_t>(layout.frequencyStride * frequency) +
                               kModeImageSize * group;
    return std::span<uint8_t>(image_).subspan(offset, kModeImageSize);  // inside by the layout
}

int CParam::SaveRegisterFrame(const ParamFileFrame& frame, const RegisterFileLayout& layout,
                              int frequencies) {
    const int count = std::clamp(frequencies, 0, layout.maxFrequencies);
    // Register files carry no items for everyday editing: their header is detail, as the rest.
    return SaveFrame(*this, frame, WorkingPath(regFileName_), FrameSection(frame),
                     host_->TypeCode(), kLevelDetail, [&](CParamFile& file) {
                         for (int f = 0; f < count; ++f) {
                             for (std::size_t g = 0; g < layout.groups.size(); ++g) {
                                 const std::span<const uint8_t> mode = ModeImage(layout, f, g);
                                 const std::string section = RegisterSection(f, layout.groups[g]);
                                 file.WriteLine(Bracketed(section), kLevelDetail);
                                 host_->Chip().SaveRegSection(file, section, layout.groups[g],
                                                              mode);
                                 WriteRawRegisterItems(file, section, mode);
                                 file.WriteLine("", kLevelDetail);
                             }
                         }
                     });
}
