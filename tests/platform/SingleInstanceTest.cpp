#include "ScratchFolder.h"
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using State = platform::CSingleInstanceLock::State;

// Gives the test its own runtime folder, as parallel test runs need.
class SingleInstance : public testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        hadOld_ = old != nullptr;
        if (hadOld_) old_ = old;
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (hadOld_) {
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    testsupport::ScratchFolder scratch_{"lock-test"};
    const std::filesystem::path folder_ = scratch_.Path();
    std::string old_;
    bool hadOld_ = false;
};

TEST_F(SingleInstance, SecondHolderOfTheSameNameIsRefusedUntilTheFirstEnds) {
    {
        platform::CSingleInstanceLock first("TOVREXBUILDER4");
        ASSERT_EQ(first.GetState(), State::kAcquired);
        EXPECT_EQ(first.Path(), folder_ / "TOVREXBUILDER4.lock");

        platform::CSingleInstanceLock second("TOVREXBUILDER4");
        EXPECT_EQ(second.GetState(), State::kHeldElsewhere);

        platform::CSingleInstanceLock other("SOMEOTHERTOOL");
        EXPECT_EQ(other.GetState(), State::kAcquired);
    }
    platform::CSingleInstanceLock again("TOVREXBUILDER4");
    EXPECT_EQ(again.GetState(), State::kAcquired);
}

TEST_F(SingleInstance, NameCannotLeaveTheRuntimeFolder) {
    platform::CSingleInstanceLock lock("../x/y");
    ASSERT_TRUE(lock.Acquired());
    EXPECT_EQ(lock.Path(), folder_ / ".._x_y.lock");
}

TEST_F(SingleInstance, KilledHolderReleasesTheLock) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::CSingleInstanceLock lock("TOVREXBUILDER4");
        const char state = lock.Acquired() ? 'y' : 'n';
        if (write(ready[1], &state, 1) != 1) _exit(2);
        for (;;) pause();  // killed by the parent while holding the lock
    }
    close(ready[1]);
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    close(ready[0]);
    ASSERT_EQ(state, 'y');
    {
        platform::CSingleInstanceLock whileHeld("TOVREXBUILDER4");
        EXPECT_EQ(whileHeld.GetState(), State::kHeldElsewhere);
    }
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    platform::CSingleInstanceLock afterCrash("TOVREXBUILDER4");
    EXPECT_EQ(afterCrash.GetState(), State::kAcquired);
}

TEST_F(SingleInstance, UnusableRuntimeFolderIsAFailureWithItsReason) {
    setenv("XDG_RUNTIME_DIR", (folder_ / "missing").c_str(), 1);
    platform::CSingleInstanceLock lock("TOVREXBUILDER4");
    EXPECT_EQ(lock.GetState(), State::kFailed);
    EXPECT_NE(lock.Error().find("missing"), std::string::npos);
}

// The temporary folder is shared by every user: the lock there is this user's own, owner-only, and
// a name someone else prepared (a link, a folder, another user's file) is never used.
class SharedTemporaryFolder : public SingleInstance {
  protected:
    void SetUp() override {
        SingleInstance::SetUp();
        const char* oldTmp = std::getenv("TMPDIR");
        hadTmp_ = oldTmp != nullptr;
        if (hadTmp_) oldTmp_ = oldTmp;
        unsetenv("XDG_RUNTIME_DIR");
        setenv("TMPDIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp_) {
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        SingleInstance::TearDown();
    }
    std::filesystem::path OwnPath() const {
        return folder_ / ("TOVREXBUILDER4-" + std::to_string(geteuid()) + ".lock");
    }
    std::string oldTmp_;
    bool hadTmp_ = false;
};

TEST_F(SharedTemporaryFolder, TheLockIsNamedForTheUserAndOnlyTheUserCanOpenIt) {
    // What another user's run left under the plain name does not matter to this user.
    std::ofstream(folder_ / "TOVREXBUILDER4.lock") << "";
    std::filesystem::permissions(folder_ / "TOVREXBUILDER4.lock", std::filesystem::perms::none);
    platform::CSingleInstanceLock lock("TOVREXBUILDER4");
    ASSERT_TRUE(lock.Acquired()) << lock.Error();
    EXPECT_EQ(lock.Path(), OwnPath());
    struct stat status {};
    ASSERT_EQ(lstat(OwnPath().c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(status.st_uid, geteuid());
}

TEST_F(SharedTemporaryFolder, ANameThatIsNotTheUsersOwnFileIsRefused) {
    const std::filesystem::path target = folder_ / "elsewhere";
    std::filesystem::create_symlink(target, OwnPath());
    {
        platform::CSingleInstanceLock lock("TOVREXBUILDER4");
        EXPECT_EQ(lock.GetState(), State::kFailed);
        EXPECT_NE(lock.Error().find(OwnPath().string()), std::string::npos) << lock.Error();
        EXPECT_FALSE(std::filesystem::exists(target)) << "the link was followed";
    }
    std::filesystem::remove(OwnPath());
    std::filesystem::create_directory(OwnPath());
    EXPECT_EQ(platform::CSingleInstanceLock("TOVREXBUILDER4").GetState(), State::kFailed);
    std::filesystem::remove(OwnPath());

    if (geteuid() != 0) return;  // only the administrator can give a file to another user
    std::ofstream(OwnPath()) << "";
    ASSERT_EQ(chown(OwnPath().c_str(), 65534, 65534), 0);
    platform::CSingleInstanceLock lock("TOVREXBUILDER4");
    EXPECT_EQ(lock.GetState(), State::kFailed);
    EXPECT_NE(lock.Error().find("another user"), std::string::npos) << lock.Error();
}

TEST_F(SingleInstance, WithoutXdgRuntimeDirTheTemporaryFolderIsUsed) {
    unsetenv("XDG_RUNTIME_DIR");
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", folder_.c_str(), 1);
    EXPECT_EQ(platform::RuntimeFolder(), folder_);
    setenv("XDG_RUNTIME_DIR", "", 1);  // set but empty counts as unset
    EXPECT_EQ(platform::RuntimeFolder(), folder_);
    if (oldTmp) {
        setenv("TMPDIR", savedTmp.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

}  // namespace
