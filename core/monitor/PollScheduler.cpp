// The request clock (Timer1), the alarm change check (Timer3) and the animation steps.
#include "core/monitor/PollScheduler.h"

#include "core/monitor/MonitorEngine.h"

namespace quma {

void MonitorEngine::Timer1Timer() {
    std::uint8_t& mode = m_link.rectMode;
    const bool serial = m_link.linkKind() == LinkKind::Serial;
    TransferState& t = m_transfer;
    if (m_poll.pollDue) {
        m_poll.pollDue = false;
        m_poll.pollCountdown = 3;
        m_poll.transferCountdown = 3;
        m_link.trace("RectMode >> " + QByteArray(" [ ") + IntToHexN(mode, 2) + " ]");
        // Page requests are repeated only for a transfer that still expects this record.
        const bool paging = t.active && t.recordTotal >= t.recordIndex;
        switch (mode) {
        case RectMode::Poll:
            setTimer1(m_timer1On, serial ? 200 : 300);
            m_link.ReadPara(m_link.pollStart, m_link.pollCountHex);
            pollSent();
            break;
        case RectMode::NetRead:
            m_link.ReadEnv(serial ? "22" : "41");
            mode = RectMode::Poll;
            break;
        case RectMode::HistoryPaging:
        case RectMode::EventPaging:
            // The same page again, a bounded number of times.
            if (paging) repeatTransferRequest();
            break;
        default:
            break;
        }
    }
    // A serial count query that got no reply is asked again (over TCP the exchange's own
    // time-out does it).
    if (mode == RectMode::LogTransfer && serial && t.active && !t.counted && t.attempts > 0 &&
        ++t.quietTicks >= TransferState::CountRepeatTicks)
        repeatTransferRequest();
    if (mode == RectMode::TransferWait) {
        if (--m_poll.transferCountdown == 0) m_poll.pollDue = true;
    }
    if (mode <= 11) {
        if (--m_poll.pollCountdown == 0) m_poll.pollDue = true;
    }
    if ((mode >= 4 && mode <= 17) || (mode >= 31 && mode <= 52)) {
        if (--m_poll.pollCountdown == 0) mode = RectMode::Setting;
    }
}

void MonitorEngine::Timer3Timer() {
    AlarmWatch& a = m_alarms;
    if (a.phase == 2 && a.viewReady) {
        a.phase = 3;
        a.masked1 = m_image[Reg::Alarm1] & a.mask1;
        a.masked2 = m_image[Reg::Alarm2] & a.mask2;
        emit alarmTreeUpdate();
    }
    bool changed = false;
    const int m1 = m_image[Reg::Alarm1] & a.mask1;
    const int m2 = m_image[Reg::Alarm2] & a.mask2;
    if (m1 != a.masked1) {
        a.masked1 = m1;
        changed = true;
    }
    if (m2 != a.masked2) {
        a.masked2 = m2;
        changed = true;
    }
    if (changed && a.viewReady) emit alarmTreeUpdate();
}

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
