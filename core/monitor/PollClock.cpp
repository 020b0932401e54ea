// The request clock (Timer1) and the polling state it counts.
#include "core/monitor/PollClock.h"

namespace quma {

PollClock::PollClock(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, &PollClock::tick);
}

void PollClock::setLive(bool live) {
    m_live = live;
    if (!live) {
        m_timer.stop();
        return;
    }
    m_timer.setInterval(m_interval);
    if (m_on) m_timer.start();
}

void PollClock::setTimer(bool enabled, int interval) {
    if (interval > 0) m_interval = interval;
    const bool changed = enabled != m_on || interval > 0;
    m_on = enabled;
    if (m_live) {
        m_timer.setInterval(m_interval);
        if (!enabled)
            m_timer.stop();
        else if (!m_timer.isActive())
            m_timer.start();
    }
    if (changed) emit timerChanged(m_on, m_interval);
}

void PollClock::restart() {
    m_state.pollDue = true;
    m_state.unanswered = 0;
    m_state.silent = false;
}

bool PollClock::takeDue() {
    if (!m_state.pollDue) return false;
    m_state.pollDue = false;
    m_state.pollCountdown = 3;
    m_state.transferCountdown = 3;
    return true;
}

void PollClock::pollSent() {
    if (++m_state.unanswered > PollState::SilentAfter && !m_state.silent) {
        m_state.silent = true;
        emit replyStateChanged(false);
    }
}

void PollClock::pollAnswered() {
    m_state.unanswered = 0;
    if (m_state.silent) {
        m_state.silent = false;
        emit replyStateChanged(true);
    }
}

} // namespace quma
