// Benchmark: reading a site profile (one poll and one network identity read) and restoring one
// in which every setting differs (35 register writes and the network identity, then the
// read-back), over loopback TCP and over a pseudo-terminal paced as a 115200 line.
#include "bench/BenchLink.h"
#include "core/monitor/LinkSession.h"
#include "core/profile/ProfileJob.h"
#include "sim/SimServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

using namespace quma;

namespace {

// Another valid value for every field: the next one up, or the lowest when at the top.
SiteProfile everythingElse(const SiteProfile& plant, int round) {
    SiteProfile p = plant;
    for (const ProfileField& f : ProfileSettingFields()) {
        if (!p.settings.contains(f.key)) continue;
        const auto [lo, hi] = ProfileFieldRange(f, plant.settings.value("charge_mode"));
        int& v = p.settings[f.key];
        v = v < hi ? v + 1 : lo;
    }
    p.network["site"] = QString("Bench site %1").arg(round);
    return p;
}

struct Figures {
    double saveMs = -1, writeMs = -1, restoreMs = -1, writes = 0;
};

Figures run(LinkKind kind, int rounds) {
    sim::SimOptions o;
    o.frozen = true;
    sim::SimServer sim(o);
    MonitorEngine engine;
    engine.link().setTraceSink({});
    LinkSession session(engine);
    if (kind == LinkKind::Serial) sim.paceBaud = 115200;
    if (!ConnectToSimulator(kind, sim, session)) return {};
    engine.setLiveTimers(true);
    QSignalSpy polled(&engine, &MonitorEngine::statusRefreshed);
    if (!polled.wait(5000)) return {};
    ProfileJob job(engine);
    Figures f;
    double save = 0, written = 0, restore = 0;
    for (int i = 0; i < rounds; ++i) {
        // As quma-cli does it: the read starts with a poll sent at once (right after a poll
        // reply, when nothing is in flight).
        polled.clear();
        if (!polled.wait(5000)) return {};
        QSignalSpy read(&job, &ProfileJob::plantRead);
        QElapsedTimer t;
        t.start();
        job.readPlant();
        engine.ReturnToPolling();
        engine.Timer1Timer();
        if (!read.wait(5000)) return {};
        save += t.nsecsElapsed() / 1e6;
        const SiteProfile plant = read.first().first().value<SiteProfile>();
        const RestorePlan plan = PlanRestore(everythingElse(plant, i), plant, {true, false});
        f.writes = double(plan.steps.size());
        QSignalSpy back(&job, &ProfileJob::plantRead);
        t.restart();
        double writesDone = 0;
        QObject::connect(&job, &ProfileJob::restoreFinished, &job,
                         [&] { writesDone = t.nsecsElapsed() / 1e6; });
        job.restore(plan);
        if (!back.wait(20000)) return {};
        QObject::disconnect(&job, &ProfileJob::restoreFinished, nullptr, nullptr);
        restore += t.nsecsElapsed() / 1e6;
        written += writesDone;
    }
    f.saveMs = save / rounds;
    f.writeMs = written / rounds;
    f.restoreMs = restore / rounds;
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    for (const LinkKind kind : {LinkKind::Tcp, LinkKind::Serial}) {
        const Figures f = run(kind, rounds);
        std::printf("%-22s save %6.1f ms | restore: %2.0f writes + identity sent %7.1f ms, "
                    "with the read-back %7.1f ms\n",
                    kind == LinkKind::Tcp ? "TCP (loopback)" : "serial (paced 115200)", f.saveMs,
                    f.writes, f.writeMs, f.restoreMs);
    }
    std::printf("The read-back waits 1000 ms for the controller to take its new network "
                "identity.\n");
    return 0;
}
