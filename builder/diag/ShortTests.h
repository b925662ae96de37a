// The short tests: the controller drives each line in turn and reports, per channel, what the
// other lines and the supplies picked up; a channel above the settings' threshold is shorted.
#pragma once

#include <cstdint>

class DiagHost;

// The plain form: one value per channel. 0 pass; 2 working mode not switched, 6 data did not
// arrive, 8 short-test command refused, 9 a channel above the threshold.
uint32_t ShortTest(DiagHost& host);
// The classifying form, which also names each shorted channel's partner (another line, or a
// supply); flexibleCable tests the cable's channel ranges. Result codes as ShortTest.
uint32_t ShortTestClassified(DiagHost& host, bool flexibleCable);

