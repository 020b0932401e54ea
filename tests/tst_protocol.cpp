// The wire made visible: frame meanings, the monitor's bounds, filters and counters, session
// recordings checked frame by frame against the simulator on both links, replay of a recorded
// plant, and the pcap export read by tshark.
#include "core/export/PcapExport.h"
#include "core/monitor/ProtocolMonitor.h"
#include "core/monitor/SessionFile.h"
#include "sim/ReplayTable.h"
#include "tests/LinkRows.h"
#include "tests/LiveRig.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
FrameEvent frame(FrameEvent::Kind kind, LinkKind link, const QByteArray& bytes,
                 const QString& note = {}, qint64 ns = 0) {
    FrameEvent e;
    e.kind = kind;
    e.link = link;
    e.bytes = bytes;
    e.note = note;
    e.monoNs = ns;
    return e;
}
FrameEvent serial(FrameEvent::Kind kind, const QByteArray& body) {
    return frame(kind, LinkKind::Serial, AsciiFrame(body));
}
FrameEvent tcp(FrameEvent::Kind kind, quint16 tid, quint8 fn, const QByteArray& data) {
    return frame(kind, LinkKind::Tcp, TcpFrame(tid, fn, data));
}

// Runs requests through the rig until `done` holds.
bool pump(LiveRig& rig, const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs) {
        QTest::qWait(3);
        if (rig.engine.link().linkKind() == LinkKind::Serial && t.elapsed() % 50 < 4)
            rig.engine.Timer1Timer();
    }
    return done();
}

// What a session shows: the status image, both logs' rows and the identity.
struct Seen {
    RegisterImage image;
    QList<QStringList> alarms, events;
    QString identity;
};
bool runSession(LiveRig& rig, Seen* seen) {
    if (!rig.pollOnce()) return false;
    seen->image = rig.engine.image();
    for (TransferKind kind : {TransferKind::Alarm, TransferKind::Event}) {
        rig.messages.clear();
        if (!rig.engine.OpenTransfer(kind)) return false;
        while (!rig.engine.RequestStartTick()) {
        }
        if (!pump(rig, [&] { return rig.engine.transfer().complete; })) return false;
        (kind == TransferKind::Alarm ? seen->alarms : seen->events) = rig.engine.transfer().rows;
        rig.engine.CloseTransfer(true);
    }
    QSignalSpy identity(&rig.engine, &MonitorEngine::networkIdentityDecoded);
    rig.engine.ReadNetworkIdentity();
    rig.engine.Timer1Timer();
    if (!identity.wait(3000)) return false;
    const NetworkIdentity& n = *rig.engine.networkIdentity();
    seen->identity = QStringList{n.ip, n.mac, n.firmware, n.siteInfo, n.rectId}.join('|');
    return true;
}
} // namespace

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void meaningsOfEachFrame_data() {
        QTest::addColumn<FrameEvent>("event");
        QTest::addColumn<QString>("meaning");
        QTest::addColumn<bool>("error");
        using K = FrameEvent;
        QTest::newRow("serial poll")
            << serial(K::Sent, "010400010083") << "poll, registers 1..131" << false;
        QTest::newRow("serial poll reply")
            << serial(K::Received, "01040106" + QByteArray(131 * 4, '0'))
            << "poll reply, 131 registers" << false;
        QTest::newRow("serial write")
            << serial(K::Sent, "0106003C021C") << "write reg 60 = 540" << false;
        QTest::newRow("serial write confirmed")
            << serial(K::Received, "0106003C021C") << "write confirmed, reg 60 = 540" << false;
        QTest::newRow("serial history page")
            << serial(K::Sent, "0131000C") << "history page 12" << false;
        QTest::newRow("serial identity read")
            << serial(K::Sent, "0122") << "network identity read" << false;
        QTest::newRow("serial event clear")
            << serial(K::Sent, "0145") << "event log clear" << false;
        QTest::newRow("tcp poll") << tcp(K::Sent, 7, Fn::ReadRegisters,
                                         QByteArray::fromHex("00010083"))
                                  << "poll, registers 1..131 (transaction 7)" << false;
        QTest::newRow("tcp poll reply") << tcp(K::Received, 7, Fn::ReadRegisters,
                                               QByteArray(1, char(0xFE)) + QByteArray(262, 0))
                                        << "poll reply, 131 registers (transaction 7)" << false;
        QTest::newRow("tcp write")
            << tcp(K::Sent, 9, Fn::WriteRegister, QByteArray::fromHex("003C021C"))
            << "write reg 60 = 540 (transaction 9)" << false;
        QTest::newRow("tcp alarm record")
            << tcp(K::Sent, 3, Fn::AlarmRecord, QByteArray::fromHex("01000C"))
            << "history page 12 (transaction 3)" << false;
        QTest::newRow("lrc wrong")
            << frame(K::Dropped, LinkKind::Serial, ":0106003C021C00\r\n", "LRC wrong")
            << "LRC wrong: dropped (write confirmed, reg 60 = 540)" << true;
        QTest::newRow("transaction id")
            << frame(K::Dropped, LinkKind::Tcp, QByteArray::fromHex("000700000009"),
                     "transaction id 7 expected 8")
            << "transaction id 7 expected 8: dropped (6 bytes, no whole header)" << true;
        QTest::newRow("time-out") << frame(K::TimeOut, LinkKind::Tcp, {}, "no complete reply")
                                  << "time-out: no complete reply" << true;
        QTest::newRow("noise") << frame(K::Dropped, LinkKind::Serial, ":zz\r\n", "not a frame")
                               << "not a frame: dropped (5 characters, not a frame)" << true;
    }
    void meaningsOfEachFrame() {
        QFETCH(FrameEvent, event);
        QFETCH(QString, meaning);
        QFETCH(bool, error);
        const FrameMeaning m = MeaningOf(event);
        QCOMPARE(m.text, meaning);
        QCOMPARE(m.error, error);
    }

    void monitorBoundsFiltersAndCounters() {
        ProtocolMonitor mon;
        for (int i = 0; i < ProtocolMonitor::MaxFrames + 10; ++i)
            mon.add(frame(FrameEvent::Sent, LinkKind::Serial, AsciiFrame("010400010083"), {},
                          qint64(i) * 1000000));
        QCOMPARE(int(mon.entries().size()), ProtocolMonitor::MaxFrames);
        QCOMPARE(mon.entries().front().number, quint64(10));
        QCOMPARE(mon.counters().sent, qint64(ProtocolMonitor::MaxFrames + 10));
        // Large frames meet the byte bound first.
        mon.clear();
        const QByteArray big(100000, 'x');
        for (int i = 0; i < 100; ++i)
            mon.add(frame(FrameEvent::Received, LinkKind::Tcp, big));
        QVERIFY(mon.bytes() <= ProtocolMonitor::MaxBytes);
        QCOMPARE(int(mon.entries().size()), int(ProtocolMonitor::MaxBytes / 100000));

        mon.clear();
        mon.add(frame(FrameEvent::Sent, LinkKind::Serial, AsciiFrame("010400010083"), {}, 0));
        mon.add(frame(FrameEvent::Received, LinkKind::Serial, AsciiFrame("01040002ABCD"), {},
                      12'500'000));
        mon.add(serial(FrameEvent::Sent, "0106003C021C"));
        mon.add(frame(FrameEvent::Dropped, LinkKind::Serial, ":0106\r\n", "LRC wrong"));
        mon.add(frame(FrameEvent::TimeOut, LinkKind::Serial, {}, "no reply"));
        mon.add(serial(FrameEvent::Sent, "0131000C"));
        QCOMPARE(mon.counters().lastRoundTripMs, 12.5);
        QCOMPARE(mon.counters().dropped.value("LRC wrong"), 1);
        QCOMPARE(mon.counters().timeOuts, qint64(1));
        QVERIFY(mon.counters().text().contains("dropped 1, time-outs 1 (LRC wrong: 1)"));
        const auto count = [&](MonitorFilter f, const QString& search = {}) {
            int n = 0;
            for (const MonitorEntry& e : mon.entries())
                n += MonitorMatches(e, f, search) ? 1 : 0;
            return n;
        };
        QCOMPARE(count(MonitorFilter::All), 6);
        QCOMPARE(count(MonitorFilter::Polls), 2);
        QCOMPARE(count(MonitorFilter::Writes), 1);
        QCOMPARE(count(MonitorFilter::Transfers), 1);
        QCOMPARE(count(MonitorFilter::Errors), 2);
        QCOMPARE(count(MonitorFilter::All, "reg 60"), 1);
        QCOMPARE(count(MonitorFilter::All, "0131000C"), 1); // bytes are searched too
        QVERIFY(MonitorLine(mon.entries()[1]).startsWith("12.5 ms\tin\tserial\t:01040002ABCD"));
        // Paused: counted, not kept.
        mon.setPaused(true);
        mon.add(serial(FrameEvent::Sent, "0122"));
        QCOMPARE(int(mon.entries().size()), 6);
        QCOMPARE(mon.counters().sent, qint64(4));
    }

    // Every frame recorded as it went: out frames are the requests, in frames the replies a
    // controller like the simulator gives to them, in order.
    void recordingMatchesTheWire_data() { AddLinkRows(); }
    void recordingMatchesTheWire() {
        QFETCH(int, link);
        QTemporaryDir dir;
        const QString path = dir.filePath("s.jsonl");
        LiveRig rig{LinkKind(link)};
        QVERIFY(rig.ok);
        SessionRecorder rec;
        QString error;
        QVERIFY(rec.start(path, "test", &error));
        rec.attach(rig.engine.link());
        QVERIFY(rig.pollOnce());
        QVERIFY(rig.engine.QueueWrites({{60, 535}, {75, 6}}));
        QVERIFY(rig.waitMessage());
        rig.engine.ReturnToPolling();
        QVERIFY(rig.pollOnce());
        rec.stop();

        const SessionRead read = ReadSessionFile(path);
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(read.program, QString("test"));
        QCOMPARE(read.events.size(), 8); // poll, write, write, poll: each out and in
        sim::ControllerModel twin(LiveRig::frozen());
        for (int i = 0; i < read.events.size(); i += 2) {
            const FrameEvent& out = read.events[i];
            const FrameEvent& in = read.events[i + 1];
            QCOMPARE(out.kind, FrameEvent::Sent);
            QCOMPARE(in.kind, FrameEvent::Received);
            QVERIFY(in.monoNs >= out.monoNs);
            QVERIFY(in.wallMs > 0);
            QCOMPARE(int(out.link), link);
            if (link == int(LinkKind::Tcp)) {
                const auto reply = twin.tcpReply(quint8(out.bytes[7]), out.bytes.mid(8));
                QVERIFY(reply);
                const quint16 tid = quint16(uchar(out.bytes[0]) << 8 | uchar(out.bytes[1]));
                QCOMPARE(in.bytes, TcpFrame(tid, quint8(out.bytes[7]), *reply));
            } else {
                QByteArray body = out.bytes.mid(1);
                body.chop(4); // LRC, CR, LF
                QCOMPARE(out.bytes, AsciiFrame(body));
                const QByteArray reply = twin.serialReply(QByteArray::fromHex(body));
                QCOMPARE(in.bytes, AsciiFrame(BytesToHex(reply)));
            }
        }
        QVERIFY(MeaningOf(read.events[2]).text.startsWith("write reg 75 = 6"));
        QCOMPARE(rig.sim.model().writes(), (QList<std::pair<int, int>>{{75, 6}, {60, 535}}));
    }

    void droppedFramesAndTimeOutsAreRecorded_data() { AddLinkRows(); }
    void droppedFramesAndTimeOutsAreRecorded() {
        QFETCH(int, link);
        LiveRig rig{LinkKind(link)};
        QVERIFY(rig.ok);
        ProtocolMonitor mon;
        mon.attach(rig.engine.link());
        QVERIFY(rig.pollOnce());
        rig.sim.faults.badLrcEvery = 1;
        for (int i = 0; i < 4; ++i) {
            rig.engine.Timer1Timer();
            QTest::qWait(60);
        }
        rig.sim.faults.badLrcEvery = 0;
        rig.sim.faults.dropEvery = 1;
        for (int i = 0; i < 8; ++i) {
            rig.engine.Timer1Timer();
            QTest::qWait(link == int(LinkKind::Tcp) ? 400 : 60);
        }
        const MonitorCounters& c = mon.counters();
        if (link == int(LinkKind::Serial))
            QVERIFY2(c.dropped.value("LRC wrong") >= 1, qPrintable(c.text()));
        else
            QVERIFY2(c.droppedTotal() + c.timeOuts >= 1, qPrintable(c.text()));
        QVERIFY2(c.timeOuts >= 1, qPrintable(c.text()));
        int errors = 0;
        for (const MonitorEntry& e : mon.entries())
            errors += e.meaning.error ? 1 : 0;
        QCOMPARE(errors, c.droppedTotal() + int(c.timeOuts));
    }

    void recordingsCutOrForeign() {
        FrameEvent e = tcp(FrameEvent::Sent, 1, Fn::ReadRegisters, QByteArray::fromHex("00010083"));
        e.wallMs = 1'700'000'000'000;
        const QByteArray header =
            "{\"format\":\"quma-session\",\"version\":1,\"program\":\"test\"}\n";
        const QByteArray line = SessionLine(e) + "\n";
        SessionRead r = ReadSession(header + line + line + line.left(line.size() / 2));
        QVERIFY(r.error.isEmpty());
        QVERIFY(r.truncated);
        QCOMPARE(r.events.size(), 2);
        QCOMPARE(r.events[1].bytes, e.bytes);
        QCOMPARE(r.events[1].wallMs, e.wallMs);
        r = ReadSession(QByteArray(header).replace("\"version\":1", "\"version\":3") + line);
        QVERIFY(r.error.contains("version 3"));
        QVERIFY(
            ReadSession("{\"format\":\"quma-site-profile\"}\n").error.contains("not a session"));
        QVERIFY(ReadSession("").error.contains("empty"));
        r = ReadSession(header + "{\"dir\":\"sideways\"}\n" + line);
        QVERIFY(r.error.contains("line 2"));
        // A line no frame could make, and a file past the limit, are refused before parsing.
        r = ReadSession(header + "{\"hex\":\"" + QByteArray(1 << 20, '0') + "\"}\n" + line);
        QVERIFY2(r.error.startsWith("line 2 is longer than any frame's line"), qPrintable(r.error));
        QVERIFY(ReadSession(QByteArray(1 << 20, '{') + "\n").error.contains("not a session"));
        QTemporaryDir dir;
        QFile big(dir.filePath("big.jsonl"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(MaxSessionFileBytes + 1)); // sparse: no disk used
        big.close();
        QVERIFY(ReadSessionFile(big.fileName()).error.contains("larger"));
        QVERIFY(r.events.isEmpty());
    }

    // A plant with its own values, recorded; replayed by a plain simulator, the same status,
    // history rows and identity come back.
    void replayShowsTheRecordedPlant_data() { AddLinkRows(); }
    void replayShowsTheRecordedPlant() {
        QFETCH(int, link);
        QTemporaryDir dir;
        sim::SimOptions site = LiveRig::frozen();
        site.registers = {{7, 2317}, {9, 531}, {60, 531}, {97, 5288}, {112, 319}};
        site.historySize = 6;
        site.eventSize = 4;
        site.seed = 77;
        Seen original;
        {
            LiveRig rig{LinkKind(link), site};
            QVERIFY(rig.ok);
            rig.sim.model().netId().siteInfo = "기지국 12";
            SessionRecorder rec;
            QString error;
            QVERIFY(rec.start(dir.filePath("site.jsonl"), "test", &error));
            rec.attach(rig.engine.link());
            QVERIFY(runSession(rig, &original));
        }
        const SessionRead read = ReadSessionFile(dir.filePath("site.jsonl"));
        QVERIFY(read.error.isEmpty());
        LiveRig office{LinkKind(link)}; // the plain simulator's defaults differ everywhere
        QVERIFY(office.ok);
        office.sim.replay = std::make_shared<sim::ReplayTable>(read.events, false);
        QStringList unrecorded;
        QObject::connect(&office.sim, &sim::SimServer::unrecordedAnswered,
                         [&](const QString& n) { unrecorded << n; });
        Seen replayed;
        QVERIFY(runSession(office, &replayed));
        QCOMPARE(replayed.image.regs, original.image.regs);
        QCOMPARE(replayed.alarms, original.alarms);
        QCOMPARE(replayed.events, original.events);
        QCOMPARE(replayed.identity, original.identity);
        QVERIFY(replayed.identity.contains("기지국 12"));
        QVERIFY2(unrecorded.isEmpty(), qPrintable(unrecorded.join('\n')));
        // A request never recorded is answered all the same, and said.
        office.messages.clear();
        QVERIFY(office.engine.QueueWrites({{61, 5400}}));
        QVERIFY(office.waitMessage(1, 3000));
        QCOMPARE(unrecorded.size(), 1);
        QVERIFY(unrecorded[0].contains("was not recorded"));
    }

    void pcapOpensInTshark() {
        QTemporaryDir dir;
        LiveRig rig{LinkKind::Tcp};
        QVERIFY(rig.ok);
        SessionRecorder rec;
        QString error;
        QVERIFY(rec.start(dir.filePath("s.jsonl"), "test", &error));
        rec.attach(rig.engine.link());
        QVERIFY(rig.pollOnce());
        QVERIFY(rig.engine.QueueWrites({{60, 540}}));
        QVERIFY(rig.waitMessage());
        rec.stop();
        const SessionRead read = ReadSessionFile(dir.filePath("s.jsonl"));
        int packets = 0;
        QVERIFY(WritePcap(dir.filePath("s.pcap"), read.events, &error, &packets));
        QCOMPARE(packets, 4);
        QVERIFY(!WritePcap(dir.filePath("x.pcap"), {serial(FrameEvent::Sent, "0122")}, &error));
        QVERIFY(error.contains("no TCP frame"));
        const QString tshark = QStandardPaths::findExecutable("tshark");
        if (tshark.isEmpty()) QSKIP("tshark is not installed (scripts/deps.sh installs it)");
        QProcess p;
        p.start(tshark, {"-r", dir.filePath("s.pcap"), "-T", "fields", "-e", "mbtcp.trans_id", "-e",
                         "modbus.func_code", "-e", "tcp.dstport"});
        QVERIFY(p.waitForFinished(60000));
        const QStringList lines =
            QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].split('\t').mid(1), (QStringList{"4", "502"}));
        QCOMPARE(lines[1].split('\t').mid(1), (QStringList{"4", "50200"}));
        QCOMPARE(lines[2].split('\t').mid(1), (QStringList{"6", "502"}));
        QCOMPARE(lines[3].split('\t')[1], QString("6"));
    }
};

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
