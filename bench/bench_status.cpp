// Benchmark: the main window's cost per poll on the platform it runs on (run it under Xvfb for
// xcb; offscreen hides the X round trips): reply to painted page, paint events and area per poll
// for an identical and a moving reply, and the CPU the console spends while connected.
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

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QSignalSpy>
#include <cstdio>
#include <sys/resource.h>

using namespace quma;

namespace {
// Counts the paint events the whole application receives and the area they cover.
struct PaintCounter : QObject {
    qint64 events = 0, pixels = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
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
    double ms = 0;
    double paints = 0, pixels = 0;
    int polls = 0;
};

// Measures each refresh from its start (a slot ahead of the window's) to the page laid out,
// painted and flushed (a slot after the window's, which runs the layout and paint requests the
// refresh posted).
struct RefreshProbe {
    QElapsedTimer t;
    PaintCounter* counter = nullptr;
    PollCost cost;
    bool on = false;
    qint64 e0 = 0, p0 = 0;
    void before() {
        e0 = counter->events;
        p0 = counter->pixels;
        t.start();
    }
    void after() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        if (!on) return;
        cost.ms += t.nsecsElapsed() / 1e6;
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
        }
        cost = {};
        return c;
    }
};

// n polls through the real TCP link.
void poll(MonitorEngine& engine, int n) {
    for (int i = 0; i < n; ++i) {
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
    sim.startTicking(1); // every value moves between two polls
    poll(engine, 200);
    const PollCost moving = probe.take();
    sim.startTicking(0);
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("identical reply: %.3f ms to the painted page, %.1f paint events, %.0f px "
                "(goal < 1 ms)\n",
                same.ms, same.paints, same.pixels);
    std::printf("moving reply:    %.3f ms to the painted page, %.1f paint events, %.0f px\n",
                moving.ms, moving.paints, moving.pixels);

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
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double share = (cpuSeconds() - cpu0) / (wall.elapsed() / 1000.0) * 100;
    std::printf("connected over %s for %d s to %s: %.2f %% of a core (goal < 1 %%)\n",
                serial ? "a serial line" : "TCP", seconds,
                external.isEmpty()
                    ? (still ? "the in-process simulator, values still"
                             : "the in-process simulator, values moving every 500 ms")
                    : qPrintable(external + " (its own process)"),
                share);
    return 0;
}
