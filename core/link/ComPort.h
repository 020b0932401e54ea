// The serial port component on Qt's serial port: line settings, open/close with their events,
// receive notification on the main thread, non-blocking writes and block reads.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <stdexcept>

class QSerialPort;

namespace quma {

// A port error: the message and the platform error number (0 for the component's own errors).
class EComError : public std::runtime_error {
public:
    EComError(const QString& message, int code)
        : std::runtime_error(message.toStdString()), ErrorCode(code) {}
    int ErrorCode;
};

// A silent abort: an operation ended by an error listener that chose caAbort.
struct EComAbort : std::exception {};

enum class TBaudRate {
    brDefault,
    br50,
    br75,
    br110,
    br150,
    br300,
    br600,
    br1200,
    br1800,
    br2000,
    br2400,
    br3600,
    br4800,
    br7200,
    br9600,
    br10400,
    br14400,
    br15625,
    br19200,
    br28800,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    brCustom
};
enum class TDataBits { dbDefault, db4, db5, db6, db7, db8 };
enum class TParity { paDefault, paNone, paOdd, paEven, paMark, paSpace };
enum class TStopBits { sbDefault, sb1, sb1_5, sb2 };
enum class TComAction { caFail, caAbort };

// Bits of the Options set.
namespace Opt {
constexpr int opCheckParity = 0x2, opOutputCTSFlow = 0x4, opOutputDSRFlow = 0x8,
              opDSRSensitivity = 0x40, opTXContinueOnXOff = 0x80, opUseErrorChar = 0x400,
              opDiscardNullBytes = 0x800, opAbortOnError = 0x4000;
}

int BaudRateValue(TBaudRate rate);

class TCustomComPort : public QObject {
    Q_OBJECT
public:
    explicit TCustomComPort(QObject* parent = nullptr);
    ~TCustomComPort() override;

    static QString about() { return "QUMA serial port component 1.0"; }

    bool Active() const;
    void setActive(bool active);
    void Open();
    void Close();

    QString DeviceName() const { return m_deviceName; }
    void setDeviceName(const QString& name);
    TBaudRate BaudRate() const { return m_baudRate; }
    void setBaudRate(TBaudRate rate);
    int CustomBaudRate() const;
    void setCustomBaudRate(int rate);
    TDataBits DataBits() const { return m_dataBits; }
    void setDataBits(TDataBits bits);
    TParity Parity() const { return m_parity; }
    void setParity(TParity parity);
    TStopBits StopBits() const { return m_stopBits; }
    void setStopBits(TStopBits bits);
    int Options() const { return m_options; }
    void setOptions(int options);

    // Block transfers; both raise on a closed port.
    int Read(char* buffer, int length, bool waitOnCompletion);
    int Write(const char* buffer, int length, bool waitOnCompletion);
    // All queued input (empty when nothing waits; the read events still fire with Length 0).
    int ReadString(QByteArray& out);
    // Starts the write and returns at once.
    int WriteString(const QByteArray& text);
    int InputCount();

    // How often the line settings were applied to an open device (each open counts once).
    int settingsApplied() const { return m_applied; }

signals:
    void beforeOpen();
    void afterOpen();
    void beforeClose();
    void afterClose();
    void beforeRead(const char* buffer, int length, bool wait);
    void afterRead(const char* buffer, int length, bool wait);
    void beforeWrite(const char* buffer, int length, bool wait);
    void afterWrite(const char* buffer, int length, bool wait);
    // Bytes wait to be read.
    void rxChar();
    void txEmpty();
    // A port error; a listener connected directly may set *action to caAbort, which turns the
    // error into a silent abort (EComAbort).
    void error(const quma::EComError& e, quma::TComAction* action);

protected:
    virtual void OpenDevice();

private:
    void closeDevice();
    void applyLineSettings();
    [[noreturn]] void raise(const QString& message, int code);
    void offerError(const QString& message, int code);
    void onReadyRead();
    void onSerialError(int error);

    QSerialPort* m_port;
    QString m_deviceName = "COM1";
    TBaudRate m_baudRate = TBaudRate::brDefault;
    int m_customBaud = 0;
    TDataBits m_dataBits = TDataBits::dbDefault;
    TParity m_parity = TParity::paDefault;
    TStopBits m_stopBits = TStopBits::sbDefault;
    int m_options = 0;
    int m_applied = 0;
    bool m_closing = false;
};

class TComPort : public TCustomComPort {
    Q_OBJECT
public:
    using TCustomComPort::TCustomComPort;
};

// The main window's port: 115200 8N1, no options.
class ControllerPort : public TComPort {
    Q_OBJECT
public:
    explicit ControllerPort(QObject* parent = nullptr);
};

} // namespace quma
