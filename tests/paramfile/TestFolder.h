// A fresh temporary folder per test, removed with everything in it at the end, and small file and
// console helpers for the parameter file tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "ScratchFolder.h"

class TestFolder {
  public:
    TestFolder();

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    // Names of the files now in the folder, sorted.
    std::string Listing() const;

  private:
    testsupport::ScratchFolder m_folder;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& text);
// What the action printed to standard output (where the builder log shows its messages).
std::string ConsoleOutputOf(const std::function<void()>& action);
