// Benchmarks: a transfer of N records (2000 by default) into the alarm-history window and into
// the event-log window over loopback TCP, and the spreadsheet export of the event rows. With
// --protocol-pane the Protocol pane is open beside them, showing every frame as it comes.
//   build/bench_history [records] [--protocol-pane]
#include "core/export/SheetExport.h"
#include "core/monitor/LinkSession.h"
#include "gui/history/AlarmHistoryWindow.h"
#include "gui/history/EventLogWindow.h"
#include "gui/monitor/ProtocolPane.h"
#include "gui/shared/MessageHub.h"
#include "sim/SimServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstdio>

using namespace quma;

int main(int argc, char** argv) {
    // On a display (xcb under Xvfb) the X round trips count; without one, offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 2000;
    sim::SimOptions o;
    o.frozen = true;
    o.eventSize = records;
    o.historySize = records;
    sim::SimServer sim(o);
    sim.listenTcp();
    MonitorEngine engine;
    engine.link().setTraceSink({});
    LinkSession session(engine);
    QString error;
    QSignalSpy up(&session, &LinkSession::connected);
    // QUMA_BENCH_HOST=host:port: a controller (a quma-sim with --history/--events N) in its own
    // process, as the console meets one.
    const QString external = qEnvironmentVariable("QUMA_BENCH_HOST");
    session.connectTcp(external.isEmpty() ? QString("127.0.0.1:%1").arg(sim.tcpPort()) : external,
                       &error);
    if (!up.wait(5000)) return 1;
    engine.setLiveTimers(true);
    QSignalSpy polled(&engine, &MonitorEngine::statusRefreshed);
    if (!polled.wait(5000)) return 1;

    MessageHub hub;
    hub.setRecorder([](MessageKind, const QString&) {});
    const bool withPane = argc > 2 && QByteArray(argv[2]) == "--protocol-pane";
    ProtocolMonitor monitor;
    SessionRecorder recorder;
    std::unique_ptr<ProtocolPane> pane;
    if (withPane) {
        monitor.attach(engine.link());
        pane = std::make_unique<ProtocolPane>(monitor, recorder, hub);
        pane->resize(900, 400);
        pane->show();
    }
    const auto fill = [&](TransferKind kind, HistoryWindow& window, const char* what) {
        engine.OpenTransfer(kind);
        window.show();
        QSignalSpy done(&engine, &MonitorEngine::transferCompleted);
        // The longest the event loop stayed away while the window filled: what a user would
        // feel.
        qint64 worstGap = 0;
        QElapsedTimer gap;
        gap.start();
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout,
                         [&] { worstGap = std::max(worstGap, gap.restart()); });
        probe.start(5);
        QElapsedTimer t;
        t.start();
        window.startRequest();
        if (!done.wait(600000)) return false;
        const double s = t.elapsed() / 1000.0;
        const double rate = records / (s - 0.4); // the count query waits 400 ms by design
        std::printf("%s, %d records into the window over loopback TCP on %s: %.2f s, "
                    "%.0f records/s after the 400 ms start (goal >= 5000); longest event-loop "
                    "stall %lld ms (goal < 50)\n",
                    what, records, qPrintable(QGuiApplication::platformName()), s, rate,
                    static_cast<long long>(worstGap));
        window.hide();
        return true;
    };
    AlarmHistoryWindow alarms(engine, hub);
    if (!fill(TransferKind::Alarm, alarms, "alarm history")) return 1;
    EventLogWindow window(engine, hub);
    if (!fill(TransferKind::Event, window, "event log")) return 1;
    if (withPane) {
        QCoreApplication::processEvents();
        pane->catchUp();
        std::printf("with the Protocol pane open: %d frames shown, %zu kept, %lld KiB\n",
                    pane->model().rowCount(), monitor.entries().size(), monitor.bytes() / 1024);
    }

    QTemporaryDir dir;
    QElapsedTimer t;
    t.start();
    if (!WriteHistorySheet(dir.filePath("bench.xlsx"), engine.transfer().rows, TransferKind::Event,
                           engine.modelName(), &error))
        return 1;
    std::printf("export of %d rows: %lld ms, %lld bytes\n", records,
                static_cast<long long>(t.elapsed()), QFileInfo(dir.filePath("bench.xlsx")).size());
    return 0;
}
