// Line activity lamps: turn one kind of serial port activity into the colour of a control.
#include "core/link/ComSignal.h"

namespace quma {

// The handlers a lamp installs on its port; their type tells whose handler a port holds.
struct TComSignal::Hook {
    TComSignal* lamp;
    int which; // 0 after open, 1 after close, 2 notify, 3 before write, 4 after write
    void operator()(TCustomComPort& port) const {
        if (which == 0 || which == 1) {
            lamp->StatusRefresh();
            auto& saved = which == 0 ? lamp->m_savedAfterOpen : lamp->m_savedAfterClose;
            if (saved) saved(port);
        } else {
            lamp->Pulse();
            if (lamp->m_savedNotify) lamp->m_savedNotify(port);
        }
    }
    void operator()(TCustomComPort& port, const char* buf, int len, bool wait) const {
        if (which == 3) {
            lamp->Pulse();
            lamp->m_writing = true;
            if (lamp->m_savedBeforeWrite) lamp->m_savedBeforeWrite(port, buf, len, wait);
        } else {
            lamp->m_writing = false;
            if (lamp->m_savedAfterWrite) lamp->m_savedAfterWrite(port, buf, len, wait);
        }
    }
};

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

namespace {
TCustomComPort::NotifyEvent* notifySlot(TCustomComPort& p, TSignal s) {
    switch (s) {
    case TSignal::siRxChar:
        return &p.OnRxChar;
    case TSignal::siTxEmpty:
        return &p.OnTxEmpty;
    default:
        return nullptr; // no counterpart on this platform
    }
}
} // namespace

void TComSignal::hook() {
    TCustomComPort& p = *m_port;
    m_savedAfterOpen = p.AfterOpen;
    m_savedAfterClose = p.AfterClose;
    p.AfterOpen = Hook{this, 0};
    p.AfterClose = Hook{this, 1};
    if (m_signal == TSignal::siTxChar) {
        m_savedBeforeWrite = p.BeforeWrite;
        m_savedAfterWrite = p.AfterWrite;
        p.BeforeWrite = Hook{this, 3};
        p.AfterWrite = Hook{this, 4};
    } else if (auto* slot = notifySlot(p, m_signal)) {
        m_savedNotify = *slot;
        *slot = Hook{this, 2};
    }
    StatusRefresh();
}

void TComSignal::unhook() {
    if (!m_port) return;
    TCustomComPort& p = *m_port;
    const auto restore = [this](auto& slot, auto& saved) {
        const Hook* h = slot.template target<Hook>();
        if (h && h->lamp == this) slot = saved;
        saved = nullptr;
    };
    restore(p.AfterOpen, m_savedAfterOpen);
    restore(p.AfterClose, m_savedAfterClose);
    restore(p.BeforeWrite, m_savedBeforeWrite);
    restore(p.AfterWrite, m_savedAfterWrite);
    if (auto* slot = notifySlot(p, m_signal)) restore(*slot, m_savedNotify);
    m_savedNotify = nullptr;
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
    if (OnSignal) OnSignal(*this);
}

} // namespace quma
