#include "files/CParamFile.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/BuilderLog.h"
#include "platform/NewFile.h"

namespace {

// A value, range text or comment is one line of the file: a line break inside it would end the
// item and turn the rest into lines of their own (even new keys or sections).
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return line;
}

std::string ValueColumn(std::string_view value, std::string_view range, std::string_view comment) {
    std::string column(value);
    column += "    ;";
    column += range;
    column += "    ;";
    column += comment;
    return column;
}

std::string TempNameFor(const std::string& path) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".tmp%08llx",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFu));
    return path + suffix;
}

std::atomic<int> maxOutputLevel{kMaxOutputLevel};

}  // namespace

void SetMaxOutputLevel(int level) {
    maxOutputLevel = level;
}

int MaxOutputLevel() {
    return maxOutputLevel;
}

CParamFile::CParamFile(std::string path) : m_path(std::move(path)) {}

CParamFile::~CParamFile() {
    DiscardWrite();
}

bool CParamFile::OpenWrite() {
    Close();
    m_index.reset();
    m_writeFailed = false;
    // A new file only: never reuse a name that exists already (another save, or a left-over of a
    // crash).
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string tempPath = TempNameFor(m_path);
        errno = 0;
        std::FILE* file = platform::CreateNewFile(tempPath);
        if (file != nullptr) {
            m_out.reset(file);
            m_tempPath = std::move(tempPath);
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return false;
}

bool CParamFile::Exists() {
    Close();
    // Only regular files: opening a FIFO for reading blocks until someone writes to it.
    std::error_code error;
    if (!std::filesystem::is_regular_file(m_path, error)) {
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(m_path.c_str(), "r"));
    return file != nullptr;
}

bool CParamFile::Close() {
    if (!m_out) {
        return true;
    }
    bool complete = !m_writeFailed && std::fflush(m_out.get()) == 0 && !std::ferror(m_out.get());
    complete = (std::fclose(m_out.release()) == 0) && complete;
    std::error_code error;
    if (complete) {
        std::filesystem::rename(m_tempPath, m_path, error);
        complete = !error;
    }
    if (!complete) {
        std::filesystem::remove(m_tempPath, error);
    }
    m_tempPath.clear();
    m_index.reset();
    return complete;
}

void CParamFile::DiscardWrite() {
    if (!m_out) {
        return;
    }
    m_out.reset();
    std::error_code error;
    std::filesystem::remove(m_tempPath, error);
    m_tempPath.clear();
}

std::optional<std::string_view> CParamFile::FindValue(std::string_view section,
                                                      std::string_view key) {
    if (!m_index) {
        m_index = ParamIndex::FromFile(m_path);
    }
    return m_index->Find(section, key);
}

bool CParamFile::ReadItem(std::string_view section, std::string_view key, std::string& value) {
    const std::optional<std::string_view> found = FindValue(section, key);
    if (found) {
        value = ParamIndex::ValueBeforeComment(*found);
    }
    return found.has_value();
}

std::optional<std::int32_t> CParamFile::ReadNumber(std::string_view section, std::string_view key) {
    const std::optional<std::string_view> found = FindValue(section, key);
    if (!found) {
        return std::nullopt;
    }
    return ParamIndex::LeadingDecimal(ParamIndex::ValueBeforeComment(*found));
}

std::int32_t CParamFile::Clamp(std::string_view key, std::int32_t value, std::int32_t min,
                               std::int32_t max) {
    if (value >= min && value <= max) {
        return value;
    }
    MainLog().Printf(kColourError, kRouteBoth,
                     "%s range error, value = %d, range = %d~%d, Clamp!\n",
                     std::string(ParamIndex::TrimBlanks(key)).c_str(), value, min, max);
    return value < min ? min : max;
}

int CParamFile::WriteLine(std::string_view text, int level) {
    if (!Writable(level)) {
        return 0;
    }
    return PutLine(OneLine(text) + '\n');
}

int CParamFile::WriteItem(std::string_view text, int level, std::string_view /*section*/,
                          std::string_view key, std::string_view rangeText,
                          std::string_view comment) {
    if (!Writable(level)) {
        return 0;
    }
    return PutItem(key, ValueColumn(text, rangeText, comment));
}

int CParamFile::WriteNumberItem(std::int32_t value, int level, std::string_view /*section*/,
                                std::string_view key, std::string_view rangeText,
                                std::string_view comment) {
    if (!Writable(level)) {
        return 0;
    }
    return PutItem(key, ValueColumn(std::to_string(value), rangeText, comment));
}

int CParamFile::WriteRanged(std::int32_t& value, std::int32_t def, std::int32_t min,
                            std::int32_t max, int level, std::string_view /*section*/,
                            std::string_view key, std::string_view comment) {
    if (!Writable(level)) {
        return 0;
    }
    const std::string name(ParamIndex::TrimBlanks(key));
    if (value < min || value > max) {
        MainLog().Printf(kColourError, kRouteBoth,
                         "%s range error, value = %d, range = %d~%d, set to default =  %d !\n",
                         name.c_str(), value, min, max, def);
        value = def;
    }
    const std::string range = std::to_string(min) + '~' + std::to_string(max);
    return PutItem(name, ValueColumn(std::to_string(value), range, comment));
}

int CParamFile::PutItem(std::string_view key, std::string_view valueColumn) {
    std::string line = OneLine(ParamIndex::TrimBlanks(key));
    line += " = ";
    line += OneLine(valueColumn);
    line += '\n';
    return PutLine(std::move(line));
}

int CParamFile::PutLine(std::string line) {
    if (std::fwrite(line.data(), 1, line.size(), m_out.get()) != line.size()) {
        m_writeFailed = true;
        return 0;
    }
    return static_cast<int>(line.size());
}

bool HasFileKind(std::string_view path, std::string_view extension) {
    return !extension.empty() && path.find(extension) != std::string_view::npos;
}

std::string ByteToBinString(std::uint8_t value) {
    std::string bits(8, '0');
    for (int bit = 0; bit < 8; ++bit) {
        if (value & (0x80u >> bit)) {
            bits[static_cast<std::size_t>(bit)] = '1';
        }
    }
    return bits;
}

std::uint8_t BinStringToByte(std::string_view text) {
    if (text.size() >= 9) {
        return 0xFF;
    }
    // Unsigned arithmetic: a character below '0' wraps modulo 256 instead of going negative.
    unsigned sum = 0;
    for (char c : text) {
        sum = sum * 2u + (static_cast<unsigned char>(c) - unsigned{'0'});
    }
    return static_cast<std::uint8_t>(sum);
}
