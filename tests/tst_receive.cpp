// Receive path: serial reassembly across blocks, one frame per block, TCP header matching.
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
        QSignalSpy ready(&link, &DeviceLink::replyReceived);
        const QByteArray frame = ":010600050017DD\r\n";
        link.receiveSerial(frame.left(5));
        link.receiveSerial(frame.mid(5, 7));
        QCOMPARE(ready.count(), 0);
        link.receiveSerial(frame.mid(12));
        QCOMPARE(ready.count(), 1);
        const auto reply = ready[0][0].value<Reply>();
        QCOMPARE(int(reply.function), int(Fn::WriteRegister));
        QCOMPARE(reply.payload, frame.left(frame.size() - 2));
        QCOMPARE(traces, QList<QByteArray>{"Receive >> " + frame});
    }

    void garbageBeforeColonAndBytesAfterLfDropped() {
        DeviceLink link;
        link.setTraceSink({});
        QSignalSpy ready(&link, &DeviceLink::replyReceived);
        // One frame per block: the second frame of this block is not read.
        link.receiveSerial(QByteArray(2, char(0xFF)) + "zz:01C53A\r\n:01D52A\r\n");
        QCOMPARE(ready.count(), 1);
        QCOMPARE(ready[0][0].value<Reply>().payload, QByteArray(":01C53A"));
        link.receiveSerial(":01D52A\r\n");
        QCOMPARE(ready.count(), 2);
        QCOMPARE(int(ready[1][0].value<Reply>().function), int(Fn::EventClear));
    }

    // A peer that never sends CR cannot make the receive path hold more than one frame's worth;
    // reception picks up again at the next colon.
    void serialStreamWithoutCrStaysBounded() {
        DeviceLink link;
        link.setTraceSink({});
        QSignalSpy ready(&link, &DeviceLink::replyReceived);
        QSignalSpy frames(&link, &DeviceLink::frameEvent);
        const QByteArray noise = ":" + QByteArray(64 * 1024, 'A');
        for (int i = 0; i < 160; ++i) // 10 MB
            link.receiveSerial(noise);
        QCOMPARE(ready.count(), 0);
        // Each drop holds at most one frame's worth.
        QVERIFY(frames.count() > 0);
        for (const auto& f : frames)
            QVERIFY(f[0].value<FrameEvent>().bytes.size() <= DeviceLink::MaxSerialFrame);
        link.receiveSerial(QByteArray(5000, 'B') + ":01C53A\r\n");
        QCOMPARE(ready.count(), 1);
        QCOMPARE(ready[0][0].value<Reply>().payload, QByteArray(":01C53A"));
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
        rig.engine.link().receiveSerial(":010600050017DD\n"); // CR lost
        rig.engine.link().receiveSerial(AsciiFrame("01C5"));  // appended to the broken frame
        QVERIFY(rig.messages.isEmpty());
        rig.engine.link().receiveSerial(AsciiFrame("01C5"));
        QCOMPARE(rig.messageTexts(), QStringList{" Alarm Initial Sucess!!"});
    }

    void tcpBlockMatchesOnlyItsTransaction() {
        DeviceLink link;
        FakeTcp tcp;
        link.setTraceSink({});
        link.setTcpTransport(&tcp);
        QSignalSpy ready(&link, &DeviceLink::replyReceived);
        TcpRequest req;
        req.transactionId = 0x0102;
        req.function = Fn::WriteRegister;
        tcp.finish(req, TcpFrame(0x0103, 0x06, QByteArray::fromHex("00050017")));
        QCOMPARE(ready.count(), 0);
        tcp.finish(req, TcpFrame(0x0102, 0x06, QByteArray::fromHex("00050017")));
        QCOMPARE(ready.count(), 1);
        // The payload is what follows the function code.
        const auto reply = ready[0][0].value<Reply>();
        QCOMPARE(int(reply.function), 6);
        QCOMPARE(reply.payload.toHex(), QByteArray("00050017"));
    }

    void tcpWriteReplyReadyAtByteTen() {
        // The 12-byte write reply: length 6, tail 5; a block cut after byte 10 is still whole.
        DeviceLink link;
        FakeTcp tcp;
        link.setTraceSink({});
        link.setTcpTransport(&tcp);
        TcpRequest req;
        req.transactionId = 9;
        req.function = Fn::WriteRegister;
        QByteArray block = TcpFrame(9, 0x06, QByteArray::fromHex("00050017"));
        QSignalSpy ready(&link, &DeviceLink::replyReceived);
        tcp.finish(req, block.left(11));
        QCOMPARE(ready.count(), 1);
        QCOMPARE(ready[0][0].value<Reply>().payload.size(), 3);
        // A short block of another request (tail 6) is not a reply.
        req.function = Fn::ReadRegisters;
        tcp.finish(req, block.left(11));
        QCOMPARE(ready.count(), 1);
    }

    void staleTcpStateNeverShiftsTheNextReply() {
        DeviceLink link;
        FakeTcp tcp;
        link.setTraceSink({});
        link.setTcpTransport(&tcp);
        QSignalSpy ready(&link, &DeviceLink::replyReceived);
        TcpRequest req;
        req.transactionId = 5;
        req.function = Fn::ReadRegisters;
        tcp.finish(req, TcpFrame(5, 0x04, QByteArray(10, 1)).left(6)); // cut short
        QCOMPARE(ready.count(), 0);
        req.transactionId = 6;
        tcp.finish(req, TcpFrame(6, 0x04, QByteArray(3, 7)));
        QCOMPARE(ready.count(), 1);
        QCOMPARE(ready[0][0].value<Reply>().payload.toHex(), QByteArray("070707"));
    }

    void alarmTransferRepliesAreTraced() {
        DeviceLink link;
        QList<QByteArray> traces;
        link.setTraceSink([&](const QByteArray& l) { traces << l; });
        FakeTcp tcp;
        link.setTcpTransport(&tcp);
        TcpRequest req;
        req.transactionId = 1;
        req.function = Fn::AlarmCount;
        tcp.finish(req, TcpFrame(1, 0x43, QByteArray::fromHex("00030000")));
        QCOMPARE(traces.size(), 1);
        QVERIFY(traces[0].startsWith("TcpStr >> "));
        QVERIFY(traces[0].endsWith(" [01000000060143"
                                   "00030000]"));
    }
};

QTEST_GUILESS_MAIN(TestReceive)
#include "tst_receive.moc"
