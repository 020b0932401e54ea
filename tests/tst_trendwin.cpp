// The Trends tab headless: live samples from the simulator, the window, follow and zoom, legend
// clicks, the cursor values, PNG and CSV exports, and recorded data logs opened in it.
#include "core/datalog/DataLog.h"
#include "core/trend/TrendRecorder.h"
#include "gui/console/Console.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "gui/trend/TrendView.h"
#include "tests/LiveRig.h"
#include "ui_MainWindow.h"

#include <QComboBox>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
// A view on its own store, every box and file choice through the hub.
struct Rig {
    TrendStore store{20000};
    MessageHub hub;
    QStringList boxes, files;
    TrendView view{store, hub};
    Rig() {
        hub.setRecorder([this](MessageKind, const QString& t) { boxes << t; });
        hub.setFileChooser([this](const QString&, bool, const QString&) {
            return files.isEmpty() ? QString() : files.takeFirst();
        });
        view.resize(1200, 700);
        view.show();
    }
    // Samples every `step` ms up to now, with a moving DC voltage.
    void fill(int count, qint64 step) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (int i = 0; i < count; ++i) {
            TrendValues v{};
            v.fill(3.3f);
            v[Trend::DcVolts] = 54.0f + float(i % 10) / 10.0f;
            v[Trend::CellSpread] = 0.05f;
            store.append(now - qint64(count - i) * step, v);
        }
        view.sampleAdded();
    }
    QPushButton* button(const char* name) { return view.findChild<QPushButton*>(name); }
};

QString writeLog(const QTemporaryDir& dir, const QString& name, const QByteArray& tail = {}) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly)) return {};
    for (const QString& l : LogHeaderLines())
        f.write(l.toUtf8() + "\r\n");
    RegisterImage img;
    img.set(1, 2026);
    img.set(2, 12);
    img.set(3, 8);
    img.set(9, 545);
    for (int s = 0; s < 3; ++s) {
        img.set(6, s);
        f.write(LogDataLine(img).toUtf8() + "\r\n");
    }
    f.write(tail);
    return f.fileName();
}
} // namespace

class TestTrendWin : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void liveSamplesFromTheSimulator() {
        LiveRig rig(LinkKind::Tcp);
        QVERIFY(rig.ok);
        MessageHub hub;
        hub.setRecorder([](MessageKind, const QString&) {});
        Console console(rig.engine, rig.session, hub);
        MainWindow& window = console.window();
        window.show();
        auto* tabs = window.form()->PageControl1;
        QCOMPARE(tabs->tabText(2), QString("Trends"));
        QCOMPARE(tabs->tabText(0), QString("Status"));
        QCOMPARE(tabs->tabText(1), QString("log"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(rig.pollOnce());
        tabs->setCurrentIndex(2);
        QTest::qWait(20);
        QCOMPARE(console.trends().shown().size(), 3);
        QCOMPARE(console.trends().series(Trend::DcVolts)->count(), 3);
        QCOMPARE(console.trends().series(Trend::DcVolts)->at(0).y(), 54.5);
        QCOMPARE(console.trends().series(Trend::Cell1 + 14)->count(), 3);
        // The polls asked for nothing more: the samples come from the status refresh.
        QCOMPARE(console.trends().chartViews().size(), 4);
    }

    void windowFollowPauseAndZoom() {
        Rig r;
        r.fill(2000, 900);
        auto* window = r.view.findChild<QComboBox*>("cbbTrendWindow");
        window->setCurrentIndex(0);
        QCOMPARE(r.view.to() - r.view.from(), qint64(5 * 60 * 1000));
        const qint64 before = r.view.to();
        r.fill(1, 0); // a new sample moves a following view
        QVERIFY(r.view.to() >= before);
        QTest::mouseClick(r.button("btnTrendFollow"), Qt::LeftButton);
        QVERIFY(!r.view.following());
        const qint64 paused = r.view.to();
        QTest::qWait(5);
        r.store.append(QDateTime::currentMSecsSinceEpoch() + 60000, TrendValues{});
        r.view.sampleAdded();
        QCOMPARE(r.view.to(), paused);
        // The 5-minute window, a twentieth of it kept free for the samples to come, holds about
        // 317 samples at 900 ms: all drawn.
        QVERIFY2(qAbs(r.view.series(Trend::DcVolts)->count() - 318) <= 2,
                 qPrintable(QString::number(r.view.series(Trend::DcVolts)->count())));
        window->setCurrentIndex(3);
        QCOMPARE(r.view.to(), paused);
        QCOMPARE(r.view.to() - r.view.from(), qint64(24 * 3600 * 1000));
        // Zoom into ten minutes by the wheel's path; reset goes back to following.
        r.view.zoomTo(paused - 600000, paused);
        QCOMPARE(r.view.from(), paused - 600000);
        QTest::mouseClick(r.button("btnTrendResetZoom"), Qt::LeftButton);
        QVERIFY(r.view.following());
        QVERIFY(r.button("btnTrendFollow")->isChecked());
    }

    // Following, a new sample adds one point at the end of each line and moves no axis, until
    // the time axis steps; a value beyond a value axis rescales it.
    void followingAppendsUntilTheWindowSteps() {
        Rig r;
        r.fill(400, 900);
        QLineSeries* dc = r.view.series(Trend::DcVolts);
        const qint64 from = r.view.from();
        const int points = dc->count();
        qint64 t = r.store.time(r.store.size() - 1);
        const auto add = [&](float volts) {
            TrendValues v{};
            v.fill(3.3f);
            v[Trend::DcVolts] = volts;
            v[Trend::CellSpread] = 0.05f;
            r.store.append(t += 900, v);
            r.view.sampleAdded();
        };
        add(54.5f);
        QCOMPARE(r.view.from(), from);
        QCOMPARE(dc->count(), points); // the window's line stays as it was drawn
        const auto ends = [&](const QPointF& p) {
            for (QAbstractSeries* a : dc->chart()->series())
                if (auto* line = qobject_cast<QLineSeries*>(a); line && line->isVisible() &&
                                                                line->count() > 0 &&
                                                                line->at(line->count() - 1) == p)
                    return true;
            return false;
        };
        QVERIFY(ends(QPointF(double(t), double(54.5f))));
        for (int i = 0; i < 20; ++i) // past the 15 s kept free
            add(54.5f);
        QVERIFY(r.view.from() > from);
        add(58.0f);
        auto* axis = qobject_cast<QValueAxis*>(dc->attachedAxes().last());
        QVERIFY(axis && axis->max() > 58.0);
    }

    void wheelAndPanMoveTheWindow() {
        Rig r;
        r.fill(1000, 900);
        QTest::mouseClick(r.button("btnTrendFollow"), Qt::LeftButton);
        QChartView* chart = r.view.chartViews()[0];
        const qint64 span = r.view.to() - r.view.from();
        const QPoint centre = chart->viewport()->rect().center();
        QWheelEvent wheel(centre, chart->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart->viewport(), &wheel);
        QVERIFY(r.view.to() - r.view.from() < span);
        const qint64 from = r.view.from();
        QTest::mousePress(chart->viewport(), Qt::RightButton, {}, centre);
        QMouseEvent move(QEvent::MouseMove, centre + QPoint(100, 0),
                         chart->viewport()->mapToGlobal(centre + QPoint(100, 0)), Qt::NoButton,
                         Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &move);
        QTest::mouseRelease(chart->viewport(), Qt::RightButton, {}, centre + QPoint(100, 0));
        QVERIFY(r.view.from() < from); // dragged right: earlier times come in
    }

    void legendClickHidesASeries() {
        Rig r;
        r.fill(50, 900);
        QLineSeries* cell = r.view.series(Trend::Cell1 + 6);
        QChartView* cells = r.view.chartViews()[3];
        const QList<QLegendMarker*> markers = cells->chart()->legend()->markers(cell);
        QCOMPARE(markers.size(), 1);
        emit markers[0]->clicked();
        QVERIFY(!cell->isVisible());
        QVERIFY(markers[0]->isVisible()); // still there to be clicked again
        QCOMPARE(cell->count(), 0);
        QVERIFY(!r.view.valuesAt(3, r.view.to()).contains("Cell 7 "));
        QVERIFY(r.view.valuesAt(3, r.view.to()).contains("Cell 8 3.30 V"));
        emit markers[0]->clicked();
        QVERIFY(cell->isVisible());
        QCOMPARE(cell->count(), 50);
        QVERIFY(r.view.valuesAt(0, r.view.to()).contains("DC voltage 54.9 V"));
    }

    // Samples stop for two minutes (a history download, a lost link): the line breaks there.
    void gapsAreDrawnAsGaps() {
        Rig r;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        TrendValues v{};
        v.fill(3.3f);
        for (int i = 0; i < 60; ++i)
            r.store.append(now - 300000 + (i < 30 ? i : i + 120) * 1000, v);
        r.view.sampleAdded();
        r.view.refresh();
        QCOMPARE(r.view.gapSegments(Trend::DcVolts), 1);
        QCOMPARE(r.view.series(Trend::DcVolts)->count(), 30);
        QCOMPARE(r.view.gapSegments(Trend::Cell1 + 2), 1);
        r.store.clear();
        r.fill(100, 900); // one sample every 0.9 s: one line
        r.view.refresh();
        QCOMPARE(r.view.gapSegments(Trend::DcVolts), 0);
    }

    void exportsPngAndCsv() {
        QTemporaryDir dir;
        Rig r;
        r.fill(100, 900);
        r.files << dir.filePath("charts");
        QTest::mouseClick(r.button("btnTrendPng"), Qt::LeftButton);
        QImage png(dir.filePath("charts.png"));
        QVERIFY(!png.isNull());
        // The charts alone under their title, drawn for print: no buttons above them.
        QCOMPARE(png.width(), 1600);
        QCOMPARE(png.pixelColor(5, 5), QColor(Qt::white));
        QVERIFY(r.view.printTitle().contains(" to "));
        r.files << dir.filePath("data.csv");
        QTest::mouseClick(r.button("btnTrendCsv"), Qt::LeftButton);
        QFile f(dir.filePath("data.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 101);
        QVERIFY(lines[0].startsWith("\xEF\xBB\xBFtime,dc_voltage_V"));
        QCOMPARE(r.boxes.last(), "Saved " + dir.filePath("data.csv"));
        r.files << dir.filePath("no/such/dir/data.csv");
        QTest::mouseClick(r.button("btnTrendCsv"), Qt::LeftButton);
        QVERIFY(r.boxes.last().startsWith("The trend data was not saved"));
    }

    void recordedLogsOpenInTheSameView() {
        QTemporaryDir dir;
        Rig r;
        r.fill(10, 900);
        r.files << writeLog(dir, "good.txt");
        QTest::mouseClick(r.button("btnOpenDataLog"), Qt::LeftButton);
        QVERIFY(r.view.showingFile());
        QVERIFY(r.boxes.isEmpty());
        QCOMPARE(r.view.series(Trend::DcVolts)->count(), 3);
        QVERIFY(
            r.view.findChild<QLabel*>("lbTrendSource")->text().startsWith("good.txt: 3 samples"));
        QVERIFY(!r.button("btnTrendFollow")->isEnabled());
        // A truncated last line and a bad line: read up to them, and told.
        r.files << writeLog(dir, "cut.txt", "garbage ; line\r\n[  2026-12-08  00:00:09 ]; 54");
        QTest::mouseClick(r.button("btnOpenDataLog"), Qt::LeftButton);
        QCOMPARE(r.view.shown().size(), 3);
        QCOMPARE(r.boxes.size(), 1);
        QVERIFY(r.boxes[0].contains("1 line(s) with bad fields skipped (line 9)"));
        QVERIFY(r.boxes[0].contains("cut short"));
        // Not a data log: refused, the view keeps what it showed.
        QFile other(dir.filePath("profile.json"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("{\"format\": \"quma-site-profile\"}");
        other.close();
        r.files << other.fileName();
        QTest::mouseClick(r.button("btnOpenDataLog"), Qt::LeftButton);
        QVERIFY(r.boxes.last().contains("not a data log"));
        QCOMPARE(r.view.shown().size(), 3);
        QTest::mouseClick(r.button("btnTrendLive"), Qt::LeftButton);
        QVERIFY(!r.view.showingFile());
        QCOMPARE(r.view.shown().size(), 10);
        QVERIFY(r.view.following());
    }
};

QTEST_MAIN(TestTrendWin)
#include "tst_trendwin.moc"
