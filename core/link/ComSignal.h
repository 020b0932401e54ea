// Line activity lamps: turn one kind of serial port activity into the colour of a control.
#pragma once

#include "core/link/ComPort.h"

#include <QObject>
#include <QTimer>

namespace quma {

// Whatever shows the lamp: a panel, a label, a test double. Colours are 0xRRGGBB.
class IColorSetter {
public:
    virtual ~IColorSetter() = default;
    virtual void setColor(quint32 rgb) = 0;
};

enum class TSignal {
    siNone,
    siBreak,
    siRxChar,
    siTxChar,
    siCTS,
    siDSR,
    siEvent1,
    siEvent2,
    siLineError,
    siPrinterError,
    siRing,
    siRLSD,
    siRx80PercFull,
    siRxFlag,
    siTxEmpty
};

namespace Rgb {
constexpr quint32 Green = 0x008000, Lime = 0x00FF00, Teal = 0x008080, Navy = 0x000080,
                  Grey = 0x808080, Orange = 0xFFA500;
}

class TComSignal : public QObject {
    Q_OBJECT
public:
    explicit TComSignal(QObject* parent = nullptr);
    ~TComSignal() override;

    static QString about() { return "QUMA line activity lamp 1.0"; }

    quint32 ColorOff() const { return m_colorOff; }
    void setColorOff(quint32 c);
    quint32 ColorOn() const { return m_colorOn; }
    void setColorOn(quint32 c) { m_colorOn = c; }
    TCustomComPort* ComPort() const { return m_port; }
    void setComPort(TCustomComPort* port);
    IColorSetter* Control() const { return m_control; }
    void setControl(IColorSetter* control);
    int Delay() const { return m_timer.interval(); }
    void setDelay(int ms) { m_timer.setInterval(ms); }
    TSignal Signal() const { return m_signal; }
    void setSignal(TSignal s) { m_signal = s; }
    bool SignalValue() const { return m_value; }

    // Lamp steps, public so the owner and tests can drive them.
    void Pulse();
    void TimerTick();
    void StatusRefresh();

signals:
    // The lamp went on or off.
    void signalChanged(bool on);

private:
    void hook();
    void unhook();
    void setSignalValue(bool v);

    quint32 m_colorOff = Rgb::Green;
    quint32 m_colorOn = Rgb::Lime;
    TCustomComPort* m_port = nullptr;
    IColorSetter* m_control = nullptr;
    TSignal m_signal = TSignal::siNone;
    bool m_value = false;
    bool m_writing = false;
    QTimer m_timer;
};

} // namespace quma
