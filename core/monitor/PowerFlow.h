// Pure steps of the status-page animations: the power-flow frames and the alarm-test notice.
#pragma once

#include "core/monitor/RegisterMap.h"

namespace quma {

// Which of the eleven frames of each power-flow strip is visible, and the flow flags.
struct FlowState {
    int ac = 0, rect = 0, batt = 0, sys = 0; // 0..10
    int flags = 0;              // 1 charging, 4 load current flowing (16 cleared with it)
    bool showCharge = false;    // Image_BattCh
    bool showDischarge = false; // Image_BattDCh
    bool showBattStrip = false; // battery strip visible (battery installed)
};

// One Timer4 tick: the frames shown are those of the state on entry; the state then advances.
FlowState StepFlow(FlowState s, const RegisterImage& img);

// One Timer6 tick: the notice counter and whether the notice is shown afterwards
// (unchanged when `changed` is false).
struct NoticeStep {
    int counter = 0;
    bool changed = false;
    bool visible = false;
};
NoticeStep StepNotice(int counter);

} // namespace quma
