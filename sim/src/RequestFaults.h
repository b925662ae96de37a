// The request-level fault switches of a profile (`fail`, `no_reply`): which names they accept,
// which requests they hit, and the argument text of a request they stop before the firmware sees
// it, so that its trace line reads like any other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/Profile.h"

namespace sim {

// Names a `fail` or `no_reply` list accepts: every operation name, `info0` ... `info4` for one
// information record, `ic_info` for the IC information request, and `all`.
bool isFaultOperationName(const std::string& name);

// How a `fail` item answers: "name" fails inside the firmware, "name:<answer>" answers otherwise.
std::optional<FailAnswer> parseFailAnswer(const std::string& answer);

// The fault switches that hit a command (op and its arguments) named `name`.
const FailAnswer* failureOf(const Faults& faults, const std::string& name, uint8_t op,
                            const uint8_t* args);
bool isUnanswered(const Faults& faults, const std::string& name, uint8_t op, const uint8_t* args);

// The arguments of a command as its trace line shows them ("mode=0x8004"); empty for none.
std::string requestArguments(uint8_t op, const uint8_t* args);

}  // namespace sim
