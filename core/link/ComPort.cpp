// The serial port component on Qt's serial port: line settings, open/close with their events,
// receive notification on the main thread, non-blocking writes and block reads.
#include "core/link/ComPort.h"

#include "core/link/SerialAccess.h"

#include <QFile>
#include <QSerialPort>
#include <cerrno>
#include <sys/stat.h>

namespace quma {

namespace {
const char kClosed[] = "Can't perform this operation on a closed port";
const char kOpen[] = "Can't perform this operation on an open port";

int errnoFor(QSerialPort::SerialPortError e) {
    switch (e) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::OpenError:
        return EBUSY;
    case QSerialPort::ResourceError:
        return EIO;
    case QSerialPort::TimeoutError:
        return ETIMEDOUT;
    default:
        return EIO;
    }
}
} // namespace

int BaudRateValue(TBaudRate rate) {
    static const int kRates[] = {0,     50,    75,    110,   150,   300,    600,    1200,  1800,
                                 2000,  2400,  3600,  4800,  7200,  9600,   10400,  14400, 15625,
                                 19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};
    const int i = static_cast<int>(rate);
    return i < static_cast<int>(sizeof(kRates) / sizeof(kRates[0])) ? kRates[i] : 0;
}

TCustomComPort::TCustomComPort(QObject* parent) : QObject(parent), m_port(new QSerialPort(this)) {
    connect(m_port, &QSerialPort::readyRead, this, &TCustomComPort::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onSerialError(static_cast<int>(e)); });
}

TCustomComPort::~TCustomComPort() {
    // Always close: an open port leaves its lock file behind.
    if (m_port->isOpen()) m_port->close();
}

bool TCustomComPort::Active() const {
    return m_port->isOpen();
}

void TCustomComPort::setActive(bool active) {
    if (active == Active()) return;
    if (active)
        Open();
    else
        Close();
}

void TCustomComPort::Open() {
    if (Active()) return;
    emit beforeOpen();
    OpenDevice();
    if (Active()) emit afterOpen();
}

void TCustomComPort::Close() {
    if (!Active() || m_closing) return;
    m_closing = true;
    emit beforeClose();
    closeDevice();
    m_closing = false;
    if (!Active()) emit afterClose();
}

void TCustomComPort::closeDevice() {
    if (m_port->isOpen()) m_port->close();
}

void TCustomComPort::OpenDevice() {
    closeDevice();
    // A file, a pipe or a folder given as the port: said as such, not as the system's
    // "Inappropriate ioctl for device" once the line settings fail on it.
    const QString path = m_deviceName.startsWith('/') ? m_deviceName : "/dev/" + m_deviceName;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISCHR(st.st_mode)) {
        const char* what = S_ISDIR(st.st_mode)    ? "a folder"
                           : S_ISFIFO(st.st_mode) ? "a named pipe"
                           : S_ISREG(st.st_mode)  ? "a regular file"
                                                  : "not a character device";
        raise(QString("%1 is not a serial port (it is %2)").arg(path, what), ENOTTY);
    }
    m_port->setPortName(m_deviceName);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const auto err = m_port->error();
        const QString text = SerialOpenAdvice(path, err, m_port->errorString());
        closeDevice();
        raise(text, errnoFor(err));
    }
    m_port->clear(QSerialPort::AllDirections);
    m_port->setReadBufferSize(0);
    applyLineSettings();
}

void TCustomComPort::applyLineSettings() {
    if (!Active()) return;
    ++m_applied;
    if (m_baudRate != TBaudRate::brDefault) m_port->setBaudRate(CustomBaudRate());
    if (m_dataBits != TDataBits::dbDefault)
        m_port->setDataBits(static_cast<QSerialPort::DataBits>(static_cast<int>(m_dataBits) + 3));
    switch (m_parity) {
    case TParity::paNone:
        m_port->setParity(QSerialPort::NoParity);
        break;
    case TParity::paOdd:
        m_port->setParity(QSerialPort::OddParity);
        break;
    case TParity::paEven:
        m_port->setParity(QSerialPort::EvenParity);
        break;
    case TParity::paMark:
        m_port->setParity(QSerialPort::MarkParity);
        break;
    case TParity::paSpace:
        m_port->setParity(QSerialPort::SpaceParity);
        break;
    case TParity::paDefault:
        break;
    }
    switch (m_stopBits) {
    case TStopBits::sb1:
        m_port->setStopBits(QSerialPort::OneStop);
        break;
    case TStopBits::sb1_5:
        m_port->setStopBits(QSerialPort::OneAndHalfStop);
        break;
    case TStopBits::sb2:
        m_port->setStopBits(QSerialPort::TwoStop);
        break;
    case TStopBits::sbDefault:
        break;
    }
    m_port->setFlowControl((m_options & Opt::opOutputCTSFlow) ? QSerialPort::HardwareControl
                                                              : QSerialPort::NoFlowControl);
}

void TCustomComPort::setDeviceName(const QString& name) {
    if (name == m_deviceName) return;
    if (Active()) raise(kOpen, 0);
    m_deviceName = name;
}

void TCustomComPort::setBaudRate(TBaudRate rate) {
    if (rate == m_baudRate) return;
    m_baudRate = rate;
    applyLineSettings();
}

int TCustomComPort::CustomBaudRate() const {
    return m_baudRate == TBaudRate::brCustom ? m_customBaud : BaudRateValue(m_baudRate);
}

void TCustomComPort::setCustomBaudRate(int rate) {
    if (rate == CustomBaudRate() && m_baudRate == TBaudRate::brCustom) return;
    m_customBaud = rate;
    m_baudRate = TBaudRate::brCustom;
    applyLineSettings();
}

void TCustomComPort::setDataBits(TDataBits bits) {
    if (bits == m_dataBits) return;
    m_dataBits = bits;
    applyLineSettings();
}

void TCustomComPort::setParity(TParity parity) {
    if (parity == m_parity) return;
    m_parity = parity;
    applyLineSettings();
}

void TCustomComPort::setStopBits(TStopBits bits) {
    if (bits == m_stopBits) return;
    m_stopBits = bits;
    applyLineSettings();
}

void TCustomComPort::setOptions(int options) {
    if (options == m_options) return;
    m_options = options;
    applyLineSettings();
}

int TCustomComPort::Read(char* buffer, int length, bool waitOnCompletion) {
    if (!Active()) raise(kClosed, 0);
    emit beforeRead(buffer, length, waitOnCompletion);
    int got = 0;
    while (got < length) {
        const qint64 n = m_port->read(buffer + got, length - got);
        if (n < 0) break;
        got += static_cast<int>(n);
        if (got < length && (!waitOnCompletion || !m_port->waitForReadyRead(1000))) break;
    }
    if (waitOnCompletion && got != length) raise("Timeout", 0);
    emit afterRead(buffer, got, waitOnCompletion);
    return got;
}

int TCustomComPort::Write(const char* buffer, int length, bool waitOnCompletion) {
    if (!Active()) raise(kClosed, 0);
    emit beforeWrite(buffer, length, waitOnCompletion);
    const qint64 n = length > 0 ? m_port->write(buffer, length) : 0;
    if (n < 0) raise(m_port->errorString(), errnoFor(m_port->error()));
    if (waitOnCompletion && length > 0 && !m_port->waitForBytesWritten(5000)) raise("Timeout", 0);
    emit afterWrite(buffer, length, waitOnCompletion);
    return static_cast<int>(n);
}

int TCustomComPort::ReadString(QByteArray& out) {
    if (!Active()) raise(kClosed, 0);
    out.resize(InputCount());
    const int n = Read(out.data(), static_cast<int>(out.size()), true);
    out.resize(n);
    return n;
}

int TCustomComPort::WriteString(const QByteArray& text) {
    return Write(text.constData(), static_cast<int>(text.size()), false);
}

int TCustomComPort::InputCount() {
    if (!Active()) raise("Bad file descriptor", EBADF);
    return static_cast<int>(m_port->bytesAvailable());
}

void TCustomComPort::raise(const QString& message, int code) {
    EComError e(message, code);
    TComAction action = TComAction::caFail;
    emit error(e, &action);
    if (action == TComAction::caAbort) throw EComAbort();
    throw e;
}

void TCustomComPort::offerError(const QString& message, int code) {
    EComError e(message, code);
    TComAction action = TComAction::caFail;
    emit error(e, &action);
}

void TCustomComPort::onReadyRead() {
    emit rxChar();
}

void TCustomComPort::onSerialError(int error) {
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    // No error (emitted on open) and unsupported modem-line calls on a pseudo-terminal are not
    // failures.
    if (e == QSerialPort::NoError || e == QSerialPort::UnsupportedOperationError) return;
    if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError ||
        e == QSerialPort::WriteError) {
        if (!Active()) return;
        // The device went away (an unplugged adapter, a hung-up pseudo-terminal): close at once,
        // before the notifier reports the same failure again and again.
        const QString text = m_port->errorString();
        m_port->clearError();
        offerError(text, errnoFor(e));
        Close();
    }
}

ControllerPort::ControllerPort(QObject* parent) : TComPort(parent) {
    setBaudRate(TBaudRate::brCustom);
    setCustomBaudRate(115200);
    setDataBits(TDataBits::db8);
    setParity(TParity::paNone);
    setStopBits(TStopBits::sb1);
    setOptions(0);
}

} // namespace quma
