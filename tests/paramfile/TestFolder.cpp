#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <vector>

namespace {

// The builder log writes its file lines relative to the current folder until it is opened; keep
// them out of the build tree.
class LogFolderEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        m_folder = std::make_unique<testsupport::ScratchFolder>("paramfile-log");
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder->Path());
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        m_folder.reset();
    }

  private:
    std::unique_ptr<testsupport::ScratchFolder> m_folder;
    std::filesystem::path m_previous;
};

// The test's own name starts its folder's, to tell a folder left behind by a killed run.
std::string FolderStem() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        test ? std::string(test->test_suite_name()) + "-" + test->name() : "paramfile";
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

const testing::Environment* const kLogFolder =
    testing::AddGlobalTestEnvironment(std::make_unique<LogFolderEnvironment>().release());

}  // namespace

TestFolder::TestFolder() : m_folder(FolderStem()) {}

std::string TestFolder::Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
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
