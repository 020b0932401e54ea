// Benchmark: the trend store's memory for 24 h of samples, and what one poll costs the Trends tab
// with 24 h loaded (the sample appended, the visible window decimated, the charts painted).
// Run under Xvfb on the xcb platform so that painting and flushing to the X server count:
//   xvfb-run -a -s '-screen 0 1366x768x24' build/bench_trend
#include "core/trend/TrendStore.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "gui/trend/TrendView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

using namespace quma;

namespace {
long rssKiB() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

TrendValues sample(int i) {
    TrendValues v{};
    for (int s = 0; s < Trend::Count; ++s)
        v[s] = 50.0f + float((i * 7 + s * 13) % 100) / 10.0f;
    return v;
}

struct Timing {
    double meanMs = 0, maxMs = 0;
};

// `polls` new samples, each drawn and painted before the next, as the poll clock would.
Timing polls(TrendStore& store, TrendView& view, qint64& now, int polls, qint64 step) {
    Timing t;
    for (int i = 0; i < polls; ++i) {
        QElapsedTimer clock;
        clock.start();
        now += step;
        store.append(now, sample(i));
        view.sampleAdded();
        const double drawn = clock.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents(); // paint and flush
        if (i == polls - 1)
            std::printf("  (the last poll: decimated and set %.2f ms, painted %.2f ms)\n", drawn,
                        clock.nsecsElapsed() / 1e6 - drawn);
        const double ms = clock.nsecsElapsed() / 1e6;
        t.meanMs += ms / polls;
        t.maxMs = std::max(t.maxMs, ms);
    }
    return t;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseConsoleFont();
    const long before = rssKiB();
    TrendStore store;
    const long allocated = rssKiB();
    const qint64 step = 900; // the TCP poll
    const int day = int(24 * 3600 * 1000 / step);
    qint64 now = QDateTime::currentMSecsSinceEpoch() - qint64(day) * step;
    for (int i = 0; i < day; ++i)
        store.append(now += step, sample(i));
    const long filled = rssKiB();
    std::printf("bytes per sample: %zu (8 B time + %d series x 4 B)\n", TrendStore::BytesPerSample,
                int(Trend::Count));
    std::printf("capacity: %d samples (24 h at 600 ms), %.1f MiB allocated up front\n",
                store.capacity(), store.capacityBytes() / 1048576.0);
    std::printf("24 h at the TCP poll (900 ms): %d samples, %.1f MiB; resident growth %.1f MiB "
                "(allocation %.1f, filling %.1f)\n",
                store.size(), store.size() * double(TrendStore::BytesPerSample) / 1048576.0,
                (filled - before) / 1024.0, (allocated - before) / 1024.0,
                (filled - allocated) / 1024.0);

    MessageHub hub;
    hub.setRecorder([](MessageKind, const QString&) {});
    TrendView view(store, hub);
    view.resize(1140, 560);
    view.show();
    QCoreApplication::processEvents();
    auto* window = view.findChild<QComboBox*>("cbbTrendWindow");
    const int rounds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    for (int w : {0, 1, 3}) {
        window->setCurrentIndex(w);
        QCoreApplication::processEvents();
        const Timing t = polls(store, view, now, rounds, step);
        std::printf("window %-6s one poll appended, drawn and painted: mean %6.2f ms, longest "
                    "%6.2f ms (goal: well under the 900 ms poll; no stall over 50 ms)\n",
                    qPrintable(window->currentText()), t.meanMs, t.maxMs);
    }
    std::printf("resident after drawing: %.1f MiB\n", rssKiB() / 1024.0);
    return 0;
}
