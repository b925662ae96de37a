// The command table: every command name with its handler and the parameter sets it needs, the
// interactive menu's letters, and the help text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/Handlers.h"

class CController;

// Bits of a command's requirement mask: the sets whose versions must be compatible.
inline constexpr uint32_t kNeedsHw = 2;
inline constexpr uint32_t kNeedsSw = 4;
inline constexpr uint32_t kNeedsPen = 8;

struct CommandEntry {
    const char* name;
    CommandHandler handler;
    uint32_t needs;
};

class CCommandTable {
  public:
    // The entry of a name (exact, case-sensitive), or nullptr.
    static const CommandEntry* Find(const std::string& name);
    static const std::vector<CommandEntry>& Entries();
};

// The command name of a menu key; an empty name for a key without a command.
std::string CommandForMenuKey(char key);

// The help text: the builder's set versions (or that no controller was found) and the command list.
std::string HelpText(CController* controller);

// Runs a command's handler over the controller; the caller has checked the versions.
uint32_t RunHandler(const CommandEntry& entry, CController& controller);
