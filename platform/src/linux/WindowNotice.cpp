#include "platform/WindowNotice.h"

namespace platform {

namespace {

// Linux desktops have no shared registry of window classes and registered messages, so no
// listening window can exist.
class CNoWindows final : public CWindowNotifier {
  public:
    bool Send(std::size_t, const std::string&) override { return false; }
};

}  // namespace

std::unique_ptr<CWindowNotifier> MakeWindowNotifier(const std::vector<std::string>&) {
    return std::make_unique<CNoWindows>();
}

}  // namespace platform
