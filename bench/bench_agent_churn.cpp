// The fleet agent's series at scale, without a network: N sites' series made and filled, the
// exposition rendered (the first render builds its shape, the next one reuses it), then sites
// replaced as reloads do it and removed as a stop does. Reports the time of each, in ms.
//   build/bench_agent_churn [sites ...]   (default 500 2000 5000)
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
    bool agent = false;
    for (const QString& a : app.arguments().mid(1)) {
        if (a == "agent")
            agent = true;
        else
            counts << a.toInt();
    }
    if (counts.isEmpty()) counts = {500, 2000, 5000};
    std::printf("%8s %10s %10s %12s %12s %14s %14s %16s\n", "sites", "series", "make ms",
                "render ms", "again ms", "stop ms", "reload all ms", "reload half ms");
    for (int n : counts) {
        FleetMetrics metrics;
        Sites sites;
        QElapsedTimer t;
        t.start();
        addSites(metrics, sites, n, 0);
        const double make = ms(t);
        t.restart();
        std::string text = metrics.render();
        const double render = ms(t);
        t.restart();
        text = metrics.render();
        const double again = ms(t);
        const auto series = std::size_t(std::count(text.begin(), text.end(), '\n'));

        // A reload that replaces half the sites, then the scrape that reshapes.
        t.restart();
        for (int i = 0; i < n; i += 2)
            sites[std::size_t(i)].reset();
        addSites(metrics, sites, n / 2, n);
        text = metrics.render();
        const double half = ms(t);

        // A reload that replaces them all.
        t.restart();
        sites.clear();
        addSites(metrics, sites, n, 2 * n);
        text = metrics.render();
        const double all = ms(t);

        // A stop.
        t.restart();
        sites.clear();
        const double stop = ms(t);

        std::printf("%8d %10zu %10.1f %12.1f %12.1f %14.1f %14.1f %16.1f\n", n, series, make,
                    render, again, stop, all, half);
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
