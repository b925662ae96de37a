// The draw-test page's message boxes, exactly as the user sees them.
#pragma once

#include "model/Messages.h"

namespace tuner {

inline constexpr UserMessage kErrorCodeFailMessage{
    "Get Error Code information fail, Please try again !!", "WARRING"};
inline constexpr UserMessage kPenInfoFailMessage{"Query ZQCF1XX pen info fail !!", "ERROR",
                                                 MessageIcon::kError};
inline constexpr UserMessage kThresholdFailMessage{
    "Change threshold mode fail,\r\nPlease try again !!", "ERROR", MessageIcon::kError};
inline constexpr UserMessage kCloseInfoFailMessage{"Close Touch information fail !!", "ERROR",
                                                   MessageIcon::kError};
inline constexpr UserMessage kSetFrequencyFailMessage{"Set Working Frequence Fail !!", "ERROR",
                                                      MessageIcon::kError};
inline constexpr UserMessage kReopenInfoFailMessage{"Set Touch information fail !!", "ERROR",
                                                    MessageIcon::kError};
inline constexpr UserMessage kNoTouchInfoMessage{
    "This firmware do not support Touch Info function !!", "WARRING"};
inline constexpr UserMessage kNoPenInfoMessage{"This firmware do not support Pen Info function !!",
                                               "WARRING"};
inline constexpr UserMessage kDisableInfoFailMessage{"Disable Touch information fail!", "ERROR",
                                                     MessageIcon::kError};
inline constexpr UserMessage kRestartOkMessage{" Software Restart OK !! ", " MESSAGE "};
inline constexpr UserMessage kRestartReopenInfoFailMessage{"Set Touch information fail!", "ERROR",
                                                           MessageIcon::kError};

inline constexpr UserMessage kLogOpenFailMessage{" Open Log file error ! ", " Error ",
                                                 MessageIcon::kError};
inline constexpr UserMessage kPenLogOpenFailMessage{" Open Active Pen Log file error !! ",
                                                    " ERROR ", MessageIcon::kError};
inline constexpr UserMessage kFullScreenLogOpenFailMessage{" Open Log file FullScreenerror ! ",
                                                           " Error ", MessageIcon::kError};
inline constexpr UserMessage kPenInfoLogOpenFailMessage{" Open Active Pen info Log file error ! ",
                                                        " ERROR ", MessageIcon::kError};

}  // namespace tuner
