// The alarm tree's start-up steps and the alarm-word check of Timer3.
#include "core/monitor/AlarmWatch.h"

namespace quma {

AlarmWatch::AlarmWatch(const RegisterImage& image, QObject* parent)
    : QObject(parent), m_image(image) {
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &AlarmWatch::tick);
}

void AlarmWatch::setLive(bool live) {
    m_live = live;
    if (!live)
        m_timer.stop();
    else if (m_timerOn)
        m_timer.start();
}

void AlarmWatch::imageRefreshed() {
    State& a = m_state;
    if (a.phase == 0) a.phase = 1;
    if (a.phase == 1) {
        a.phase = 2;
        a.battery = m_image[Reg::BattInstalled];
        emit treeBuild(m_image, a.mask1, a.mask2);
        a.viewReady = true;
        m_timerOn = true;
        if (m_live && !m_timer.isActive()) m_timer.start();
        emit timerChanged(true);
        tick();
    }
    if (a.phase == 3 && m_image[Reg::BattInstalled] != a.battery) {
        a.phase = 0;
        a.battery = m_image[Reg::BattInstalled];
        a.viewReady = false;
        emit treeRemove();
    }
}

void AlarmWatch::tick() {
    State& a = m_state;
    if (a.phase == 2 && a.viewReady) {
        a.phase = 3;
        a.masked1 = m_image[Reg::Alarm1] & a.mask1;
        a.masked2 = m_image[Reg::Alarm2] & a.mask2;
        emit treeUpdate(m_image, a.mask1, a.mask2);
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
    if (changed && a.viewReady) emit treeUpdate(m_image, a.mask1, a.mask2);
}

} // namespace quma
