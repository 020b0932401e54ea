// Benchmark: the main window's cost per poll on the platform it runs on (run it under Xvfb for
// xcb; offscreen hides the X round trips): from the socket read that completes a reply to the
// page painted and flushed (median and mean), paint events and area per poll for an identical
// and a moving reply; the CPU the console spends while connected, and its CPU per poll with the
// Status tab shown and with the Trends tab shown.
//   bench_status [seconds connected, default 60] [still: the controller's values stay put]
// With QUMA_BENCH_HOST=host:port (or a serial device such as the pseudo-terminal of a
// quma-sim --pty) the connected run polls that controller (a quma-sim in its own process, say)
// so that only the console's own CPU is counted.
#include "core/monitor/LinkSession.h"
#include "gui/console/Console.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "sim/SimServer.h"

#include "gui/trend/TrendView.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace quma;

namespace {
// Counts the paint events the whole application receives and the area they cover, and notes
// when a socket last became readable (the reply's clock starts there).
struct PaintCounter : QObject {
    qint64 events = 0, pixels = 0;
    QElapsedTimer clock;
    qint64 lastRead = -1; // ns on `clock`
    PaintCounter() { clock.start(); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::SockAct) {
            const auto* n = qobject_cast<QSocketNotifier*>(o);
            if (n && n->type() == QSocketNotifier::Read) lastRead = clock.nsecsElapsed();
        }
        if (e->type() == QEvent::LayoutRequest && qEnvironmentVariableIsSet("QUMA_BENCH_PAINTS"))
            std::fprintf(stderr, "layout %s %s\n", o->metaObject()->className(),
                         qPrintable(o->objectName()));
        if (e->type() == QEvent::Paint) {
            ++events;
            qint64 area = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                area += qint64(r.width()) * r.height();
            pixels += area;
            // QUMA_BENCH_PAINTS=1 names every widget painted and its area.
            if (qEnvironmentVariableIsSet("QUMA_BENCH_PAINTS"))
                std::fprintf(stderr, "paint %s %s %lld\n", o->metaObject()->className(),
                             qPrintable(o->objectName()), static_cast<long long>(area));
        }
        return false;
    }
};

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct PollCost {
    double ms = 0, medianMs = 0;
    double paints = 0, pixels = 0;
    int polls = 0;
    std::vector<double> each;
};

// Measures each reply from the socket read that completed it (the last read notification before
// the refresh: reading, checking and decoding count) to the page laid out, painted and flushed
// (a slot after the window's, which runs the layout and paint requests the refresh posted).
struct RefreshProbe {
    PaintCounter* counter = nullptr;
    PollCost cost;
    bool on = false;
    qint64 e0 = 0, p0 = 0, start = 0, startRefresh = 0;
    void before() {
        e0 = counter->events;
        p0 = counter->pixels;
        startRefresh = counter->clock.nsecsElapsed();
        start = counter->lastRead >= 0 ? counter->lastRead : startRefresh;
    }
    void after() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        if (QGuiApplication::platformName() == "xcb") {
            // The X requests the paint queued are written before the clock stops.
            QCoreApplication::sendPostedEvents();
        }
        if (!on) return;
        const double ms = (counter->clock.nsecsElapsed() - start) / 1e6;
        if (qEnvironmentVariableIsSet("QUMA_BENCH_DEBUG"))
            std::fprintf(stderr, "poll: read->refresh %.3f ms, total %.3f ms, paints %lld\n",
                         (startRefresh - start) / 1e6, ms, counter->events - e0);
        cost.each.push_back(ms);
        cost.ms += ms;
        cost.paints += counter->events - e0;
        cost.pixels += counter->pixels - p0;
        ++cost.polls;
    }
    PollCost take() {
        PollCost c = cost;
        if (c.polls > 0) {
            c.ms /= c.polls;
            c.paints /= c.polls;
            c.pixels /= c.polls;
            std::sort(c.each.begin(), c.each.end());
            c.medianMs = c.each[c.each.size() / 2];
        }
        cost = {};
        return c;
    }
};

// n polls through the real TCP link; `before` runs ahead of each.
void poll(MonitorEngine& engine, int n, const std::function<void()>& before = {}) {
    for (int i = 0; i < n; ++i) {
        if (before) before();
        QSignalSpy refreshed(&engine, &MonitorEngine::statusRefreshed);
        engine.Timer1Timer();
        engine.Timer1Timer();
        engine.Timer1Timer();
        refreshed.wait(2000);
    }
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseConsoleFont();
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    sim::SimServer sim; // values move only while it ticks
    sim.listenTcp();
    MonitorEngine engine;
    engine.link().setTraceSink({});
    LinkSession session(engine);
    MessageHub hub;
    hub.setRecorder([](MessageKind, const QString&) {});
    PaintCounter counter;
    RefreshProbe probe;
    probe.counter = &counter;
    QObject::connect(&engine, &MonitorEngine::statusRefreshed, &engine, [&] { probe.before(); });
    Console console(engine, session, hub);
    MainWindow& window = console.window();
    QObject::connect(&engine, &MonitorEngine::statusRefreshed, &engine, [&] { probe.after(); });
    window.show();
    window.completeLogin();
    // Five minutes of samples already taken, moving a little, as after five minutes connected:
    // the Trends tab's window is full.
    {
        TrendStore& store = console.trendStore();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        quint32 noise = 1;
        for (int i = 333; i > 0; --i) {
            TrendValues v{};
            for (int k = 0; k < Trend::Count; ++k) {
                noise = noise * 1664525u + 1013904223u;
                const float base = k >= Trend::Cell1 && k <= Trend::Cell15 ? 3.3f : 50.0f;
                v[k] = base * (1.0f + float(noise >> 24) / 25600.0f);
            }
            store.append(now - qint64(i) * 900, v);
        }
    }
    QSignalSpy up(&session, &LinkSession::connected);
    QString error;
    session.connectTcp(QString("127.0.0.1:%1").arg(sim.tcpPort()), &error);
    if (!up.wait(5000)) return 1;
    window.completeConnection();
    // The first replies lay the page out; then measure.
    poll(engine, 5);
    app.installEventFilter(&counter);
    probe.on = true;
    poll(engine, 200);
    const PollCost same = probe.take();
    poll(engine, 200, [&] { sim.model().tick(); }); // the values move between two polls
    const PollCost moving = probe.take();
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("identical reply, socket read to painted page: median %.3f ms, mean %.3f ms, "
                "%.1f paint events, %.0f px (goal < 1 ms)\n",
                same.medianMs, same.ms, same.paints, same.pixels);
    std::printf("moving reply,    socket read to painted page: median %.3f ms, mean %.3f ms, "
                "%.1f paint events, %.0f px (goal: median < 1.5 ms)\n",
                moving.medianMs, moving.ms, moving.paints, moving.pixels);

    // One power-flow step (Timer4, ten a second), painted and flushed.
    {
        const qint64 e0 = counter.events, p0 = counter.pixels;
        QElapsedTimer t;
        t.start();
        const int steps = 500;
        for (int i = 0; i < steps; ++i) {
            window.advancePowerFlow();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        }
        std::printf("power-flow step: %.3f ms, %.1f paint events, %.0f px\n",
                    t.nsecsElapsed() / 1e6 / steps, double(counter.events - e0) / steps,
                    double(counter.pixels - p0) / steps);
    }

    // Connected and polling on the window's own timers, the power flow animating.
    const bool still = argc > 2 && QByteArray(argv[2]) == "still";
    if (!still) sim.startTicking(500);
    const QString external = qEnvironmentVariable("QUMA_BENCH_HOST");
    const bool serial = external.startsWith('/');
    if (serial) {
        // A serial device (the pseudo-terminal of a quma-sim --pty in its own process).
        session.disconnectLink();
        if (!session.connectSerial(external, &error)) return 1;
        sim.startTicking(0);
    } else if (!external.isEmpty()) {
        session.disconnectLink();
        QSignalSpy again(&session, &LinkSession::connected);
        session.connectTcp(external, &error);
        if (!again.wait(5000) || !again.first().first().toBool()) return 1;
        sim.startTicking(0);
    }
    engine.setLiveTimers(true);
    probe.on = false;
    // CPU per poll, with the page the user looks at in front: the whole process, as seen from
    // outside (polling, decoding, the views that follow the poll, painting).
    const auto run = [&](QWidget* page, int forSeconds) {
        window.pages()->setCurrentWidget(page);
        QCoreApplication::processEvents();
        QSignalSpy refreshed(&engine, &MonitorEngine::statusRefreshed);
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(forSeconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = cpuSeconds() - cpu0;
        return std::pair{cpu / (wall.elapsed() / 1000.0) * 100,
                         refreshed.isEmpty() ? 0.0 : 1000 * cpu / double(refreshed.size())};
    };
    const QString link =
        QString("%1 to %2")
            .arg(serial ? "a serial line" : "TCP",
                 external.isEmpty() ? (still ? "the in-process simulator, values still"
                                             : "the in-process simulator, values moving every "
                                               "500 ms")
                                    : external + " (its own process)");
    QWidget* statusPage = window.pages()->widget(0);
    const auto [share, statusPerPoll] = run(statusPage, seconds);
    std::printf("connected over %s for %d s, Status tab: %.2f %% of a core (goal < 1 %%), "
                "%.2f ms of CPU per poll\n",
                qPrintable(link), seconds, share, statusPerPoll);
    const auto [trendShare, trendPerPoll] = run(&console.trends(), seconds);
    std::printf("the same, Trends tab (5 min window, following): %.2f %% of a core, %.2f ms of "
                "CPU per poll = %.2f x the Status tab's (goal <= 1.3)\n",
                trendShare, trendPerPoll, trendPerPoll / statusPerPoll);
    return 0;
}
