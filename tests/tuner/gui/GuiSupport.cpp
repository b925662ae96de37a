#include "GuiSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "devlink/devlink.h"

// ---- Counted devlink calls -------------------------------------------------------------------

extern "C" {
DevHandle __real_devOpen(DevRecord record);
int __real_devClose(DevHandle handle);

DevHandle __wrap_devOpen(DevRecord record) {
    DevHandle handle = __real_devOpen(record);
    ++guitest::Calls().opens;
    if (handle != nullptr) ++guitest::Calls().openedHandles;
    return handle;
}

int __wrap_devClose(DevHandle handle) {
    ++guitest::Calls().closes;
    return __real_devClose(handle);
}
}

namespace guitest {
namespace {

// One QApplication for the whole test program, on the off-screen platform unless the caller
// chose another.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "tuner_gui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// gtest owns registered environments.
[[maybe_unused]] ::testing::Environment* const g_qt =
    ::testing::AddGlobalTestEnvironment(std::make_unique<QtEnvironment>().release());

}  // namespace

DeviceCalls& Calls() {
    static DeviceCalls calls;
    return calls;
}

MessageBoxAnswerer::MessageBoxAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
    timer_.start(10);
}

void MessageBoxAnswerer::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    seen_.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
    QAbstractButton* button = box->button(answer_);
    if (button == nullptr) {
        ADD_FAILURE() << "the message box has no button " << answer_ << ": "
                      << box->text().toStdString();
        button = box->buttons().value(0);
    }
    if (button != nullptr) button->click();
}

WhenReady::WhenReady(std::function<bool()> condition, std::function<void()> action, int timeoutMs) {
    connect(&poll_, &QTimer::timeout, this, [this, condition, action] {
        if (ran_ || !condition()) return;
        ran_ = true;
        poll_.stop();
        action();
    });
    connect(&timeout_, &QTimer::timeout, this, [this] {
        if (ran_) return;
        timedOut_ = true;
        poll_.stop();
        QApplication::quit();
    });
    poll_.start(10);
    timeout_.setSingleShot(true);
    timeout_.start(timeoutMs);
}

std::string WriteProfile(const TempFolder& folder, const std::string& text) {
    const auto path = folder.Path() / "controller.profile";
    std::ofstream(path) << text;
    return "sim:" + path.string();
}

std::filesystem::path ArtifactFolder() {
    const std::filesystem::path folder = TOVREX_TEST_ARTIFACTS;
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace guitest
