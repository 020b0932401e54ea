// Pure steps of the status-page animations: the power-flow frames and the alarm-test notice.
#include "core/monitor/PowerFlow.h"

namespace quma {

FlowState StepFlow(FlowState s, const RegisterImage& img) {
    const auto next = [](int f) { return f >= 10 ? 0 : f + 1; };
    s.showBattStrip = img[Reg::BattInstalled] != 0;
    if (img[Reg::AcVolts] <= 50) {
        s.sys = next(s.sys);
    } else {
        s.ac = next(s.ac);
        s.rect = (s.rect < 10 && s.flags != 0) ? s.rect + 1 : 0;
        if (img[Reg::LoadAmps] > 0) {
            s.sys = s.ac;
            s.flags |= 4;
        } else {
            s.flags &= ~(4 | 16);
        }
    }
    const auto battery = static_cast<std::int16_t>(img[Reg::BattAmps] & 0xFFFF);
    const bool installed = img[Reg::BattInstalled] == 1;
    if (battery < 0) {
        s.batt = s.batt <= 0 ? 10 : s.batt - 1;
        s.showCharge = false;
        s.showDischarge = installed;
    } else if (battery == 0) {
        s.showCharge = false;
        s.showDischarge = installed;
        s.flags &= ~1;
    } else {
        s.batt = next(s.batt);
        s.showCharge = installed;
        s.showDischarge = false;
        s.flags |= 1;
    }
    return s;
}

NoticeStep StepNotice(int counter) {
    NoticeStep r;
    if (counter == 30) {
        counter = 0;
        r.changed = true;
        r.visible = true;
    } else if (counter == 10) {
        r.changed = true;
        r.visible = false;
    }
    r.counter = counter + 1;
    return r;
}

} // namespace quma
