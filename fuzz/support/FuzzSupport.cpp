#include "FuzzSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

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

// The targets work in a scratch folder (EnterScratchFolder), so every path on the command line
// (corpus folders, inputs, the artifact prefix, a dictionary) is made absolute first, while the
// current folder is still the caller's; libFuzzer reads its arguments after this. Without an
// artifact prefix, findings go to the caller's folder, as they would without the scratch folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    namespace fs = std::filesystem;
    static std::vector<std::string> args;
    static std::vector<char*> pointers;
    const auto absolute = [](const std::string& path) {
        return path.empty() || path.front() == '/' ? path : (fs::current_path() / path).string();
    };
    bool artifactPrefix = false;
    for (int i = 0; i < *argc; ++i) {
        std::string arg = (*argv)[i];
        const std::size_t equals = arg.find('=');
        if (i > 0 && !arg.empty() && arg.front() != '-') {
            arg = absolute(arg);
        } else if (i > 0 && equals != std::string::npos) {
            const std::string flag = arg.substr(0, equals + 1);
            if (flag == "-artifact_prefix=" || flag == "-exact_artifact_path=" || flag == "-dict=")
                arg = flag + absolute(arg.substr(equals + 1));
            artifactPrefix = artifactPrefix || flag == "-artifact_prefix=";
        }
        args.push_back(arg);
    }
    if (!artifactPrefix)
        args.insert(args.begin() + 1, "-artifact_prefix=" + fs::current_path().string() + "/");
    for (std::string& arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(args.size());
    *argv = pointers.data();
    return 0;
}
