// What the configuration dialogs write: scaling, ranges, order, refusals, the identity record.
#include "core/settings/SettingRows.h"

#include <QtTest>

using namespace quma;

namespace {
QList<RowInput> allRows(bool checked) {
    QList<RowInput> in;
    for (const SetPointRow& r : SetPointRows()) {
        RowInput i;
        i.checked = checked && r.reg != 92;
        i.text = r.def;
        i.index = 0;
        in << i;
    }
    return in;
}
int rowOf(int reg) {
    for (int i = 0; i < SetPointRows().size(); ++i)
        if (SetPointRows()[i].reg == reg) return i;
    return -1;
}
NetworkIdentity lastRead() {
    NetworkIdentity n;
    n.mac = "02.5E.C4.E0.00.01";
    n.ip = "192.168.50.92";
    n.subnet = "255.255.255.00";
    n.gateway = "192.168.50.01";
    n.hwVersion = "00.00.00.01";
    n.rectId = "00000001";
    n.siteInfoUtf8 = "Site A";
    return n;
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void tenthsAreTruncatedNotRounded() {
        QCOMPARE(ParseTenths("54.36"), std::optional<int>(543));
        QCOMPARE(ParseTenths("54.3"), std::optional<int>(543));
        QCOMPARE(ParseTenths("54"), std::optional<int>(540));
        QCOMPARE(ParseTenths(" 5.0 "), std::optional<int>(50));
        QVERIFY(!ParseTenths(""));
        QVERIFY(!ParseTenths("5,4"));
        QVERIFY(!ParseTenths("-3"));
        QVERIFY(!ParseInteger("12.5"));
    }

    void selectAllQueuesTwentyTwoWrites() {
        const WritePlan p = PlanSetPoints(allRows(true), false, 0);
        QVERIFY(p.error.isEmpty());
        QCOMPARE(p.writes.size(), 22);
        // Queued in table order: sent last first, so 69 goes first and 54 last.
        QCOMPARE(p.writes.last().reg, 69);
        QCOMPARE(p.writes.first().reg, 54);
        for (const RegWrite& w : p.writes)
            QVERIFY(w.reg != 92 && w.reg != 31);
        QCOMPARE(p.writes[rowOf(60)].value, 540);
        QCOMPARE(p.writes[rowOf(64)].value, 1); // index + 1
    }

    void rangesAndRefusals() {
        QList<RowInput> in = allRows(false);
        in[rowOf(60)] = {true, "59.5", -1};
        WritePlan p = PlanSetPoints(in, false, 0);
        QVERIFY(p.writes.isEmpty());
        QCOMPARE(p.error, QString("출력전압: '59.5' is not within 43.0 ~ 56.0."));
        p = PlanSetPoints(in, false, 3); // test charge mode: 42.0 ~ 60.0
        QVERIFY(p.error.isEmpty());
        QCOMPARE(p.writes.first().value, 595);
        in[rowOf(60)] = {true, "", -1};
        QVERIFY(PlanSetPoints(in, false, 0).error.contains("출력전압"));
        in[rowOf(60)] = {};
        in[rowOf(75)] = {true, "5.5", -1}; // an integer row with a fraction
        QVERIFY(PlanSetPoints(in, false, 0).error.contains("시험시작 월"));
        QVERIFY(PlanSetPoints(in, false, 0).error.contains("is not a whole number"));
        in[rowOf(75)] = {};
        in[rowOf(67)] = {true, {}, -1}; // battery temperature list showing nothing
        QVERIFY(PlanSetPoints(in, false, 0).error.contains("축전지 온도"));
        in[rowOf(67)] = {};
        in[rowOf(64)] = {true, {}, -1}; // charge mode showing nothing writes 0
        p = PlanSetPoints(in, false, 0);
        QCOMPARE(p.writes.first().value, 0);
        in[rowOf(64)] = {};
        p = PlanSetPoints(in, true, 0);
        QCOMPARE(p.writes.size(), 1);
        QCOMPARE(p.writes.first().reg, 31);
        QCOMPARE(p.writes.first().value, 255);
        in[rowOf(63)] = {true, "0", -1};
        QCOMPARE(PlanSetPoints(in, false, 0).writes.first().value, 0);
        in[rowOf(63)] = {true, "5", -1};
        QVERIFY(PlanSetPoints(in, false, 0).error.contains("0 ~ 4"));
    }

    // Leaving an entry clamps a number outside its range, a negative one too; text that is not
    // a number is left for OK to refuse.
    void entriesClampOnLeaving() {
        const SetPointRow& volts = SetPointRows()[rowOf(60)];
        QCOMPARE(ClampedEntryText(volts, "-5", 43.0, 56.0), std::optional<QString>("43.0"));
        QCOMPARE(ClampedEntryText(volts, " -54.5 ", 43.0, 56.0), std::optional<QString>("43.0"));
        QCOMPARE(ClampedEntryText(volts, "70", 43.0, 56.0), std::optional<QString>("56.0"));
        QVERIFY(!ClampedEntryText(volts, "54.5", 43.0, 56.0));
        QVERIFY(!ClampedEntryText(volts, "abc", 43.0, 56.0));
        QVERIFY(!ClampedEntryText(volts, "-", 43.0, 56.0));
        const SetPointRow& month = SetPointRows()[rowOf(75)];
        QCOMPARE(ClampedEntryText(month, "-3", month.min, month.max),
                 std::optional<QString>(QString::number(int(month.min))));
        QVERIFY(!ClampedEntryText(month, "5.5", month.min, month.max));
    }

    void calibration() {
        CalibrationInput in;
        in.text[0] = "220.0";
        in.text[1] = "00.00";
        in.text[2] = "54.00";
        in.text[3] = "18.50";
        in.text[4] = "03.00";
        in.text[5] = "10.00";
        for (bool& c : in.checked)
            c = true;
        WritePlan p = PlanCalibration(in);
        QVERIFY(p.writes.size() == 4); // AC rows hidden
        QCOMPARE(p.writes[0].reg, 50);
        QCOMPARE(p.writes[0].value, 54000);
        QCOMPARE(p.writes[1].value, 18500);
        in.acRowsShown = true;
        p = PlanCalibration(in);
        QCOMPARE(p.writes.size(), 5); // AC current 0 is skipped
        QCOMPARE(p.writes[0].reg, 48);
        QCOMPARE(p.writes[0].value, 2200);
        in.text[3] = "00.00";
        QCOMPARE(PlanCalibration(in).writes[2].value, 0); // DC current 0 is written
        in.text[2] = "5_.00";
        QVERIFY(PlanCalibration(in).error.contains("DC 전압"));
        // Typed numbers are range-checked before any arithmetic: no overflow, a clear refusal.
        in.text[2] = "111111111111";
        QCOMPARE(PlanCalibration(in).error,
                 QString("DC 전압: '111111111111' is not within 00.00 ~ 65.53."));
        in.text[2] = "65.54";
        QVERIFY(PlanCalibration(in).error.contains("00.00 ~ 65.53"));
        in.text[2] = "0065.53";
        QCOMPARE(PlanCalibration(in).writes[1].value, 65530);
        in.text[2] = "54.00";
        in.text[0] = "99999999999999999999";
        QVERIFY(PlanCalibration(in).error.contains("AC 전압: '99999999999999999999' is not within "
                                                   "00.00 ~ 655.35"));
        in.text[0] = "655.35";
        QCOMPARE(PlanCalibration(in).writes[0].value, 65535);
    }

    void alarmWordsAndContactDefaults() {
        const auto [w1, w2] = AlarmWords(DefaultContactBoxes(2));
        QCOMPARE(w1, 0x0026);
        QCOMPARE(w2, 0x0002);
        QCOMPARE(AlarmWords({1, 23}), std::make_pair(0x0001, 0x0040));
        QVERIFY(DefaultContactBoxes(8).isEmpty());
        QVERIFY(AlarmBoxChecked(18, 0, 2));
        QCOMPARE(ShownAlarmBoxes().size(), 9);
    }

    void calendarAndClock() {
        QCOMPARE(DaysInMonth(2024, 2), 29);
        QCOMPARE(DaysInMonth(2023, 2), 28);
        QCOMPARE(DaysInMonth(2100, 2), 28);
        QCOMPARE(DaysInMonth(2400, 2), 29);
        QCOMPARE(DaysInMonth(2024, 4), 30);
        const WritePlan p = PlanClock(2024, 7, 9, 13, 45, 30);
        QCOMPARE(p.writes.size(), 6);
        // Sent last queued first: minute, hour, day, month, year, second.
        QList<int> wire;
        for (auto it = p.writes.rbegin(); it != p.writes.rend(); ++it)
            wire << it->reg;
        QCOMPARE(wire, (QList<int>{5, 4, 3, 2, 1, 6}));
        QCOMPARE(p.writes[2].value, 7);
        QVERIFY(PlanClock(2023, 2, 29, 0, 0, 0).error.startsWith("일"));
        QVERIFY(PlanClock(2024, 13, 1, 0, 0, 0).error.startsWith("월"));
    }

    void networkIdentityPayload() {
        const NetworkIdentity last = lastRead();
        NetIdForm f;
        QVERIFY(BuildNetIdPayload(f, &last).payload.isEmpty()); // nothing checked
        f.gateway = true;
        f.gatewayText = {"10", "0", "0", "1"};
        f.serialText = "2200000001;";
        f.hwDescriptionText = "X";
        f.rectIdText = "ignored";
        NetIdPayload p = BuildNetIdPayload(f, nullptr);
        QVERIFY(p.payload.isEmpty());
        QVERIFY(!p.error.isEmpty()); // refused before a record was read
        p = BuildNetIdPayload(f, &last);
        QVERIFY(p.error.isEmpty());
        const QByteArray& b = p.payload;
        QCOMPARE(b.left(4).toHex(), QByteArray("12345678"));
        QCOMPARE(b.mid(4, 6).toHex(), QByteArray("025ec4e00001"));
        QCOMPARE(b.mid(10, 4).toHex(), QByteArray("c0a8325c"));
        QCOMPARE(b.mid(18, 4).toHex(), QByteArray("0a000001")); // the new gateway
        QCOMPARE(int(b[22]), 0);                                // no change flag for it
        QCOMPARE(int(b[31]), 1);                                // description length
        QCOMPARE(b.mid(32, 1), QByteArray("X"));
        QCOMPARE(b.mid(33, 12), QByteArray("2200000001; "));
        f.serialText = "12345";
        f.site = true;
        f.siteText = "강남 국사";
        p = BuildNetIdPayload(f, &last);
        QCOMPARE(p.payload.mid(33, 12), QByteArray("12345     ; "));
        const QByteArray site = QString("강남 국사").toUtf8();
        QCOMPARE(int(uchar(p.payload[p.payload.size() - site.size() - 1])), site.size());
        QVERIFY(p.payload.endsWith(site));
        QCOMPARE(int(p.payload[22]), 0x40);
        f.ip = true;
        f.ipText = {"192", "168", "1", "256"};
        QVERIFY(BuildNetIdPayload(f, &last).error.contains("0 ~ 255"));
        f.ip = false;
        f.mac = true;
        f.macText = {"02", "5E", "C4", "E0", "00", "1FF"};
        QVERIFY(BuildNetIdPayload(f, &last).error.contains("00 ~ FF"));
        f.mac = false;
        f.rectId = true;
        f.rectIdText = "123456789";
        QVERIFY(BuildNetIdPayload(f, &last).error.contains("8 digits"));
        f.rectIdText = "FFFFFFFE";
        QVERIFY(BuildNetIdPayload(f, &last).error.isEmpty());
        f.siteText = QString(300, 'a');
        QVERIFY(BuildNetIdPayload(f, &last).error.contains("255"));
    }

    // A read cut by the reply size left the later fields empty: a write of the early ones still
    // goes out, the unread ones as zeros with their flags clear.
    void networkIdentityPayloadAfterCutRead() {
        NetworkIdentity cut = lastRead();
        cut.hwVersion.clear();
        cut.rectId.clear();
        cut.siteInfoUtf8.clear();
        NetIdForm f;
        f.ip = true;
        f.ipText = {"10", "1", "2", "3"};
        const NetIdPayload p = BuildNetIdPayload(f, &cut);
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        QCOMPARE(p.payload.mid(10, 4).toHex(), QByteArray("0a010203"));
        QCOMPARE(int(p.payload[22]), 0x01);
        QCOMPARE(p.payload.mid(44, 4), QByteArray(4, 0)); // hardware version
        QCOMPARE(p.payload.mid(66, 4), QByteArray(4, 0)); // rectifier ID
        QCOMPARE(p.payload.right(1), QByteArray(1, 0));   // no site text
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
