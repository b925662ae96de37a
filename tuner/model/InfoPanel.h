// The texts of the draw-test page's information panel for the last touch or stylus information
// record, placed as the panel shows them.
#pragma once

#include "model/DrawOps.h"
#include "model/DrawReports.h"

namespace tuner {

inline constexpr int kPanelCharWidth = 6;  // items of a line follow each other at this pitch
inline constexpr int kPanelLinePitch = 14;

DrawOps TouchInfoPanel(const TouchInfo& info);
DrawOps StylusInfoPanel(const StylusInfo& info, bool hexDebug);

}  // namespace tuner
