// The tuner's message boxes: text, caption, icon and buttons, exactly as the user sees them.
#pragma once

#include <string_view>

namespace tuner {

enum class MessageIcon { kNone, kError };
enum class MessageButtons { kOk, kYesNo };

struct UserMessage {
    std::string_view text;
    std::string_view caption;
    MessageIcon icon = MessageIcon::kNone;
    MessageButtons buttons = MessageButtons::kOk;
};

inline constexpr UserMessage kAlreadyRunningMessage{"TOVREX_TUNER_K7PXXX is already running",
                                                    "WARNING"};
inline constexpr UserMessage kNoControllerMessage{"Enumerate VORN Device Fail !", "ERROR"};
inline constexpr UserMessage kUnsupportedSolutionMessage{
    "This Tool Only For VORN Solution - ZQCK7PXXX !!", "ERROR"};
inline constexpr UserMessage kDeviceNotFoundMessage{"VORN Device Not Found !", "ERROR"};
inline constexpr UserMessage kChannelInfoMessage{"Read channel information fail !!", "ERROR",
                                                 MessageIcon::kError};
inline constexpr UserMessage kExitQuestion{"Exit TovrexTuner?", "Info", MessageIcon::kNone,
                                           MessageButtons::kYesNo};

}  // namespace tuner
