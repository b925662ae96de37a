// Progress notices to other programs' windows.
//
// Where the system has top-level windows with classes and registered messages, the notifier finds
// one window per class name at construction and sends it registered messages by name. Where no
// such windows exist (Linux), it finds none and every Send does nothing and returns false.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class CWindowNotifier {
  public:
    virtual ~CWindowNotifier() = default;
    // Sends the registered message of this name, synchronously and with both parameters 0, to the
    // window found for target (an index into the class names). False when there is no such window.
    virtual bool Send(std::size_t target, const std::string& messageName) = 0;
};

// The notifier of this system for the given window classes, looked up once.
std::unique_ptr<CWindowNotifier> MakeWindowNotifier(const std::vector<std::string>& windowClasses);

}  // namespace platform
