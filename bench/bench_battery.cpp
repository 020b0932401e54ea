// The battery analysis's cost per poll (idle, and during a long test), the cost of a test's
// record at its end, and the size of a plant's history file after N tests.
//   build/bench_battery [polls] [tests]
#include "core/battery/BatteryWatch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace quma;

namespace {

// A poll of a pack at `soc`, discharging while `testing`, cell 4 a little low.
RegisterImage Poll(int i, bool testing) {
    RegisterImage r;
    r.set(Reg::BattTestRunning, testing ? 1 : 0);
    r.set(Reg::BattVolts, testing ? 4900 - i / 100 : 5310);
    r.set(Reg::BattCurrent, (testing ? -350 : 25) & 0xFFFF);
    r.set(Reg::BattSoc, testing ? std::max(5, 90 - i / 400) : 90);
    r.set(Reg::PackTemp, 245);
    for (int c = 0; c < Reg::CellCount; ++c)
        r.set(Reg::Cell1 + c, (testing ? 326 : 332) - (c == 3 ? 4 : 0) + (i + c) % 2);
    r.set(Reg::TestMinutes, 120);
    r.set(Reg::TestEndVolts, 460);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int polls = argc > 1 ? std::atoi(argv[1]) : 36000; // two hours at 200 ms
    const int tests = argc > 2 ? std::atoi(argv[2]) : 100;
    QTemporaryDir dir;
    BatteryWatch watch;
    watch.setFolder(dir.path());
    watch.setPlant("025EC4E00001");
    qint64 now = 1'700'000'000'000;
    watch.setClock([&] { return now; });
    int ended = 0;
    QObject::connect(&watch, &BatteryWatch::testEnded, [&] { ++ended; });

    // Idle polls.
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < polls; ++i, now += 200)
        watch.addPoll(Poll(i, false));
    const double idleUs = t.nsecsElapsed() / 1e3 / polls;

    // One long test: every poll, then the record at its end.
    t.restart();
    qint64 worst = 0;
    for (int i = 0; i < polls; ++i, now += 200) {
        QElapsedTimer one;
        one.start();
        watch.addPoll(Poll(i, true));
        worst = std::max(worst, one.nsecsElapsed());
    }
    const double testUs = t.nsecsElapsed() / 1e3 / polls;
    t.restart();
    for (int i = 0; i < BatteryWatch::kAfter; ++i, now += 200)
        watch.addPoll(Poll(i, false));
    const double endMs = t.nsecsElapsed() / 1e6;

    // The history after `tests` tests (short ones).
    for (int k = 1; k < tests; ++k) {
        for (int i = 0; i < 300; ++i, now += 200)
            watch.addPoll(Poll(i, i >= 10 && i < 290));
    }
    const qint64 bytes = QFileInfo(watch.history().path()).size();
    std::printf("polls %d: idle %.2f us/poll; during a test %.2f us/poll (worst %.1f us)\n", polls,
                idleUs, testUs, worst / 1e3);
    std::printf("record at the end of a %d-poll test (analysis, judgement, history written): "
                "%.1f ms\n",
                polls, endMs);
    std::printf("history after %d tests: %lld bytes (%.1f KiB, %.0f bytes a test)\n", ended,
                static_cast<long long>(bytes), bytes / 1024.0, double(bytes) / std::max(1, ended));
    return 0;
}
