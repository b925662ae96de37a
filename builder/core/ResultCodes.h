// The builder's result codes, their exit statuses, and the result file.
//
// Result codes are 32 bits wide and appear in full in messages and logs. A POSIX exit status keeps
// only 8 bits, so 0x81000000 would reach the caller as 0; the process therefore leaves with a
// small status that names the kind of result, and writes the full code to the file named by
// TOVREX_RESULT_FILE when that is set.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint32_t kResultSuccess = 0;
inline constexpr uint32_t kResultStartFailed = 1;  // another instance, or no usable controller
inline constexpr uint32_t kResultUnknownCommand = 0x4001;
inline constexpr uint32_t kResultHwIncompatible = 0x4004;
inline constexpr uint32_t kResultSwIncompatible = 0x4005;
inline constexpr uint32_t kResultPenIncompatible = 0x4006;
inline constexpr uint32_t kResultMenuDisconnected = 0x400A;
inline constexpr uint32_t kResultMenuQuit = 0x400B;
inline constexpr uint32_t kResultModeSwitchFailed = 0x400C;
inline constexpr uint32_t kResultNoOption = 0x80000000;
inline constexpr uint32_t kResultHandlerFailed = 0x80000000;  // ORed with the handler's code

// 0 success; 1 start-up failed; 2 no option; 3 unknown command; 4 incompatible set; 5 menu ended
// by a disconnect; 6 menu ended by Q; 7 working mode not switched; 8 a handler failed; 9 other.
int ExitStatusFor(uint32_t result);

// The process exit code for the result: the result itself where exit codes keep 32 bits
// (Windows), the status above where they keep 8.
int ProcessExitCodeFor(uint32_t result);

inline constexpr const char* kResultFileVariable = "TOVREX_RESULT_FILE";

// The result file's content: "0x%08X\n".
std::string ResultFileText(uint32_t result);

// Removes a result file left by an earlier run, so that a run that ends without writing one is
// never mistaken for the earlier result. Does nothing when the variable is unset.
void ClearResultFile();

// Writes the result to the file named by TOVREX_RESULT_FILE (complete or not at all: a temporary
// file renamed over it). True when written or not asked for; false, after a message on standard
// error, when it could not be written.
bool WriteResultFile(uint32_t result);
