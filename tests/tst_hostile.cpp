// Hostile and broken controllers on loopback TCP and on a pseudo-terminal, against quma-cli:
// it never crashes, never runs past its time-out, keeps its memory under a bound and says in one
// line why it got nothing.
#include <QProcess>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {
// The memory quma-cli may hold whatever its peer does (a Qt program starts at about 20 MB).
constexpr qint64 kRssLimitKb = 64 * 1024;

struct Outcome {
    int rc = -1;
    qint64 ms = 0;
    qint64 peakRssKb = 0;
    qint64 cpuMs = 0; // user and system time, as last sampled
    QString out, err;
};

qint64 rssKb(qint64 pid) {
    QFile f(QString("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

qint64 cpuMs(qint64 pid) {
    QFile f(QString("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray stat = f.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return -1;
    return (fields[11].toLongLong() + fields[12].toLongLong()) * 1000 / ::sysconf(_SC_CLK_TCK);
}

// Runs quma-cli with a 2 s time-out, sampling its resident memory while the peer misbehaves.
Outcome runCli(const QStringList& link, const QString& command = "status") {
    QProcess p;
    p.start(QUMA_CLI_PATH, link + QStringList{"--quiet", "--timeout", "2", command});
    Outcome o;
    if (!p.waitForStarted(5000)) return o;
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 15000) {
        o.peakRssKb = std::max(o.peakRssKb, rssKb(p.processId()));
        if (const qint64 cpu = cpuMs(p.processId()); cpu >= 0) o.cpuMs = cpu;
        QTest::qWait(20);
    }
    o.ms = t.elapsed();
    if (p.state() != QProcess::NotRunning) p.kill();
    p.waitForFinished(1000);
    o.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

// A TCP controller that does `act` with every connection it accepts.
struct HostileServer {
    QTcpServer server;
    std::function<void(QTcpSocket*)> act;
    explicit HostileServer(std::function<void(QTcpSocket*)> a) : act(std::move(a)) {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server.nextPendingConnection())
                act(s);
        });
    }
    QStringList link() const { return {"--tcp", QString("127.0.0.1:%1").arg(server.serverPort())}; }
};

// Keeps the peer's socket full: a megabyte queued at most, topped up as it drains.
void flood(QTcpSocket* s, QByteArray chunk) {
    auto top = [s, chunk] {
        while (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() < (1 << 20))
            s->write(chunk);
    };
    QObject::connect(s, &QTcpSocket::bytesWritten, s, top);
    top();
}

// On the first request, answer with `reply`, one byte every `stepMs`.
void trickle(QTcpSocket* s, const QByteArray& reply, int stepMs) {
    QObject::connect(s, &QTcpSocket::readyRead, s, [s, reply, stepMs] {
        s->readAll();
        auto* t = new QTimer(s);
        auto at = std::make_shared<int>(0);
        QObject::connect(t, &QTimer::timeout, s, [s, t, reply, at] {
            if (*at >= reply.size()) return t->stop();
            s->write(reply.mid((*at)++, 1));
        });
        t->start(stepMs);
    });
}

void checkFailedCleanly(const Outcome& o) {
    QCOMPARE(o.rc, 1);
    QVERIFY2(o.ms < 6000, qPrintable(QString("took %1 ms").arg(o.ms)));
    QVERIFY2(o.peakRssKb < kRssLimitKb, qPrintable(QString("%1 kB").arg(o.peakRssKb)));
    QCOMPARE(o.err.count('\n'), 1);
    qInfo("%s: %lld ms, peak RSS %lld kB, CPU %lld ms", qPrintable(o.err.trimmed()), o.ms,
          o.peakRssKb, o.cpuMs);
}

QByteArray pollReplyHeader(int length) {
    // Transaction id 1 (the first request), protocol 0, the given length, unit 1, function 4.
    QByteArray h = QByteArray::fromHex("00010000");
    h.append(char(length >> 8));
    h.append(char(length & 0xFF));
    return h + QByteArray::fromHex("0104");
}
} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    void tcpGarbage() {
        HostileServer s([](QTcpSocket* c) {
            QObject::connect(c, &QTcpSocket::readyRead, c, [c] {
                c->readAll();
                c->write(QByteArray(64 * 1024, char(0xA5)));
            });
        });
        checkFailedCleanly(runCli(s.link()));
    }

    void tcpTrickledReply() {
        const QByteArray reply = pollReplyHeader(265) + QByteArray(263, 1);
        HostileServer s([reply](QTcpSocket* c) { trickle(c, reply, 100); });
        checkFailedCleanly(runCli(s.link()));
    }

    void tcpHugeLength() {
        HostileServer s([](QTcpSocket* c) {
            QObject::connect(c, &QTcpSocket::readyRead, c, [c] {
                c->readAll();
                c->write(pollReplyHeader(0xFFFF) + QByteArray(300, 7));
            });
        });
        checkFailedCleanly(runCli(s.link()));
    }

    void tcpAcceptThenSilence() {
        HostileServer s([](QTcpSocket* c) {
            QObject::connect(c, &QTcpSocket::readyRead, c, [c] { c->readAll(); });
        });
        const Outcome o = runCli(s.link());
        checkFailedCleanly(o);
        QVERIFY(o.err.contains("no reply"));
    }

    void tcpResetMidReply() {
        HostileServer s([](QTcpSocket* c) {
            QObject::connect(c, &QTcpSocket::readyRead, c, [c] {
                c->readAll();
                c->write(pollReplyHeader(265) + QByteArray(40, 1));
                c->flush();
                c->abort();
            });
        });
        checkFailedCleanly(runCli(s.link()));
    }

    void tcpFlood() {
        HostileServer s([](QTcpSocket* c) { flood(c, QByteArray(64 * 1024, char(0x5A))); });
        checkFailedCleanly(runCli(s.link()));
    }

    // A serial peer that streams colons and hex digits and never a CR.
    void serialStreamWithoutCr() {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        const QByteArray noise = ":" + QByteArray(16 * 1024, 'A');
        QTimer writer;
        QObject::connect(&writer, &QTimer::timeout, [&] {
            char sink[4096];
            while (::read(master, sink, sizeof sink) > 0) {
            }
            for (int i = 0; i < 64; ++i)
                if (::write(master, noise.constData(), size_t(noise.size())) <= 0) break;
        });
        writer.start(1);
        checkFailedCleanly(runCli({"--serial", slave}));
        writer.stop();
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
