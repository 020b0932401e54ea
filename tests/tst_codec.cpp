// Frame codec: LRC, both frame encodings, every request on both links, the transaction counter
// and the text utilities.
#include "core/link/FrameCodec.h"
#include "core/link/LinkCodec.h"

#include <QtTest>

using namespace quma;

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void lrcExamples_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("lrc");
        QTest::newRow("network identity read") << QByteArray("0122") << 0xDD;
        QTest::newRow("alarm history clear") << QByteArray("0135") << 0xCA;
        QTest::newRow("history page 5") << QByteArray("013100 05").replace(" ", "") << 0xC9;
        QTest::newRow("poll") << QByteArray("010400010083") << 0x77;
        QTest::newRow("write ack 5=23") << QByteArray("010600050017") << 0xDD;
        QTest::newRow("odd last char not summed") << QByteArray("01225") << 0xDD;
    }
    void lrcExamples() {
        QFETCH(QByteArray, body);
        QFETCH(int, lrc);
        QCOMPARE(int(Lrc(body)), lrc);
    }

    void asciiFrames() {
        QCOMPARE(AsciiFrame("010400010083"), QByteArray(":01040001008377\r\n"));
        QCOMPARE(AsciiFrame("0135"), QByteArray(":0135CA\r\n"));
        QCOMPARE(AsciiFrame("0145"), QByteArray(":0145BA\r\n"));
        QCOMPARE(AsciiFrame("0106007F0001"), QByteArray(":0106007F000179\r\n"));
    }

    void tcpFrames() {
        const QByteArray poll = TcpFrame(1, 0x04, QByteArray::fromHex("00010083"));
        QCOMPARE(poll, QByteArray::fromHex("000100000006010400010083"));
        const QByteArray write = TcpFrame(0x1234, 0x06, QByteArray::fromHex("00050017"));
        QCOMPARE(write.toHex(), QByteArray("123400000006010600050017"));
        QCOMPARE(TcpFrame(7, 0x41, {}).toHex(), QByteArray("00070000000201"
                                                           "41"));
    }

    // Every request, framed by each link's codec: the serial body and the TCP function, data and
    // reply length.
    void everyRequestOnBothLinks_data() {
        QTest::addColumn<Request>("request");
        QTest::addColumn<QByteArray>("serialBody");
        QTest::addColumn<int>("function");
        QTest::addColumn<QByteArray>("tcpData");
        QTest::addColumn<int>("replyBytes");
        const auto row = [](const char* name, const Request& r, const char* body, int fn,
                            const char* data, int reply) {
            QTest::newRow(name) << r << QByteArray(body) << fn << QByteArray::fromHex(data)
                                << reply;
        };
        row("poll", Request::readRegisters(1, 131), "010400010083", 0x04, "00010083", 271);
        row("identity read", Request::readNetworkIdentity(), "0122", 0x41, "", 158);
        row("write", Request::writeRegister(60, 540), "0106003C021C", 0x06, "003C021C", 12);
        row("identity write", Request::writeNetworkIdentity("AB"), "012300004142", 0x42, "4142", 6);
        row("alarm count", Request::logCount(TransferKind::Alarm), "0130", 0x43, "0100", 12);
        row("event count", Request::logCount(TransferKind::Event), "0140", 0x46, "0200", 12);
        row("alarm record", Request::logRecord(TransferKind::Alarm, 39), "01310027", 0x44, "010027",
            43);
        row("event record", Request::logRecord(TransferKind::Event, 7), "01410007", 0x47, "020007",
            19);
        row("alarm clear", Request::logClear(TransferKind::Alarm), "0135", 0x45, "01", 9);
        row("event clear", Request::logClear(TransferKind::Event), "0145", 0x48, "02", 9);
    }
    void everyRequestOnBothLinks() {
        QFETCH(Request, request);
        QFETCH(QByteArray, serialBody);
        QFETCH(int, function);
        QFETCH(QByteArray, tcpData);
        QFETCH(int, replyBytes);
        SerialCodec serial;
        QCOMPARE(serial.frame(request, 9).frame, AsciiFrame(serialBody));
        TcpCodec tcp;
        const FramedRequest f = tcp.frame(request, 9);
        QCOMPARE(int(f.function), function);
        QCOMPARE(f.frame, TcpFrame(9, std::uint8_t(function), tcpData));
        QCOMPARE(f.replyBytes, replyBytes);
    }

    // The TCP count query carries the low byte of the last page asked for.
    void tcpCountCarriesTheLastPage() {
        TcpCodec tcp;
        tcp.frame(Request::logRecord(TransferKind::Alarm, 0x0102), 1);
        QCOMPARE(tcp.frame(Request::logCount(TransferKind::Event), 2).frame,
                 TcpFrame(2, 0x46, QByteArray::fromHex("0202")));
    }

    void transactionCounterWraps() {
        TransactionCounter c;
        QCOMPARE(c.advance(), 1);
        c.set(65534);
        QCOMPARE(c.advance(), 65535);
        QCOMPARE(c.advance(), 0); // the 65536th request carries 0
        QCOMPARE(c.advance(), 1);
    }

    void textUtilities() {
        QCOMPARE(PadZero(5, 4), QString("0005"));
        QCOMPARE(PadZero(7, 2), QString("07"));
        QCOMPARE(PadZero(2024, 2), QString("2024"));
        QCOMPARE(IntToHexN(131, 4), QByteArray("0083"));
        QCOMPARE(IntToHexN(20, 2), QByteArray("14"));
        QCOMPARE(Int64ToHexN(0xFFFFFFFFLL, 8), QByteArray("FFFFFFFF"));
        QByteArray t = "ABC";
        QCOMPARE(CutLeft(t, 5), QByteArray("ABC"));
        QVERIFY(t.isEmpty());
        t = "ABCDEF";
        QCOMPARE(CutLeft(t, 2), QByteArray("AB"));
        QCOMPARE(t, QByteArray("CDEF"));
        QCOMPARE(HexToInt(""), 0);
        QCOMPARE(HexToInt("00a5"), 165);
        QVERIFY_THROWS_EXCEPTION(ConversionError, HexToInt("0G"));
        QCOMPARE(BytesToHex(QByteArray::fromHex("00ff1a")), QByteArray("00FF1A"));
        QCOMPARE(BytesToHexN(QByteArray::fromHex("00ff1a"), 2), QByteArray("00FF"));
        QCOMPARE(BytesToHexN(QByteArray::fromHex("00ff1a"), 0), QByteArray());
        QVERIFY(BytesToHex({}).isEmpty());
    }

    void validationAcceptsGoodFrames() {
        AsciiReply r;
        QVERIFY(ValidateAsciiFrame(":010600050017DD\r\n", &r));
        QCOMPARE(r.function, QByteArray("06"));
        QCOMPARE(r.address, QByteArray("01"));
        QCOMPARE(r.text, QByteArray(":010600050017DD"));
        // Garbage before the colon is not part of the reply text.
        QVERIFY(ValidateAsciiFrame("xx:0135CA\r\n", &r));
        QCOMPARE(r.text, QByteArray(":0135CA"));
    }

    void validationDropsBadFrames_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("wrong LRC") << QByteArray(":010600050017DE\r\n");
        QTest::newRow("no colon") << QByteArray("010600050017DD\r\n");
        QTest::newRow("no CR") << QByteArray(":010600050017DD");
        QTest::newRow("non-hex body") << QByteArray(":01060005001GDD\r\n");
        QTest::newRow("too short") << QByteArray(":01\r\n");
        QTest::newRow("odd length") << QByteArray(":0106000500170DD\r\n");
    }
    void validationDropsBadFrames() {
        QFETCH(QByteArray, frame);
        AsciiReply r;
        QVERIFY(!ValidateAsciiFrame(frame, &r));
    }

    // Trace lines carry controller bytes: nothing a terminal would act on may get through raw.
    void traceTextEscapesEveryControlByte() {
        for (int b = 0; b < 256; ++b) {
            const QByteArray line = "TcpStr >> " + QByteArray(1, char(b)) + "|";
            const QByteArray t = TraceText(line);
            if (b >= 0x20 && b < 0x7F) {
                QCOMPARE(t, line);
            } else {
                const QByteArray escaped = QString::asprintf("\\x%02x", b).toLatin1();
                QCOMPARE(t, "TcpStr >> " + escaped + "|");
            }
        }
        // Every byte in one line: the result is printable ASCII only.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        for (char c : TraceText(all))
            QVERIFY(c >= 0x20 && c < 0x7F);
        QCOMPARE(TraceText("\x1b[2J\x1b]0;owned\x07"), QByteArray("\\x1b[2J\\x1b]0;owned\\x07"));
        // Whole UTF-8 characters stay; C1 controls in UTF-8 and broken sequences do not.
        const QByteArray korean = QString("강남 국사").toUtf8();
        QCOMPARE(TraceText(korean), korean);
        QCOMPARE(TraceText("\xC2\x9B"
                           "31m"),
                 QByteArray("\\xc2\\x9b"
                            "31m"));
        QCOMPARE(TraceText(korean.left(2)), QByteArray("\\xea\\xb0"));
        QCOMPARE(TraceText("\xC0\xAF"), QByteArray("\\xc0\\xaf")); // overlong
        // The CR LF that ends a serial frame is kept; one inside a line is not.
        QCOMPARE(TraceText("Receive >> :0106\r\n"), QByteArray("Receive >> :0106\r\n"));
        QCOMPARE(TraceText(":01\r\n06\r\n"), QByteArray(":01\\x0d\\x0a06\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
