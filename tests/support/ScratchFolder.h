// A fresh, empty folder of the test's own under the system's temporary folder, removed with
// everything in it when the object goes. Parallel test runs each get their own: the name carries a
// random part, and a folder that already exists is never taken over.
#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testsupport {

class ScratchFolder {
  public:
    // `stem` starts the folder's name, so that a folder left behind by a killed run shows whose it is.
    explicit ScratchFolder(const std::string& stem = "tovrex-test") {
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = base / (stem + "-" + Suffix(random));
            std::error_code error;
            // Creating the folder is the claim: false means another run holds that name.
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate;
                // Owner only, as a runtime folder must be (the tuner's single-instance lock lives
                // in one) and as nothing another user runs should read.
                std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::replace);
                return;
            }
            if (error) throw std::filesystem::filesystem_error("no scratch folder", candidate, error);
        }
        throw std::runtime_error("no free scratch folder name under " + base.string());
    }
    ~ScratchFolder() {
        std::error_code ignored;  // a destructor must not throw; a leftover folder harms no test
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

  private:
    static std::string Suffix(std::mt19937_64& random) {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
        std::string suffix;
        for (int i = 0; i < 10; ++i) suffix += kLetters[pick(random)];
        return suffix;
    }

    std::filesystem::path path_;
};

}  // namespace testsupport
