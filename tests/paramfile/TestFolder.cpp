#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

namespace {

// The builder log writes its file lines relative to the current folder until it is opened; keep
// them out of the build tree.
class LogFolderEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("paramfile-log-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_folder);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }

  private:
    std::filesystem::path m_folder;
    std::filesystem::path m_previous;
};

const testing::Environment* const kLogFolder =
    testing::AddGlobalTestEnvironment(std::make_unique<LogFolderEnvironment>().release());

}  // namespace

TestFolder::TestFolder() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        test ? std::string(test->test_suite_name()) + "-" + test->name() : "paramfile";
    std::replace(name.begin(), name.end(), '/', '_');
    m_path = std::filesystem::temp_directory_path() /
             (name + "-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(m_path);
}

TestFolder::~TestFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::string TestFolder::Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const auto& name : names) {
        listing += name + "\n";
    }
    return listing;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ConsoleOutputOf(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}
