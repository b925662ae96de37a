// Finding the one controller the tuner works with.
#pragma once

#include "devlink/devlink.h"

namespace tuner {

// The tuner speaks to controllers with 64-byte input and output reports only.
inline constexpr uint32_t kControllerReportLength = 64;

// Enumeration callback: accepts a controller only when both report lengths are 64 bytes, then
// copies its path (cut to the record's 511 characters), lengths and identifiers into the
// destination record (the context when given, else the record) and answers 1, which ends the
// enumeration. Any other controller is left alone and answers 0.
int AcceptControllerWith64ByteReports(DevRecord* record, const char* path, void* destination,
                                      uint32_t inputLength, uint32_t outputLength, uint16_t id1,
                                      uint16_t id2);

// Clears the record and enumerates; true when a controller was accepted (its path is not empty).
bool FindController(DevRecord& record);

}  // namespace tuner
