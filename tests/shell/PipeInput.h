// Standard input for a test: a pipe holding the given text, its writer closed.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/ConsoleInput.h"

class PipeInput {
  public:
    explicit PipeInput(const std::string& text) : fd_(Fill(text)), input_(fd_) {}
    ~PipeInput() { close(fd_); }
    PipeInput(const PipeInput&) = delete;
    PipeInput& operator=(const PipeInput&) = delete;

    platform::CConsoleInput& Input() { return input_; }
    // What the program left unread.
    std::string Rest() {
        std::string rest;
        for (int c; (c = input_.WaitForCharacter()) != platform::kEndOfInput;) rest += char(c);
        return rest;
    }

  private:
    static int Fill(const std::string& text) {
        int fds[2] = {-1, -1};
        EXPECT_EQ(pipe(fds), 0);
        EXPECT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(fds[1]);
        return fds[0];
    }

    int fd_;
    platform::CConsoleInput input_;
};
