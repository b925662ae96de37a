// Helpers for tests that run the tuner's windows off screen against the simulated controller.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ScratchFolder.h"

namespace guitest {

// Calls into devlink counted by the test program (the program is linked with these two calls
// wrapped, see CMakeLists.txt).
struct DeviceCalls {
    int opens = 0;
    int openedHandles = 0;
    int closes = 0;
};
DeviceCalls& Calls();

struct SeenMessage {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

// Answers every modal message box that appears, with the chosen button, and remembers it.
class MessageBoxAnswerer : public QObject {
  public:
    MessageBoxAnswerer();
    void AnswerWith(QMessageBox::StandardButton answer) { answer_ = answer; }
    const std::vector<SeenMessage>& Seen() const { return seen_; }

  private:
    void Poll();

    QTimer timer_;
    QMessageBox::StandardButton answer_ = QMessageBox::Ok;
    std::vector<SeenMessage> seen_;
};

// Runs the action once, as soon as the condition holds, from the event loop that is running then.
// Gives up after the time-out and quits the application, so that a test never hangs.
class WhenReady : public QObject {
  public:
    WhenReady(std::function<bool()> condition, std::function<void()> action, int timeoutMs = 20000);
    bool Ran() const { return ran_; }
    bool TimedOut() const { return timedOut_; }

  private:
    QTimer poll_;
    QTimer timeout_;
    bool ran_ = false;
    bool timedOut_ = false;
};

// A fresh folder of the test's own, removed with the object.
class TempFolder : public testsupport::ScratchFolder {
  public:
    TempFolder() : ScratchFolder("tuner-test") {}
};

// Writes a simulator profile into the folder and returns the DEVLINK value that selects it.
std::string WriteProfile(const TempFolder& folder, const std::string& text);

// Where the tests put files for people to look at (screenshots).
std::filesystem::path ArtifactFolder();

}  // namespace guitest
