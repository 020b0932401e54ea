// Receive path: serial reassembly across blocks, the reply-pending rule, TCP header matching.
#include "core/link/TcpClient.h"
#include "tests/FakeLinks.h"

#include <QSignalSpy>
#include <QtTest>

using namespace quma;
using namespace quma::test;

class TestReceive : public QObject {
    Q_OBJECT
private slots:
    void serialReplyInThreeBlocks() {
        DeviceLink link;
        QList<QByteArray> traces;
        link.setTraceSink([&](const QByteArray& l) { traces << l; });
        QSignalSpy ready(&link, &DeviceLink::serialReplyReady);
        const QByteArray frame = ":010600050017DD\r\n";
        link.SerialReceive(frame.left(5));
        link.SerialReceive(frame.mid(5, 7));
        QCOMPARE(ready.count(), 0);
        link.SerialReceive(frame.mid(12));
        QCOMPARE(ready.count(), 1);
        QCOMPARE(link.serialReply, frame);
        QCOMPARE(traces, QList<QByteArray>{"Receive >> " + frame});
    }

    void garbageBeforeColonAndBytesAfterLfDropped() {
        DeviceLink link;
        link.setTraceSink({});
        link.SerialReceive(QByteArray(2, char(0xFF)) + "zz:0135CA\r\n:0145BA\r\n");
        QCOMPARE(link.serialReply, QByteArray(":0135CA\r\n"));
        // Still pending: nothing more is taken until the dispatcher clears the flag.
        QVERIFY(link.replyPending);
        link.SerialReceive(":0145BA\r\n");
        QCOMPARE(link.serialReply, QByteArray(":0135CA\r\n"));
        link.replyPending = false;
        link.SerialReceive(":0145BA\r\n");
        QCOMPARE(link.serialReply, QByteArray(":0145BA\r\n"));
    }

    // A peer that never sends CR cannot make the receive path hold more than one frame's worth;
    // reception picks up again at the next colon.
    void serialStreamWithoutCrStaysBounded() {
        DeviceLink link;
        link.setTraceSink({});
        QSignalSpy ready(&link, &DeviceLink::serialReplyReady);
        const QByteArray noise = ":" + QByteArray(64 * 1024, 'A');
        for (int i = 0; i < 160; ++i) { // 10 MB
            link.SerialReceive(noise);
            QVERIFY(link.replyBuffer.size() <= DeviceLink::MaxSerialFrame);
        }
        QCOMPARE(ready.count(), 0);
        link.SerialReceive(QByteArray(5000, 'B') + ":0135CA\r\n");
        QCOMPARE(ready.count(), 1);
        QCOMPARE(link.serialReply, QByteArray(":0135CA\r\n"));
    }

    // However long a frame is, its trace line is cut to a bounded length.
    void traceLinesAreCapped() {
        DeviceLink link;
        QList<QByteArray> traces;
        link.setTraceSink([&](const QByteArray& l) { traces << l; });
        link.trace("TcpStr >> " + QByteArray(50 * 1024 * 1024, 'x'));
        QCOMPARE(traces.size(), 1);
        QVERIFY(traces[0].size() < DeviceLink::MaxTraceBytes + 64);
        QVERIFY(traces[0].endsWith("bytes more)"));
    }

    // The TCP reply assembler: a late reply to an earlier request and garbage in front of the
    // awaited reply are skipped; it never holds more than one block.
    void tcpAssemblerSkipsStaleRepliesAndGarbage() {
        const QByteArray current = TcpFrame(8, 0x06, QByteArray::fromHex("003C021C"));
        const QByteArray late = TcpFrame(7, 0x06, QByteArray::fromHex("003C021C"));
        TcpReplyAssembler a;
        a.start(8, int(current.size()));
        const QByteArray in = late + QByteArray::fromHex("AA5500FF") + current + "excess";
        const qsizetype used = a.feed(in.constData(), in.size());
        QVERIFY(a.complete());
        QCOMPARE(a.block(), current);
        QCOMPARE(used, in.size() - 6);
        QCOMPARE(a.discarded(), late.size() + 4);
        // Byte by byte, the same.
        a.start(8, int(current.size()));
        for (char c : late + current)
            a.feed(&c, 1);
        QCOMPARE(a.block(), current);
        // A header announcing a huge length is not believed: the reply behind it is found.
        a.start(8, int(current.size()));
        const QByteArray huge = QByteArray::fromHex("00070000FFFF") + current;
        a.feed(huge.constData(), huge.size());
        QCOMPARE(a.block(), current);
        // Nothing but garbage: the block never grows past what was asked.
        a.start(8, int(current.size()));
        const QByteArray garbage(1 << 20, char(0x5A));
        a.feed(garbage.constData(), garbage.size());
        QVERIFY(!a.complete());
        QVERIFY(a.block().size() < 6);
        QCOMPARE(a.discarded(), garbage.size() - a.block().size());
    }

    void frameLosingItsCrFailsLrcAndNextRecovers() {
        EngineRig rig(LinkKind::Serial);
        rig.engine.link().pending.count = 0;
        rig.engine.link().SerialReceive(":010600050017DD\n"); // CR lost
        rig.engine.link().SerialReceive(AsciiFrame("01C5"));  // appended to the broken frame
        QVERIFY(rig.messages.isEmpty());
        rig.engine.link().SerialReceive(AsciiFrame("01C5"));
        QCOMPARE(rig.messageTexts(), QStringList{" Alarm Initial Sucess!!"});
    }

    void tcpBlockMatchesOnlyItsTransaction() {
        DeviceLink link;
        link.setTraceSink({});
        QSignalSpy ready(&link, &DeviceLink::tcpReplyReady);
        TcpRequest req;
        req.transactionId = 0x0102;
        req.function = Fn::WriteRegister;
        link.TcpReceive(req, TcpFrame(0x0103, 0x06, QByteArray::fromHex("00050017")), true);
        QCOMPARE(ready.count(), 0);
        link.TcpReceive(req, TcpFrame(0x0102, 0x06, QByteArray::fromHex("00050017")), true);
        QCOMPARE(ready.count(), 1);
        // The reply text starts at the low byte of the transaction id and runs to the block end.
        QCOMPARE(link.replyText.toHex(), QByteArray("0200000006010600050017"));
    }

    void tcpWriteReplyReadyAtByteTen() {
        // The 12-byte write reply: length 6, tail 5; a block cut after byte 10 is still whole.
        DeviceLink link;
        link.setTraceSink({});
        TcpRequest req;
        req.transactionId = 9;
        req.function = Fn::WriteRegister;
        QByteArray block = TcpFrame(9, 0x06, QByteArray::fromHex("00050017"));
        QSignalSpy ready(&link, &DeviceLink::tcpReplyReady);
        link.TcpReceive(req, block.left(11), true);
        QCOMPARE(ready.count(), 1);
        QCOMPARE(link.replyText.size(), 10);
        link.replyPending = false;
        // A short block of another request (tail 6) is not ready.
        req.function = Fn::ReadRegisters;
        link.TcpReceive(req, block.left(11), true);
        QCOMPARE(ready.count(), 1);
    }

    void staleTcpStateNeverShiftsTheNextReply() {
        DeviceLink link;
        link.setTraceSink({});
        QSignalSpy ready(&link, &DeviceLink::tcpReplyReady);
        TcpRequest req;
        req.transactionId = 5;
        req.function = Fn::ReadRegisters;
        link.TcpReceive(req, TcpFrame(5, 0x04, QByteArray(10, 1)).left(6), true); // cut short
        QCOMPARE(ready.count(), 0);
        req.transactionId = 6;
        link.TcpReceive(req, TcpFrame(6, 0x04, QByteArray(3, 7)), true);
        QCOMPARE(ready.count(), 1);
        QCOMPARE(link.replyText.toHex(), QByteArray("06000000050104070707"));
    }

    void alarmTransferRepliesAreTraced() {
        DeviceLink link;
        QList<QByteArray> traces;
        link.setTraceSink([&](const QByteArray& l) { traces << l; });
        TcpRequest req;
        req.transactionId = 1;
        req.function = Fn::AlarmCount;
        link.TcpReceive(req, TcpFrame(1, 0x43, QByteArray::fromHex("00030000")), true);
        QCOMPARE(traces.size(), 1);
        QVERIFY(traces[0].startsWith("TcpStr >> "));
        QVERIFY(traces[0].endsWith(" [01000000060143"
                                   "00030000]"));
    }
};

QTEST_GUILESS_MAIN(TestReceive)
#include "tst_receive.moc"
