// The serial port component, the activity lamps, the port names and the TCP client.
#include "core/link/ComPort.h"
#include "core/link/ComSignal.h"
#include "core/link/Deadlines.h"
#include "core/link/PortList.h"
#include "core/link/TcpClient.h"
#include "sim/SimServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <sys/stat.h>

using namespace quma;

namespace {
struct Recorder : IColorSetter {
    QList<quint32> colours;
    void setColor(quint32 rgb) override { colours << rgb; }
};
} // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void portOpensPtyAndIgnoresRepeatedSettings() {
        sim::SimServer sim;
        QVERIFY(sim.openPty());
        ControllerPort port;
        port.setDeviceName(sim.ptyPath());
        QStringList events;
        QObject::connect(&port, &TCustomComPort::beforeOpen, [&] { events << "BeforeOpen"; });
        QObject::connect(&port, &TCustomComPort::afterOpen, [&] { events << "AfterOpen"; });
        QObject::connect(&port, &TCustomComPort::beforeClose, [&] { events << "BeforeClose"; });
        QObject::connect(&port, &TCustomComPort::afterClose, [&] { events << "AfterClose"; });
        port.Open();
        QVERIFY(port.Active());
        QCOMPARE(port.CustomBaudRate(), 115200);
        const int applied = port.settingsApplied();
        port.setCustomBaudRate(115200);
        port.setDataBits(TDataBits::db8);
        port.setParity(TParity::paNone);
        port.setDeviceName(sim.ptyPath()); // same name on an open port: no error
        QCOMPARE(port.settingsApplied(), applied);
        port.setCustomBaudRate(57600);
        QCOMPARE(port.settingsApplied(), applied + 1);
        QCOMPARE(port.BaudRate(), TBaudRate::brCustom);
        try {
            port.setDeviceName("/dev/other");
            QFAIL("renaming an open port must fail");
        } catch (const EComError& e) {
            QCOMPARE(QString(e.what()), QString("Can't perform this operation on an open port"));
            QCOMPARE(e.ErrorCode, 0);
        }
        port.Close();
        QCOMPARE(events, (QStringList{"BeforeOpen", "AfterOpen", "BeforeClose", "AfterClose"}));
    }

    void closedPortOperationsRaise() {
        ControllerPort port;
        QByteArray text;
        try {
            port.ReadString(text);
            QFAIL("no error");
        } catch (const EComError& e) {
            QCOMPARE(QString(e.what()), QString("Can't perform this operation on a closed port"));
            QCOMPARE(e.ErrorCode, 0);
        }
        QVERIFY_THROWS_EXCEPTION(EComError, port.WriteString("x"));
    }

    void missingDeviceRaisesPlatformError() {
        ControllerPort port;
        port.setDeviceName("/dev/quma-no-such-port");
        int afterOpen = 0;
        QObject::connect(&port, &TCustomComPort::afterOpen, [&] { ++afterOpen; });
        try {
            port.Open();
            QFAIL("no error");
        } catch (const EComError& e) {
            QCOMPARE(e.ErrorCode, ENOENT);
            QVERIFY(!QString(e.what()).isEmpty());
        }
        QVERIFY(!port.Active());
        QCOMPARE(afterOpen, 0);
        // An error listener choosing abort turns it into a silent abort.
        QObject::connect(&port, &TCustomComPort::error,
                         [](const EComError&, TComAction* a) { *a = TComAction::caAbort; });
        QVERIFY_THROWS_EXCEPTION(EComAbort, port.Open());
    }

    // A regular file, a named pipe or a folder given as the port is named as what it is.
    void notASerialPort_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("file") << "a regular file";
        QTest::newRow("fifo") << "a named pipe";
        QTest::newRow("folder") << "a folder";
    }
    void notASerialPort() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("port");
        if (kind == "a regular file") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == "a named pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(QDir(dir.path()).mkdir("port"));
        }
        ControllerPort port;
        port.setDeviceName(path);
        try {
            port.Open();
            QFAIL("no error");
        } catch (const EComError& e) {
            QCOMPARE(QString(e.what()),
                     QString("%1 is not a serial port (it is %2)").arg(path, kind));
        }
        QVERIFY(!port.Active());
    }

    void readStringAndCloseFromRxChar() {
        sim::SimServer sim;
        QVERIFY(sim.openPty());
        ControllerPort port;
        port.setDeviceName(sim.ptyPath());
        port.Open();
        QList<int> readLengths;
        QObject::connect(&port, &TCustomComPort::afterRead,
                         [&](const char*, int len, bool) { readLengths << len; });
        QByteArray empty;
        QCOMPARE(port.ReadString(empty), 0);
        QCOMPARE(readLengths, QList<int>{0});
        QByteArray got;
        int rx = 0;
        QObject::connect(&port, &TCustomComPort::rxChar, [&] {
            ++rx;
            port.ReadString(got);
            port.Close(); // allowed from inside the receive event
        });
        int writes = 0;
        QObject::connect(&port, &TCustomComPort::afterWrite, [&] { ++writes; });
        port.WriteString(":0122DD\r\n"); // the network identity read
        QTRY_VERIFY_WITH_TIMEOUT(!port.Active(), 3000);
        QCOMPARE(writes, 1);
        QCOMPARE(rx, 1);
        QVERIFY(got.startsWith(":01B2"));
    }

    void portNames() {
        QCOMPARE(PortDeviceName("COM3"), QString("COM3"));
        QCOMPARE(PortDeviceName("COM12"), QString("\\\\.\\COM12"));
        QCOMPARE(PortDisplayName("\\\\.\\COM12"), QString("COM12"));
        QCOMPARE(PortDeviceName("COMX"), QString("COMX"));
        QCOMPARE(PortDeviceName("/dev/pts/3"), QString("/dev/pts/3"));
        QCOMPARE(PortDisplayName("/dev/ttyUSB0"), QString("ttyUSB0"));
        QCOMPARE(PortDisplayName("/dev/pts/3"), QString("/dev/pts/3"));
        QVERIFY(!ProbePort("/dev/quma-no-such-port"));
        // Every listed port passed the exclusive-open probe.
        for (const QString& p : EnumerateSerialPorts(true))
            QVERIFY(ProbePort(PortDeviceName(p)));
    }

    void lampPulsesAndFollowsWrites() {
        sim::SimServer sim;
        QVERIFY(sim.openPty());
        ControllerPort port;
        port.setDeviceName(sim.ptyPath());
        Recorder tx;
        TComSignal lamp;
        lamp.setColorOff(Rgb::Teal);
        lamp.setColorOn(Rgb::Navy);
        lamp.setSignal(TSignal::siTxChar);
        lamp.setControl(&tx);
        int userWrites = 0;
        QObject::connect(&port, &TCustomComPort::afterWrite, [&] { ++userWrites; });
        lamp.setComPort(&port);
        QCOMPARE(tx.colours.last(), Rgb::Teal); // closed port: off colour
        port.Open();
        port.WriteString(":0122DD\r\n");
        QCOMPARE(tx.colours.last(), Rgb::Navy);
        QCOMPARE(userWrites, 1); // the saved handler still runs
        lamp.TimerTick();
        QCOMPARE(tx.colours.last(), Rgb::Teal);
        // A second pulse restarts the delay.
        lamp.Pulse();
        QVERIFY(lamp.SignalValue());
        QTRY_VERIFY_WITH_TIMEOUT(!lamp.SignalValue(), 1000);
        // Unhooked, the lamp follows the port no more; the port's other listeners stay.
        lamp.setComPort(nullptr);
        port.WriteString(":0122DD\r\n");
        QCOMPARE(userWrites, 2);
        QVERIFY(!lamp.SignalValue());
        port.Close();
    }

    void receiveLampFollowsTheReceiveEvent() {
        ControllerPort port;
        int handled = 0;
        QObject::connect(&port, &TCustomComPort::rxChar, [&] { ++handled; });
        Recorder rx;
        TComSignal lamp;
        lamp.setSignal(TSignal::siRxChar);
        lamp.setControl(&rx);
        lamp.setComPort(&port);
        emit port.rxChar();
        QCOMPARE(handled, 1);
        QCOMPARE(rx.colours.last(), Rgb::Lime);
        TComSignal other;
        other.setSignal(TSignal::siRxChar);
        other.setComPort(&port);
        emit port.rxChar();
        QCOMPARE(handled, 2);
        QVERIFY(other.SignalValue());
        // A lamp unhooked, or outliving its port, is left alone.
        other.setComPort(nullptr);
        lamp.TimerTick();
        emit port.rxChar();
        QCOMPARE(handled, 3);
        QVERIFY(lamp.SignalValue());
        {
            ControllerPort gone;
            other.setComPort(&gone);
        }
        other.setComPort(nullptr);
    }

    void hostAndPort() {
        QString h;
        quint16 p = 0;
        QVERIFY(ParseHostPort("192.168.50.92", &h, &p));
        QCOMPARE(p, quint16(502));
        QVERIFY(ParseHostPort(" localhost:1502 ", &h, &p));
        QCOMPARE(h, QString("localhost"));
        QCOMPARE(p, quint16(1502));
        QVERIFY(!ParseHostPort("host:99999", &h, &p));
        QVERIFY(!ParseHostPort("", &h, &p));
    }

    void tcpConnectRefusedAndCancelled() {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close(); // nothing listens there now
        TcpClient c;
        c.Host = "127.0.0.1";
        c.Port = port;
        int disconnected = 0;
        QObject::connect(&c, &TcpClient::disconnected, [&] { ++disconnected; });
        QSignalSpy done(&c, &TcpClient::connectFinished);
        c.Connect();
        QVERIFY(done.wait(3000));
        QCOMPARE(done.first().first().toBool(), false);
        // Disconnect says disconnected even when nothing was connected.
        c.Disconnect();
        QCOMPARE(disconnected, 1);
        // An address that never answers: the attempt can be cancelled.
        c.Host = "10.255.255.1";
        c.Port = 502;
        c.ConnectTimeout = 120000;
        done.clear();
        c.Connect();
        QVERIFY(c.Connecting());
        c.CancelConnect();
        QCOMPARE(done.count(), 1);
        QVERIFY(!c.Connecting());
    }

    // Many time-outs on one timer: in order of their deadlines, a cancelled one never, and a
    // callback may add and cancel others.
    void deadlinesFireInOrder() {
        DeadlineQueue queue;
        QStringList fired;
        queue.schedule(60, [&] { fired << "c"; });
        const auto cancelled = queue.schedule(30, [&] { fired << "never"; });
        queue.schedule(20, [&] {
            fired << "a";
            queue.cancel(cancelled);
            queue.schedule(0, [&] { fired << "b"; });
        });
        QTRY_COMPARE(fired, (QStringList{"a", "b", "c"}));
        QCOMPARE(queue.pending(), std::size_t(0));
        Timeout shared([&] { fired << "shared"; });
        shared.share(&queue);
        shared.start(10);
        QVERIFY(shared.isActive());
        shared.stop();
        shared.start(10);
        QTRY_COMPARE(fired.last(), QString("shared"));
        QCOMPARE(fired.count("shared"), 1);
        QVERIFY(!shared.isActive());
    }

    // The same exchanges with the client's own timers and in the fleet agent's mode (time-outs
    // in a shared queue, an unbuffered socket).
    void tcpExchangesInOrderWithTimeouts_data() {
        QTest::addColumn<bool>("fleet");
        QTest::newRow("own timers") << false;
        QTest::newRow("fleet mode") << true;
    }
    void tcpExchangesInOrderWithTimeouts() {
        QFETCH(bool, fleet);
        DeadlineQueue queue;
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QList<QByteArray> received;
        QTcpSocket* peer = nullptr;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            peer = server.nextPendingConnection();
            connect(peer, &QTcpSocket::readyRead, this, [&] { received << peer->readAll(); });
        });
        TcpClient c;
        if (fleet) c.useFleetMode(&queue);
        c.Host = "127.0.0.1";
        c.Port = server.serverPort();
        QSignalSpy done(&c, &TcpClient::connectFinished);
        c.Connect();
        QVERIFY(done.wait(3000));
        QVERIFY(c.Connected());
        QList<QPair<int, QByteArray>> replies;
        QObject::connect(&c, &TcpClient::exchangeFinished,
                         [&](const TcpRequest& r, const QByteArray& b, bool complete) {
                             replies.append({complete ? r.function : -r.function, b});
                         });
        c.exchange({"AAAA", 4, 1, 1});
        c.exchange({"BBBB", 2, 2, 2});
        QVERIFY(c.isQueued(2));
        QTRY_COMPARE(received.size(), 1); // the second waits for the first
        peer->write("12"); // short: the first exchange times out after 1000 ms of silence
        QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 1, 3000);
        QCOMPARE(replies[0].first, -1);
        QTRY_COMPARE(received.join(), QByteArray("AAAABBBB"));
        peer->write("xy");
        QTRY_COMPARE(replies.size(), 2);
        QCOMPARE(replies[1], (QPair<int, QByteArray>{2, "xy"}));
        // A longer reply leaves a tail that the next exchange discards.
        c.exchange({"CCCC", 2, 3, 3});
        QTRY_COMPARE(received.join(), QByteArray("AAAABBBBCCCC"));
        peer->write("pqTAIL");
        QTRY_COMPARE(replies.size(), 3);
        QCOMPARE(replies[2].second, QByteArray("pq"));
        QTest::qWait(20);
        c.exchange({"DDDD", 2, 4, 4});
        QTRY_COMPARE(received.join(), QByteArray("AAAABBBBCCCCDDDD"));
        peer->write("ok");
        QTRY_COMPARE(replies.size(), 4);
        QCOMPARE(replies[3].second, QByteArray("ok"));
        // The peer closing ends the exchange in flight.
        int disconnected = 0;
        QObject::connect(&c, &TcpClient::disconnected, [&] { ++disconnected; });
        c.exchange({"EEEE", 2, 5, 5});
        QTRY_COMPARE(received.join().size(), 20);
        peer->close();
        QTRY_COMPARE(replies.size(), 5);
        QCOMPARE(replies[4].first, -5);
        QVERIFY(!c.Connected());
        QCOMPARE(disconnected, 1);
        // Closed between exchanges: noticed at once.
        c.Connect();
        QTRY_VERIFY(c.Connected() && peer && peer->state() == QAbstractSocket::ConnectedState);
        peer->write("unasked");
        peer->close();
        QTRY_COMPARE(disconnected, 2);
        QVERIFY(!c.Connected());
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
