#include "device/CommandStop.h"

#include <atomic>

#include "platform/Interrupt.h"
#include "core/BuilderLog.h"

namespace {

std::atomic<int> gScopes{0};
std::atomic<bool> gLogged{false};

}  // namespace

CCommandScope::CCommandScope() {
    ++gScopes;
}

CCommandScope::~CCommandScope() {
    --gScopes;
}

bool CommandMustStop() {
    const int signal = platform::InterruptSignal();
    if (signal == 0 || gScopes.load() == 0) return false;
    if (!gLogged.exchange(true)) {
        MainLog().Printf(kColourError, kRouteBoth, "\nStopped by signal %d.\n", signal);
    }
    return true;
}
