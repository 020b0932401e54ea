// Trends without windows: the rings, the values of a poll, the markers, decimation, reading data
// logs back, and CSV files.
#include "core/battery/BatteryWatch.h"
#include "core/datalog/DataLog.h"
#include "core/export/CsvExport.h"
#include "core/trend/DataLogReader.h"
#include "core/trend/TrendRecorder.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quma;

namespace {
TrendValues filled(float v) {
    TrendValues a;
    a.fill(v);
    return a;
}

RegisterImage plantImage(int alarm1 = 0, int alarm2 = 0) {
    RegisterImage r;
    const std::pair<int, int> regs[] = {{1, 2026},    {2, 12},   {3, 8},    {4, 9},   {5, 30},
                                        {6, 15},      {7, 2205}, {8, 52},   {9, 545}, {10, 350},
                                        {11, 0xFFE7}, {12, 253}, {13, 312}, {66, 1},  {97, 5320}};
    for (const auto& [reg, v] : regs)
        r.set(reg, v);
    for (int c = 0; c < 15; ++c)
        r.set(110 + c, 330 + c);
    r.set(Reg::Alarm1, alarm1);
    r.set(Reg::Alarm2, alarm2);
    return r;
}
} // namespace

class TestTrend : public QObject {
    Q_OBJECT
private slots:
    // A cell is flagged when it stays apart from the others for the hold time, not before; a
    // single noisy poll flags nothing, and a cell that comes back is cleared.
    void cellTrendFlagsACellThatStaysApart_data() {
        QTest::addColumn<QList<int>>("cell4");   // hundredths of a volt, a poll a minute
        QTest::addColumn<QList<int>>("flagged"); // after each poll: 0 or cell 4
        QTest::newRow("stays low 10 min")
            << QList<int>{326, 326, 326, 326, 326, 326, 326, 326, 326, 326, 326, 326}
            << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4};
        QTest::newRow("one noisy poll") << QList<int>{330, 320, 330, 330} << QList<int>{0, 0, 0, 0};
        QTest::newRow("comes back")
            << QList<int>{326, 326, 326, 326, 326, 326, 326, 326, 326, 326, 326, 330}
            << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0};
        QTest::newRow("high too") << QList<int>{334, 334, 334, 334, 334, 334,
                                                334, 334, 334, 334, 334}
                                  << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4};
    }
    void cellTrendFlagsACellThatStaysApart() {
        QFETCH(QList<int>, cell4);
        QFETCH(QList<int>, flagged);
        CellTrend trend; // 30 mV for 10 minutes
        RegisterImage image;
        for (int c = 0; c < Reg::CellCount; ++c)
            image.set(Reg::Cell1 + c, 330);
        for (int i = 0; i < cell4.size(); ++i) {
            image.set(Reg::Cell1 + 3, cell4[i]);
            trend.add(BatterySample::FromImage(image, qint64(i) * 60000));
            QCOMPARE(trend.flagged(), flagged[i] ? QList<int>{4} : QList<int>{});
        }
    }

    void ringKeepsTheNewestAndWrapsAround() {
        TrendStore s(5);
        QVERIFY(s.isEmpty());
        QCOMPARE(s.nearest(100), -1);
        for (int i = 0; i < 12; ++i)
            s.append(1000 * i, filled(float(i)));
        QCOMPARE(s.size(), 5);
        QCOMPARE(s.time(0), qint64(7000));
        QCOMPARE(s.time(4), qint64(11000));
        QCOMPARE(s.value(Trend::Cell1 + 3, 0), 7.0f);
        QCOMPARE(s.value(Trend::CellSpread, 4), 11.0f);
        QCOMPARE(s.lowerBound(8500), 2);
        QCOMPARE(s.lowerBound(0), 0);
        QCOMPARE(s.lowerBound(99999), 5);
        QCOMPARE(s.nearest(8400), 1);
        QCOMPARE(s.nearest(8600), 2);
        // A clock set back does not send time backwards.
        s.append(500, filled(1));
        QCOMPARE(s.time(4), qint64(11000));
        s.clear();
        QCOMPARE(s.size(), 0);
        // The default holds 24 h of polls at the fastest rate; its memory is fixed up front.
        QCOMPARE(TrendStore::DefaultCapacity, 144000);
        QCOMPARE(TrendStore::BytesPerSample, std::size_t(8 + 4 * 24));
    }

    void markersAreBounded() {
        TrendStore s(3);
        for (int i = 0; i < TrendStore::MarkerCapacity + 5; ++i)
            s.addMarker({i, 1, 0, "x"});
        QCOMPARE(s.markers().size(), TrendStore::MarkerCapacity);
        QCOMPARE(s.markers().first().msecs, qint64(5));
    }

    void valuesOfAPoll() {
        const TrendValues v = TrendValuesFromImage(plantImage());
        QCOMPARE(v[Trend::AcVolts], 220.5f);
        QCOMPARE(v[Trend::DcVolts], 54.5f);
        QCOMPARE(v[Trend::DcAmps], 35.0f);
        QCOMPARE(v[Trend::BattAmps], -2.5f); // two's complement
        QCOMPARE(v[Trend::BattTemp], 25.3f);
        QCOMPARE(v[Trend::RectTemp], 31.2f);
        QCOMPARE(v[Trend::BattVolts], 53.2f);
        QCOMPARE(v[Trend::Cell1], 3.30f);
        QCOMPARE(v[Trend::Cell15], 3.44f);
        QVERIFY(qAbs(v[Trend::CellSpread] - 0.14f) < 1e-5f);
    }

    // A sequence of polls: one sample each, a marker where the alarm words change.
    void recorderMarksAlarmChanges() {
        MonitorEngine engine;
        TrendStore store(100);
        TrendRecorder rec(engine, store);
        qint64 now = 1'000'000;
        rec.setClock([&] { return now; });
        const QList<std::pair<int, int>> words = {
            {0, 0}, {0, 0}, {0x0001, 0}, {0x0001, 0}, {0x0021, 0x0040}, {0, 0}, {0, 0}};
        for (const auto& [a1, a2] : words) {
            rec.record(plantImage(a1, a2));
            now += 900;
        }
        QCOMPARE(store.size(), 7);
        QCOMPARE(store.markers().size(), 3);
        QCOMPARE(store.markers()[0].msecs, qint64(1'000'000 + 2 * 900));
        QCOMPARE(store.markers()[0].text, QString("0001 0000: AC 경보"));
        QCOMPARE(store.markers()[1].msecs, qint64(1'000'000 + 4 * 900));
        QCOMPARE(store.markers()[1].text, QString("0021 0040: AC 경보, DC 과전류, 축전지 셀"));
        QCOMPARE(store.markers()[2].text, QString("0000 0000: no alarm"));
        // Alarms standing at the first poll are marked there.
        TrendStore other(10);
        TrendRecorder second(engine, other);
        second.record(plantImage(0x0004, 0));
        QCOMPARE(other.markers().size(), 1);
    }

    void decimationKeepsPeaksAndOrder() {
        TrendStore s(20000);
        for (int i = 0; i < 20000; ++i) {
            TrendValues v = filled(50);
            if (i == 12345) v[Trend::DcVolts] = 58.5f;
            if (i == 777) v[Trend::DcVolts] = 41.0f;
            s.append(i * 100, v);
        }
        const auto points = DecimateSeries(s, Trend::DcVolts, 0, 2'000'000, 400);
        QVERIFY(points.size() <= 800);
        float lo = 100, hi = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            lo = std::min(lo, points[i].value);
            hi = std::max(hi, points[i].value);
            if (i > 0) QVERIFY(points[i].msecs >= points[i - 1].msecs);
        }
        QCOMPARE(hi, 58.5f);
        QCOMPARE(lo, 41.0f);
        // A window with few samples gives them all; an empty one nothing.
        QCOMPARE(DecimateSeries(s, Trend::DcVolts, 1000, 2000, 400).size(), std::size_t(10));
        QVERIFY(DecimateSeries(s, Trend::DcVolts, 5'000'000, 6'000'000, 400).empty());
    }

    // A log as the console writes it reads back to the same values and alarm moments.
    void dataLogReadsBack() {
        QByteArray text;
        const auto line = [&](const QString& l) { text += l.toUtf8() + "\r\n"; };
        for (const QString& l : LogHeaderLines())
            line(l);
        RegisterImage img = plantImage();
        line(LogDataLine(img));
        img.set(6, 17);
        line(LogDataLine(img));
        img.set(6, 18);
        img.set(Reg::Alarm1, 0x0002);
        line("[al]" + LogDataLine(img));
        img.set(6, 19);
        line(LogDataLine(img));
        const DataLogRead r = ReadDataLog(text);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.samples, 4);
        QCOMPARE(r.alarmLines, 1);
        QCOMPARE(r.skipped, 0);
        QVERIFY(!r.truncatedLast);
        const TrendStore& s = *r.store;
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(s.time(0)),
                 QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15)));
        QCOMPARE(s.value(Trend::AcVolts, 0), 220.5f);
        QCOMPARE(s.value(Trend::BattAmps, 0), -2.5f);
        QCOMPARE(s.value(Trend::Cell15, 3), 3.44f);
        QCOMPARE(s.markers().size(), 1);
        QCOMPARE(s.markers()[0].msecs, s.time(2));
        QVERIFY(s.markers()[0].text.startsWith("0002 0000: DC 고전압"));
    }

    void dataLogBadLinesAreSkippedAndCounted() {
        QByteArray text;
        for (const QString& l : LogHeaderLines())
            text += l.toUtf8() + "\n";
        const QString good = LogDataLine(plantImage());
        text += good.toUtf8() + "\n";                                        // line 6
        text += QString(good).replace("220.5 V", "abc V").toUtf8() + "\n";   // 7: bad number
        text += good.section(';', 0, 20).toUtf8() + "\n";                    // 8: fields missing
        text += QString(good).replace("2026-12", "2026-13").toUtf8() + "\n"; // 9: no such month
        text += good.toUtf8() + "\n";                                        // 10
        text += good.left(good.size() / 2).toUtf8();                         // cut: no line break
        const DataLogRead r = ReadDataLog(text);
        QCOMPARE(r.samples, 2);
        QCOMPARE(r.skipped, 3);
        QCOMPARE(r.skippedLines, (QList<int>{7, 8, 9}));
        QVERIFY(r.truncatedLast);
        QVERIFY(r.summary().contains("3 line(s) with bad fields skipped (line 7, 8, 9)"));
        QVERIFY(r.summary().contains("cut short"));
        // A log cleared and saved again has no header: its lines are read all the same.
        QCOMPARE(ReadDataLog(good.toUtf8() + "\n").samples, 1);
        // A line of 16 MiB of separators is skipped whole, never split into its fields.
        const DataLogRead huge = ReadDataLog(good.toUtf8() + "\n" + QByteArray(16 << 20, ';') +
                                             "\n" + good.toUtf8() + "\n");
        QCOMPARE(huge.samples, 2);
        QCOMPARE(huge.skippedLines, QList<int>{2});
    }

    void otherFilesAreNotDataLogs() {
        for (const QByteArray& text : {QByteArray(), QByteArray("name,value\nx,1\n"),
                                       QByteArray("\x89PNG\r\n\x1a\n\0\0", 10),
                                       QByteArray("{\"format\": \"quma-site-profile\"}")}) {
            const DataLogRead r = ReadDataLog(text);
            QVERIFY(!r.store);
            QVERIFY(r.error.contains("not a data log"));
        }
        QVERIFY(ReadDataLogFile("/nonexistent/log.txt").error.contains("/nonexistent/log.txt"));
    }

    void csvQuotesAsSpreadsheetsExpect() {
        QCOMPARE(CsvField("plain"), QByteArray("plain"));
        QCOMPARE(CsvField("a,b"), QByteArray("\"a,b\""));
        QCOMPARE(CsvField("say \"hi\""), QByteArray("\"say \"\"hi\"\"\""));
        QCOMPARE(CsvField("two\nlines"), QByteArray("\"two\nlines\""));
        QCOMPARE(CsvField("축전지 셀"), QString("축전지 셀").toUtf8());
        QCOMPARE(CsvLine({"a", "", "b,c"}), QByteArray("a,,\"b,c\"\r\n"));

        QTemporaryDir dir;
        const QString path = dir.filePath("t.csv");
        QString error;
        QVERIFY(WriteCsvFile(path, {{"순서", "text"}, {"1", "x,\"y\""}}, &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF") + QString("순서,text\r\n").toUtf8() +
                                  "1,\"x,\"\"y\"\"\"\r\n");
        QVERIFY(!WriteCsvFile(dir.filePath("no/such/t.csv"), {{"a"}}, &error));
        QVERIFY(error.contains("no/such/t.csv"));

        // A row that cannot reach the disk is an error at once, not at the end.
        CsvAppender full;
        QVERIFY(!full.open("/dev/full", {"time", "value"}, &error) ||
                !full.appendRow({"1", "2"}, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestTrend)
#include "tst_trend.moc"
