#include "FuzzSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fuzz {

void Finding(const std::string& what) {
    std::fprintf(stderr, "\n==FINDING== %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

namespace {

// The folder goes with the process (a finding's abort leaves it, which is harmless).
struct ScratchFolder {
    std::string path;
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(path, ec);
    }
};

ScratchFolder MakeScratchFolder() {
    namespace fs = std::filesystem;
    std::random_device random;
    fs::path path;
    for (int attempt = 0;; ++attempt) {
        path = fs::temp_directory_path() / ("tovrex-fuzz-" + std::to_string(random()));
        if (fs::create_directory(path)) break;
        if (attempt == 100) Finding("cannot make a scratch folder in " + path.string());
    }
    fs::current_path(path);
    // The builder's main log appends to this file (one open per line) until a log is opened.
    fs::create_symlink("/dev/null", path / "TovrexBuilder4.log");
    if (std::freopen("/dev/null", "w", stdout) == nullptr) Finding("cannot silence stdout");
    return {path.string() + "/"};
}

}  // namespace

const std::string& EnterScratchFolder() {
    static const ScratchFolder folder = MakeScratchFolder();
    return folder.path;
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = EnterScratchFolder() + name;
    // A new file rather than a truncated one: some file systems flush a file that is truncated
    // and written again at once, which would make every input wait for the disk.
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) Finding("cannot write the scratch file " + path);
    return path;
}

}  // namespace fuzz
