#include "platform/ConsoleInput.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

// A pipe whose read end plays standard input.
class Pipe {
  public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    ~Pipe() {
        CloseWriter();
        close(fds_[0]);
    }
    int Reader() const { return fds_[0]; }
    void Write(const std::string& text) {
        ASSERT_EQ(write(fds_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void CloseWriter() {
        if (fds_[1] >= 0) close(fds_[1]);
        fds_[1] = -1;
    }

  private:
    int fds_[2] = {-1, -1};
};

TEST(ConsoleInput, WaitReturnsEveryCharacterThenEndOfInput) {
    Pipe p;
    p.Write("a\n ");
    p.CloseWriter();
    platform::CConsoleInput in(p.Reader());
    EXPECT_EQ(in.WaitForCharacter(), 'a');
    EXPECT_EQ(in.WaitForCharacter(), '\n');  // a line end is a character
    EXPECT_EQ(in.WaitForCharacter(), ' ');
    EXPECT_EQ(in.WaitForCharacter(), platform::kEndOfInput);
    EXPECT_EQ(in.WaitForCharacter(), platform::kEndOfInput);  // and stays there
}

TEST(ConsoleInput, EndOfInputAndClosedInputEndTheWaitAtOnce) {
    const int devNull = open("/dev/null", O_RDONLY);
    ASSERT_GE(devNull, 0);
    platform::CConsoleInput fromNull(devNull);
    platform::CConsoleInput closed(1000);  // not an open descriptor: a read error
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fromNull.WaitForCharacter(), platform::kEndOfInput);
    EXPECT_EQ(fromNull.ReadKey(), platform::kEndOfInput);
    EXPECT_EQ(closed.WaitForCharacter(), platform::kEndOfInput);
    fromNull.DiscardPending();
    closed.DiscardPending();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    close(devNull);
}

TEST(ConsoleInput, KeyReadSkipsBlanksAndLineEnds) {
    Pipe p;
    p.Write(" \t\r\n\nx  \n");
    p.CloseWriter();
    platform::CConsoleInput in(p.Reader());
    EXPECT_EQ(in.ReadKey(), 'x');
    EXPECT_EQ(in.ReadKey(), platform::kEndOfInput);
}

TEST(ConsoleInput, NonBlockingInputWaitsForDataInsteadOfFailing) {
    Pipe p;
    ASSERT_EQ(fcntl(p.Reader(), F_SETFL, fcntl(p.Reader(), F_GETFL) | O_NONBLOCK), 0);
    p.Write("k");
    platform::CConsoleInput in(p.Reader());
    EXPECT_EQ(in.WaitForCharacter(), 'k');
    p.CloseWriter();
    EXPECT_EQ(in.WaitForCharacter(), platform::kEndOfInput);
}

TEST(ConsoleInput, DiscardDropsTheRestOfTheLineOnlyAndNeverWaits) {
    Pipe p;
    p.Write("?abc\nQ\n");
    platform::CConsoleInput in(p.Reader());
    EXPECT_EQ(in.ReadKey(), '?');
    in.DiscardPending();
    EXPECT_EQ(in.ReadKey(), 'Q');
    in.DiscardPending();  // the writer is still open and nothing is left: returns at once
    p.Write("z");
    EXPECT_EQ(in.ReadKey(), 'z');
}

}  // namespace
