// The fleet agent's series at scale, without a network: N sites' series made and filled, then
// removed as a stop and as reloads do it. Reports the time of each, in ms.
//   build/bench_agent_churn [sites ...]   (default 500 2000 5000)
// With "one-by-one" it also times removing every site's series one by one (what a stop did
// before the registry was rebuilt instead; quadratic in the sites, minutes at 5,000).
// With "agent" it also times a whole agent's stop: N sites (to a closed port, reconnecting),
// polled for 3 s, then stopped.
#include "agent/AgentConfig.h"
#include "agent/FleetAgent.h"
#include "agent/FleetMetrics.h"
#include "agent/PlantReading.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace quma;
using namespace quma::agent;

namespace {
using Sites = std::vector<std::unique_ptr<SiteMetrics>>;

void addSites(FleetMetrics& metrics, Sites& sites, int n, int from) {
    RegisterImage image;
    image.set(26, 4);
    image.set(7, 2200);
    const PlantReading reading = ReadPlant(image, " QUMA-7TN(A)");
    for (int i = from; i < from + n; ++i) {
        SiteConfig c;
        c.name = QString("site%1").arg(i);
        c.labels["region"] = "bench";
        sites.push_back(metrics.addSite(c));
        sites.back()->update(reading);
        sites.back()->pollSucceeded(0.01);
    }
}

double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QList<int> counts;
    bool oneByOne = false, agent = false;
    for (const QString& a : app.arguments().mid(1)) {
        if (a == "one-by-one")
            oneByOne = true;
        else if (a == "agent")
            agent = true;
        else
            counts << a.toInt();
    }
    if (counts.isEmpty()) counts = {500, 2000, 5000};
    std::printf("%8s %10s %10s %14s %14s %16s %10s\n", "sites", "series", "make ms", "stop ms",
                "reload all ms", "reload half ms", "1-by-1 ms");
    for (int n : counts) {
        FleetMetrics metrics;
        Sites sites;
        QElapsedTimer t;
        t.start();
        addSites(metrics, sites, n, 0);
        const double make = ms(t);
        const std::string text = metrics.render();
        const auto series = std::size_t(std::count(text.begin(), text.end(), '\n'));

        // A reload that replaces half the sites: the rest carried over into a new registry.
        t.restart();
        FleetMetrics::Rebuild next = metrics.beginRebuild();
        for (int i = 0; i < n; ++i) {
            if (i % 2 == 0) {
                sites[std::size_t(i)]->forget();
                sites[std::size_t(i)].reset();
            } else {
                next.keep(*sites[std::size_t(i)]);
            }
        }
        metrics.finishRebuild(std::move(next));
        addSites(metrics, sites, n / 2, n);
        const double half = ms(t);

        // A reload that replaces them all.
        t.restart();
        for (auto& s : sites)
            if (s) s->forget();
        sites.clear();
        metrics.finishRebuild(metrics.beginRebuild());
        addSites(metrics, sites, n, 2 * n);
        const double all = ms(t);

        // A stop.
        t.restart();
        for (auto& s : sites)
            s->forget();
        sites.clear();
        metrics.finishRebuild(metrics.beginRebuild());
        const double stop = ms(t);

        double single = -1;
        if (oneByOne) {
            addSites(metrics, sites, n, 3 * n);
            t.restart();
            sites.clear();
            single = ms(t);
        }
        std::printf("%8d %10zu %10.1f %14.1f %14.1f %16.1f %10.1f\n", n, series, make, stop, all,
                    half, single);
        std::fflush(stdout);
        if (agent) {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            const quint16 closed = probe.serverPort();
            probe.close();
            AgentConfig config;
            config.metricsAddress = "127.0.0.1:0";
            for (int i = 0; i < n; ++i) {
                SiteConfig c;
                c.name = QString("site%1").arg(i);
                c.tcp = QString("127.0.0.1:%1").arg(closed);
                config.sites.push_back(c);
            }
            auto fleet = std::make_unique<FleetAgent>();
            QString error;
            if (!fleet->start(config, &error)) return 1;
            QTimer::singleShot(3000, &app, &QCoreApplication::quit);
            app.exec();
            t.restart();
            fleet.reset();
            std::printf("%8d sites: the whole agent stopped in %.1f ms\n", n, ms(t));
            std::fflush(stdout);
        }
    }
    return 0;
}
