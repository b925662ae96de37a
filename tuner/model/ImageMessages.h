// The image page's message boxes, as the user sees them.
#pragma once

#include "model/Messages.h"

namespace tuner {

inline constexpr UserMessage kSetReportImageFailed{
    "Set report image index fail,\r\nPlease try again !!", "ERROR"};
inline constexpr UserMessage kRangeWindowInvalid{"Input image index fail,\r\nPlease try again !!",
                                                 "WARRING"};
inline constexpr UserMessage kUniformityReadFailed{"Read Uniformity Table Error !", " ERROR "};
inline constexpr UserMessage kUniformityInvalid{"Table is Invalid!!", " ERROR "};
inline constexpr UserMessage kSetFrequencyFailed{"Set ZQCF1XX Working Frequence Fail !!",
                                                 "ERROR"};
inline constexpr UserMessage kRestartDone{" Software Restart OK !! ", " MESSAGE "};
inline constexpr UserMessage kRestartFailed{" Software Restart Fail !! ", " ERROR "};
inline constexpr UserMessage kImageLogOpenFailed{" Open Log File Error, Please try again !! ",
                                                 " ERROR "};

}  // namespace tuner
