// Line activity lamps: turn one kind of serial port activity into the colour of a control.
#include "core/link/ComSignal.h"

namespace quma {

TComSignal::TComSignal(QObject* parent) : QObject(parent) {
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &TComSignal::TimerTick);
}

TComSignal::~TComSignal() {
    unhook();
}

void TComSignal::setColorOff(quint32 c) {
    m_colorOff = c;
    if (m_control && !m_value) m_control->setColor(c);
}

void TComSignal::setControl(IColorSetter* control) {
    m_control = control;
    if (m_control) m_control->setColor(m_value ? m_colorOn : m_colorOff);
}

void TComSignal::setComPort(TCustomComPort* port) {
    if (port == m_port) return;
    unhook();
    m_port = port;
    if (m_port) hook();
}

void TComSignal::hook() {
    TCustomComPort* p = m_port;
    connect(p, &TCustomComPort::afterOpen, this, &TComSignal::StatusRefresh);
    connect(p, &TCustomComPort::afterClose, this, &TComSignal::StatusRefresh);
    // The lamp forgets a port destroyed before it.
    connect(p, &QObject::destroyed, this, [this] { m_port = nullptr; });
    switch (m_signal) {
    case TSignal::siTxChar:
        connect(p, &TCustomComPort::beforeWrite, this, [this] {
            Pulse();
            m_writing = true;
        });
        connect(p, &TCustomComPort::afterWrite, this, [this] { m_writing = false; });
        break;
    case TSignal::siRxChar:
        connect(p, &TCustomComPort::rxChar, this, &TComSignal::Pulse);
        break;
    case TSignal::siTxEmpty:
        connect(p, &TCustomComPort::txEmpty, this, &TComSignal::Pulse);
        break;
    default:
        break; // no counterpart on this platform
    }
    StatusRefresh();
}

void TComSignal::unhook() {
    if (m_port) disconnect(m_port, nullptr, this, nullptr);
}

void TComSignal::Pulse() {
    setSignalValue(true);
    m_timer.stop();
    m_timer.start();
}

void TComSignal::TimerTick() {
    if (m_signal == TSignal::siTxChar && m_writing) return;
    m_timer.stop();
    setSignalValue(false);
}

void TComSignal::StatusRefresh() {
    // Modem lines are not watched on this platform: every lamp rests at its off colour.
    setSignalValue(false);
}

void TComSignal::setSignalValue(bool v) {
    if (v == m_value) return;
    m_value = v;
    if (m_control) m_control->setColor(v ? m_colorOn : m_colorOff);
    emit signalChanged(v);
}

} // namespace quma
