// History and event-log transfers: requests in order, rows, progress, completion, record texts.
#include "core/history/TransferRecord.h"
#include "tests/FakeLinks.h"
#include "tests/LinkRows.h"

#include <QSignalSpy>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
QByteArray eventRecord(int y, int mo, int d, int h, int mi, int s, int code, int value) {
    QByteArray r;
    for (int b : {y, mo, d, h, mi, s})
        r += char(b);
    return r + u16(code) + u16(value);
}
QByteArray alarmRecord(int code, int occurrence, int battAmps = 0) {
    QByteArray r;
    for (int b : {21, 3, 7, 9, 5, 0})
        r += char(b);
    for (int w : {2201, 45, 545, 123, battAmps, 250, 0, 0, 0, 0, 0})
        r += u16(w);
    return r + QByteArray(4, 0) + char(code) + char(occurrence);
}

// Drives one transfer with a controller that answers record n with the given maker.
struct TransferDriver {
    EngineRig& rig;
    TransferKind kind;
    std::function<QByteArray(int number)> record;
    QList<int> requested = {};

    void run(int total) {
        const bool tcp = rig.engine.link().linkKind() == LinkKind::Tcp;
        const bool alarm = kind == TransferKind::Alarm;
        while (!rig.engine.RequestStartTick()) {
        }
        if (tcp) {
            answerTcp(u16(total) + u16(0));
        } else {
            rig.engine.link().receiveSerial(
                AsciiFrame((alarm ? "01C0" : "01D0") + IntToHexN(total, 4) + "0000"));
        }
        for (int guard = 0; guard < 10000; ++guard) {
            if (tcp) {
                if (rig.tcp.waiting.isEmpty()) break;
                const int n = (uchar(rig.tcp.waiting.first().frame[9]) << 8) |
                              uchar(rig.tcp.waiting.first().frame[10]);
                requested << n;
                answerTcp(QByteArray(1, char(alarm ? 35 : 11)) + record(n));
            } else {
                const QByteArray last = rig.serial.written.last();
                if (!last.startsWith(alarm ? ":0131" : ":0141")) break;
                const int n = int(HexToInt(last.mid(5, 4)));
                if (requested.size() >= total) break;
                requested << n;
                rig.engine.link().receiveSerial(
                    AsciiFrame((alarm ? "01C1" : "01D1") + BytesToHex(record(n))));
            }
        }
    }
    void answerTcp(const QByteArray& data) {
        const TcpRequest r = rig.tcp.waiting.first();
        rig.tcp.reply(TcpReplyTo(r, r.function, data));
    }
};
} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
private slots:
    void countOfThreeFillsRowsOneToThree_data() { AddLinkRows(); }
    void countOfThreeFillsRowsOneToThree() {
        QFETCH(int, link);
        EngineRig rig{LinkKind(link)};
        rig.engine.link().receiveSerial(SerialPollReply(SampleImage()));
        if (link == int(LinkKind::Tcp)) {
            rig.engine.Timer1Timer();
            rig.tcp.reply(TcpReplyTo(rig.tcp.sent[0], 0x04, TcpPollData(SampleImage())));
        }
        QVERIFY(rig.engine.OpenTransfer(TransferKind::Event));
        QSignalSpy progress(&rig.engine, &MonitorEngine::transferProgress);
        TransferDriver d{rig, TransferKind::Event,
                         [](int n) { return eventRecord(21, 3, 7, 9, 5, n, 0x0C, 0x0222); }};
        d.run(3);
        QCOMPARE(d.requested, (QList<int>{2, 1, 0}));
        const auto& rows = rig.engine.transfer().rows;
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], EventLogHeader());
        QCOMPARE(rows[1],
                 (QStringList{"001", "2021-03-07", "09:05:02", "DC_High_Voltage", "54.6 V"}));
        QCOMPARE(rows[3][2], QString("09:05:00"));
        QCOMPARE(progress.at(0).at(2).toString(), QString("Total : 0 /0"));
        QCOMPARE(progress.at(1).at(2).toString(), QString("Total : 1 /3"));
        QCOMPARE(progress.at(1).at(1).toInt(), 33);
        QCOMPARE(rig.messageTexts().last(), QString("3 History data\rare Saved!!"));
        QVERIFY(!rig.engine.transfer().active);
        QCOMPARE(rig.engine.transfer().recordTotal, 0);
        QVERIFY(!rig.engine.timer1Enabled());
    }

    void fortyAlarmRecordsInReverseOrder() {
        EngineRig rig(LinkKind::Tcp);
        rig.engine.setCommandKind(RectMode::Poll);
        rig.engine.Timer1Timer();
        rig.tcp.reply(TcpReplyTo(rig.tcp.sent[0], 0x04, TcpPollData(SampleImage())));
        rig.engine.OpenTransfer(TransferKind::Alarm);
        TransferDriver d{rig, TransferKind::Alarm,
                         [](int n) { return alarmRecord(n % 30, n % 2); }};
        d.run(40);
        QCOMPARE(d.requested.size(), 40);
        QCOMPARE(d.requested.first(), 39);
        QCOMPARE(d.requested.last(), 0);
        const auto& rows = rig.engine.transfer().rows;
        QCOMPARE(rows.size(), 41);
        QCOMPARE(rows[40][14], QString(" Recov")); // record 0: code 0, recovery
        QCOMPARE(rows[39][14], QString("AC 경보"));
        QCOMPARE(rows[38][14], QString("DC 고전압 Recov"));
        QCOMPARE(rows[1][0], QString("001"));
        QCOMPARE(rows[1].size(), 15);
        QCOMPARE(rows[1].mid(3, 6),
                 (QStringList{"220.1 V", "04.5 A", "54.5 V", "12.3 A", "+0.0  A", "+25.0  C"}));
        QCOMPARE(rows[1].mid(9, 5), QStringList(5, "-"));
    }

    void emptyLogsSayNoData_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("serial event") << int(LinkKind::Serial) << 2 << "No Event log data";
        QTest::newRow("serial alarm") << int(LinkKind::Serial) << 1 << "No History data";
        QTest::newRow("tcp event") << int(LinkKind::Tcp) << 2 << "No Event log data";
        QTest::newRow("tcp alarm") << int(LinkKind::Tcp) << 1 << "No History data";
    }
    void emptyLogsSayNoData() {
        QFETCH(int, link);
        QFETCH(int, kind);
        QFETCH(QString, text);
        EngineRig rig{LinkKind(link)};
        rig.engine.OpenTransfer(TransferKind(kind));
        TransferDriver d{rig, TransferKind(kind), [](int) { return QByteArray(); }};
        d.run(0);
        QCOMPARE(rig.messages.size(), 1);
        QCOMPARE(rig.messages[0].first, MessageKind::Plain);
        QCOMPARE(rig.messages[0].second, text);
        QVERIFY(d.requested.isEmpty());
        // No page request for record -1 is repeated by the timer.
        const int sent = rig.serial.written.size() + rig.tcp.sent.size();
        for (int i = 0; i < 8; ++i)
            rig.engine.Timer1Timer();
        QCOMPARE(rig.serial.written.size() + rig.tcp.sent.size(), sent);
    }

    void serialPageRepeatedByTimerAndLatePageIgnored() {
        EngineRig rig(LinkKind::Serial);
        rig.engine.link().receiveSerial(SerialPollReply(SampleImage()));
        rig.engine.OpenTransfer(TransferKind::Event);
        while (!rig.engine.RequestStartTick()) {
        }
        QCOMPARE(rig.serial.written.last(), QByteArray(":0140BF\r\n"));
        rig.engine.link().receiveSerial(AsciiFrame("01D0"
                                                   "0005"
                                                   "0000"));
        QCOMPARE(rig.engine.timer1Interval(), 800);
        QCOMPARE(rig.serial.written.last(), AsciiFrame("01410004"));
        // Unanswered: the timer repeats the request every second tick.
        const int before = rig.serial.written.size();
        rig.engine.Timer1Timer();
        rig.engine.Timer1Timer();
        rig.engine.Timer1Timer();
        QCOMPARE(rig.serial.written.size(), before + 1);
        QCOMPARE(rig.serial.written.last(), AsciiFrame("01410004"));
        // Closed by the user: a page arriving later changes nothing.
        rig.engine.CloseTransfer(true);
        rig.engine.link().receiveSerial(
            AsciiFrame("01D1" + BytesToHex(eventRecord(1, 1, 1, 1, 1, 1, 0, 0))));
        QVERIFY(!rig.engine.transfer().active);
        QCOMPARE(rig.engine.transfer().rows.size(), 1);
        QCOMPARE(rig.engine.commandKind(), RectMode::Poll);
        QVERIFY(rig.engine.timer1Enabled());
    }

    void rowsOnlyForKnownSystemTypes() {
        EngineRig rig(LinkKind::Serial);
        QVERIFY(!rig.engine.OpenTransfer(TransferKind::Event)); // system type 0: no window
        TransferDriver d{rig, TransferKind::Event,
                         [](int) { return eventRecord(1, 1, 1, 1, 1, 1, 0, 0); }};
        d.run(2);
        QCOMPARE(rig.engine.transfer().rows[1], QStringList());
        QCOMPARE(rig.messageTexts().last(), QString("2 History data\rare Saved!!"));
    }

    void eventValueTexts_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cold") << 15 << 0xFFCE << "Over Temperature"
                              << "-5.0 'C";
        QTest::newRow("warm") << 15 << 0x01C2 << "Over Temperature"
                              << "+45.0 'C";
        QTest::newRow("limit off") << 17 << 0 << "CH_LIMIT"
                                   << " OFF";
        QTest::newRow("limit") << 17 << 500 << "CH_LIMIT"
                               << "50.0 A";
        QTest::newRow("task reset") << 70 << 255 << "Task Fail Count"
                                    << "Reset";
        QTest::newRow("task count") << 70 << 3 << "Task Fail Count"
                                    << "3";
        QTest::newRow("ip high") << 54 << 0x0A00 << "Remote IP_H Set"
                                 << "10.0";
        QTest::newRow("ip 192.168") << 55 << 0xC0A8 << "Remote IP_L Set"
                                    << "192.168";
        QTest::newRow("charge mode odd") << 18 << 7 << "Charge Mode"
                                         << "";
        QTest::newRow("charge mode") << 18 << 2 << "Charge Mode"
                                     << "Temp_mode";
        QTest::newRow("test data") << 25 << 165 << "TestAlarm_Data_Set1"
                                   << "00A5";
        QTest::newRow("hw alarm") << 44 << 0xBEEF << "HW ALARM4_L"
                                  << "BEEF";
        QTest::newRow("ad lc tenths") << 5 << 123 << "AD_LC"
                                      << "12.3 A";
        QTest::newRow("ad lc decimal") << 8 << 123 << "AD_LC"
                                       << "123";
        QTest::newRow("ac volts") << 2 << 2201 << "AD_ACV"
                                  << "220.1 V";
        QTest::newRow("ac amps") << 3 << 123 << "AD_ACA"
                                 << "1.23 A";
        QTest::newRow("period off") << 29 << 0 << "TEST_Period"
                                    << " Off ";
        QTest::newRow("period") << 30 << 3 << "TEST_Start_Month"
                                << "3 Month ";
        QTest::newRow("used") << 21 << 1 << "BATT_TEMP_USE"
                              << " Used ";
        QTest::newRow("normal close") << 23 << 1 << "ALM_SEL"
                                      << " Normal Close ";
        QTest::newRow("ovp") << 19 << 0 << "OVP_FG"
                             << " Release ";
        QTest::newRow("percent") << 14 << 105 << "DC_High_Current"
                                 << "105 %";
        QTest::newRow("minutes") << 53 << 30 << "Remote Test Time"
                                 << "30 Min ";
        QTest::newRow("unnamed 27") << 27 << 9 << ""
                                    << "9";
        QTest::newRow("unnamed 65") << 65 << 9 << ""
                                    << "9";
        QTest::newRow("above 70") << 71 << 9 << ""
                                  << "9";
    }
    void eventValueTexts() {
        QFETCH(int, code);
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(EventText(code), text);
        QCOMPARE(EventValueText(code, value), shown);
    }

    void alarmTexts() {
        QCOMPARE(AlarmCodeText(2, 1), QString("DC 고전압"));
        QCOMPARE(AlarmCodeText(2, 0), QString("DC 고전압 Recov"));
        QCOMPARE(AlarmCodeText(25, 0), QString("Reset Recov"));
        QCOMPARE(AlarmCodeText(30, 0), QString(" Recov"));
        QCOMPARE(AlarmCodeText(30, 5), QString());
        const QStringList cells = DecodeTransferRecord(
            AsciiFrame("01C1" + BytesToHex(alarmRecord(2, 1, 0xFFF6))).chopped(2), LinkKind::Serial,
            TransferKind::Alarm, 7);
        QCOMPARE(cells[0], QString("007"));
        QCOMPARE(cells[7], QString("-1.0  A"));
        QCOMPARE(cells[14], QString("DC 고전압"));
    }

    void shortRecordReadsMissingFieldsAsZero() {
        const QStringList cells =
            DecodeTransferRecord(QByteArray(1, 11) + QByteArray::fromHex("150307"), LinkKind::Tcp,
                                 TransferKind::Event, 1);
        QCOMPARE(cells, (QStringList{"001", "2021-03-07", "00:00:00", "Reset", "0"}));
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
