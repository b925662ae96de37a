// Touch-signal adjustment: the Scaling and measure counts of every enabled scan redone on the
// frequencies, gains and delays the controller already holds, and committed.
#pragma once

class DiagHost;

// Puts the settings' candidate frequencies into the hardware set, each taking working frequency
// 0's RS, AFE gain and delays; nothing changes when the list is empty or has five or more entries.
// Nothing is written to the controller.
void SpreadCandidateFrequencies(DiagHost& host);

// Redoes the Scaling (searched, or kept in research mode) and measure counts of each enabled
// scan, commits the hardware set, and after an image adjustment measures and stores the open
// and mutual scaling. False when a scan failed or nothing could be stored.
bool AdjustTouchScreen(DiagHost& host);

// Switches the monitors off for the life of the object when the settings ask for it.
class MonitorsOff {
  public:
    explicit MonitorsOff(bool off);
    ~MonitorsOff();
    MonitorsOff(const MonitorsOff&) = delete;
    MonitorsOff& operator=(const MonitorsOff&) = delete;

  private:
    bool off_;
};
