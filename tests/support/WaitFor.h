// Waiting in a threaded test: every wait has a bound, so a fault shows as a failed test instead of
// a test that never ends.
#pragma once

#include <chrono>
#include <thread>

namespace testsupport {

// Polls the condition until it holds or the limit has passed; returns whether it held.
template <typename Condition>
bool WaitFor(Condition&& condition,
             std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace testsupport
