// The simulated controller on the wire: a TCP server and a pseudo-terminal serial line, with
// injected faults.
#include "sim/SimServer.h"

#include "core/link/FrameCodec.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace quma::sim {

SimServer::SimServer(const SimOptions& options, QObject* parent)
    : QObject(parent), m_model(options) {
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            if (oneSession && !m_buffers.isEmpty()) {
                s->abort();
                s->deleteLater();
                continue;
            }
            ++m_accepted;
            m_buffers.insert(s, {});
            connect(s, &QTcpSocket::readyRead, this, [this, s] { onTcpData(s); });
            connect(s, &QTcpSocket::disconnected, this, [this, s] {
                m_buffers.remove(s);
                s->deleteLater();
            });
        }
    });
    connect(&m_ticker, &QTimer::timeout, this, [this] { m_model.tick(); });
    m_lineClock.start();
    m_lineTimer.setSingleShot(true);
    m_lineTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_lineTimer, &QTimer::timeout, this, &SimServer::writeDueSerial);
}

SimServer::~SimServer() {
    closePty();
    // The connections go first: their signals must not reach a half-destroyed server.
    for (QTcpSocket* s : m_buffers.keys()) {
        s->disconnect(this);
        delete s;
    }
}

bool SimServer::listenTcp(const QHostAddress& address, quint16 port) {
    return m_server.listen(address, port);
}

void SimServer::dropTcpConnections() {
    for (QTcpSocket* s : m_buffers.keys())
        s->abort();
}

void SimServer::startTicking(int ms) {
    if (ms <= 0)
        m_ticker.stop();
    else
        m_ticker.start(ms);
}

void SimServer::onTcpData(QTcpSocket* s) {
    QByteArray& buf = m_buffers[s];
    buf += s->readAll();
    while (buf.size() >= 6) {
        const int length = (uchar(buf[4]) << 8) | uchar(buf[5]);
        if (buf.size() < 6 + length) return;
        const QByteArray frame = buf.left(6 + length);
        buf.remove(0, 6 + length);
        if (length < 2) continue;
        const quint16 tid = quint16((uchar(frame[0]) << 8) | uchar(frame[1]));
        const quint8 fn = uchar(frame[7]);
        std::optional<QByteArray> data = replay ? replay->tcp(fn, frame.mid(8)) : std::nullopt;
        if (!data) {
            if (replay)
                unrecorded(QString("TCP function %1 with %2")
                               .arg(QString::fromLatin1(IntToHexN(fn, 2)))
                               .arg(QString::fromLatin1(frame.mid(8).toHex())));
            data = m_model.tcpReply(fn, frame.mid(8));
        }
        ++m_served;
        emit requestServed(fn);
        if (!data) continue;
        ++m_replies;
        if (fault(faults.dropEvery)) continue;
        if (fault(faults.disconnectEvery)) {
            s->disconnectFromHost();
            return;
        }
        QByteArray reply = TcpFrame(fault(faults.badLrcEvery) ? quint16(tid + 1) : tid, fn, *data);
        if (fault(faults.shortEvery)) reply.chop(reply.size() / 2);
        if (fault(faults.longEvery)) reply += QByteArray(5, char(0xEE));
        if (fault(faults.garbageEvery)) reply.prepend("\xAA\x55\xAA");
        if (faults.delayMs > 0) {
            QTimer::singleShot(faults.delayMs, s, [s, reply] { s->write(reply); });
        } else {
            s->write(reply);
        }
    }
}

bool SimServer::openPty(const QString& linkName) {
    closePty();
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) return false;
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        closePty();
        return false;
    }
    m_ptyPath = QString::fromLocal8Bit(name);
    // Keep a slave open in raw mode: nothing is echoed, and the line stays up between the
    // console's opens and closes.
    m_slaveKeep = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slaveKeep >= 0) {
        termios t{};
        tcgetattr(m_slaveKeep, &t);
        cfmakeraw(&t);
        tcsetattr(m_slaveKeep, TCSANOW, &t);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SimServer::onPtyData);
    if (!linkName.isEmpty()) {
        QFile::remove(linkName);
        if (!QFile::link(m_ptyPath, linkName)) return false;
        m_linkName = linkName;
    }
    return true;
}

void SimServer::closePty() {
    m_notifier.reset();
    if (m_slaveKeep >= 0) ::close(m_slaveKeep);
    if (m_master >= 0) ::close(m_master);
    m_slaveKeep = m_master = -1;
    if (!m_linkName.isEmpty()) QFile::remove(m_linkName);
    m_linkName.clear();
    m_serialBuffer.clear();
}

void SimServer::onPtyData() {
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0) break;
        m_serialBuffer.append(chunk, int(n));
    }
    for (;;) {
        const int start = m_serialBuffer.indexOf(':');
        if (start < 0) {
            m_serialBuffer.clear();
            return;
        }
        const int end = m_serialBuffer.indexOf("\r\n", start);
        if (end < 0) {
            m_serialBuffer.remove(0, start);
            return;
        }
        const QByteArray frame = m_serialBuffer.mid(start, end + 2 - start);
        m_serialBuffer.remove(0, end + 2);
        AsciiReply req;
        if (!ValidateAsciiFrame(frame, &req)) continue; // a real controller ignores it too
        QByteArray hex = req.text.mid(1);
        hex.chop(2);
        const QByteArray request = HexToBytes(hex);
        std::optional<QByteArray> replayed = replay ? replay->serial(request) : std::nullopt;
        if (replay && !replayed) unrecorded("serial " + QString::fromLatin1(req.text));
        const QByteArray reply = replayed ? *replayed : m_model.serialReply(request);
        ++m_served;
        emit requestServed(uchar(HexToInt(req.function)));
        if (reply.isEmpty()) continue;
        ++m_replies;
        if (fault(faults.dropEvery)) continue;
        QByteArray out = AsciiFrame(BytesToHex(reply));
        if (fault(faults.badLrcEvery)) out[out.size() - 3] = out[out.size() - 3] == '0' ? '1' : '0';
        if (fault(faults.shortEvery)) out = out.left(out.size() / 2) + "\r\n";
        if (fault(faults.garbageEvery)) out.prepend(QByteArray("\x00\xFFnoise\r\n", 9));
        if (fault(faults.longEvery)) out += "junk";
        sendSerial(out, frame.size());
    }
}

void SimServer::writeToPty(const QByteArray& bytes) {
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EAGAIN) continue;
        if (n <= 0) return;
        done += n;
    }
}

void SimServer::sendSerial(QByteArray bytes, qsizetype requestBytes) {
    if (paceBaud <= 0) {
        if (faults.delayMs > 0)
            QTimer::singleShot(faults.delayMs, this, [this, bytes] { writeToPty(bytes); });
        else
            writeToPty(bytes);
        return;
    }
    // The request took the line first (the pseudo-terminal handed it over at once), then the
    // controller's delay, then the reply, piece by piece at the line's rate.
    const qint64 now = m_lineClock.nsecsElapsed() / 1000;
    qint64 at =
        std::max(now, m_lineFreeMicros) + wireMicros(requestBytes) + qint64(faults.delayMs) * 1000;
    const qsizetype piece = std::max<qsizetype>(1, paceBaud / 10 / 500); // about 2 ms of wire
    for (qsizetype i = 0; i < bytes.size(); i += piece) {
        const QByteArray part = bytes.mid(i, piece);
        at += wireMicros(part.size());
        m_lineQueue.append({at, part});
    }
    m_lineFreeMicros = at;
    writeDueSerial();
}

void SimServer::writeDueSerial() {
    const qint64 now = m_lineClock.nsecsElapsed() / 1000;
    // Timers keep whole milliseconds: a piece due within half of one goes now. The line stays
    // busy until its exact end all the same, so the pace never beats the wire.
    while (!m_lineQueue.isEmpty() && m_lineQueue.first().first <= now + 500)
        writeToPty(m_lineQueue.takeFirst().second);
    if (!m_lineQueue.isEmpty())
        m_lineTimer.start(int(std::max<qint64>(0, (m_lineQueue.first().first - now) / 1000)));
}

void SimServer::unrecorded(const QString& request) {
    emit unrecordedAnswered(
        QString("replay: %1 was not recorded; answered as the plain simulator").arg(request));
}

} // namespace quma::sim
