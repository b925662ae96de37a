// Steps that several handlers share. Each returns 0 to go on, or the handler's result.
#pragma once

#include "shell/Handlers.h"

namespace handlers::steps {

// Test log kinds.
inline constexpr int kLogFile = 1;
inline constexpr int kCsvFile = 0;

// Loads the tuning and test settings file.
inline uint32_t LoadSettings(CHandlerOps& ops, uint32_t base) {
    const int code = ops.LoadTxtFile(ParamKind::Ini);
    return code != 0 ? base | 0x0A | static_cast<uint32_t>(code) : 0;
}

inline uint32_t SwitchTo(CHandlerOps& ops, uint16_t mode, uint32_t base) {
    return ops.SwitchWorkMode(mode) ? 0 : base + 2;
}

// A controller that reported any of these error flags at start-up gets no uniformity table.
inline uint32_t ErrorFlagStop(CHandlerOps& ops) {
    return (ops.ErrorFlags() & kErrorFlagStopMask) != 0 ? 1 : 0;
}

inline uint32_t UniformityTable(CHandlerOps& ops, uint32_t base) {
    const uint32_t code = ops.BuildUniformityTable();
    return code != 0 ? base | code : 0;
}

// The uniformity request flag, set for the time of one uniformity step.
class UniformityRequest {
  public:
    explicit UniformityRequest(CHandlerOps& ops) : ops_(ops) { ops_.SetUniformityRequest(true); }
    ~UniformityRequest() { ops_.SetUniformityRequest(false); }
    UniformityRequest(const UniformityRequest&) = delete;
    UniformityRequest& operator=(const UniformityRequest&) = delete;

  private:
    CHandlerOps& ops_;
};

// Progress notices go out in research mode only.
inline void Progress(CHandlerOps& ops, int percent, int target = 0) {
    if (ops.Options().fixed.research) ops.NotifyProgress(percent, target);
}

}  // namespace handlers::steps
