#include "platform/WindowNotice.h"

#include <windows.h>

namespace platform {

namespace {

// A window that takes longer than this to answer one notice is treated as gone: a hung listener
// must not stop a tuning run.
constexpr UINT kAnswerTimeoutMs = 5000;

class CTopLevelWindows final : public CWindowNotifier {
  public:
    explicit CTopLevelWindows(const std::vector<std::string>& windowClasses) {
        for (const std::string& windowClass : windowClasses)
            windows_.push_back(FindWindowA(windowClass.c_str(), nullptr));
    }

    bool Send(std::size_t target, const std::string& messageName) override {
        if (target >= windows_.size() || windows_[target] == nullptr) return false;
        // Registering a name that is registered already gives its number.
        const UINT message = RegisterWindowMessageA(messageName.c_str());
        if (message == 0) return false;
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(windows_[target], message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                   kAnswerTimeoutMs, &answer) != 0;
    }

  private:
    std::vector<HWND> windows_;
};

}  // namespace

std::unique_ptr<CWindowNotifier> MakeWindowNotifier(const std::vector<std::string>& windowClasses) {
    return std::make_unique<CTopLevelWindows>(windowClasses);
}

}  // namespace platform
