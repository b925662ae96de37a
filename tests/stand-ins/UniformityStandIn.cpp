// Stands in for the external uniformity table tool in tests. It writes the arguments it was given,
// one per line, to the file named by TOVREX_STANDIN_ARGS, and the folder it ran in to
// TOVREX_STANDIN_CWD, then exits with the code in TOVREX_STANDIN_EXIT (default 0; -1 .. -4 are
// the tool's failures).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (const char* path = std::getenv("TOVREX_STANDIN_ARGS")) {
        std::ofstream out(path, std::ios::trunc);
        for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    }
    if (const char* path = std::getenv("TOVREX_STANDIN_CWD")) {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::current_path(ec);
        if (!ec) std::ofstream(path) << folder.string() << '\n';
    }
    const char* code = std::getenv("TOVREX_STANDIN_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
