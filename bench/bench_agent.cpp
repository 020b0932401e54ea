// The fleet agent at scale: N simulated controllers served by a child process on consecutive
// loopback ports, one agent polling them all every second for a while.
// Reports the agent's CPU (percent of one core), its peak RSS, threads and descriptors, the
// /metrics scrape time and size, and the polls lost; then a minimal client (bench/MinimalClient.h)
// polls the same simulators for a third of the time, for the cost per site of each side by side.
// With "mqtt" the agent also publishes to a mosquitto broker started for the run, and the sites
// whose retained availability is "online" are read back from the broker (mosquitto_sub) before
// the agent stops. With "snmp" the agent is also the AgentX subagent of an snmpd started for the
// run, and a full snmpwalk (then an snmpbulkwalk) of its subtree runs every 10 s: their times,
// the varbinds they read, and snmpd's own CPU are reported ("mqtt,snmp" for both).
//   build/bench_agent [sites=200] [seconds=120] [period=1] [mqtt|snmp|mqtt,snmp|-]
//                     [threads=0: one per core]
// The agent's event dispatcher is Qt's own, as quma-agent sets it; QUMA_BENCH_GLIB=1 measures
// GLib's instead.
#include "agent/AgentConfig.h"
#include "agent/FleetAgent.h"
#include "agent/FleetMqtt.h"
#include "agent/SnmpSubagent.h"
#include "bench/MinimalClient.h"
#include "sim/SimServer.h"

#include <QDir>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace quma;

namespace {

double cpuSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A run of free consecutive ports for the simulators.
quint16 freeRun(int n) {
    for (quint16 base = 20000; base < 60000; base += quint16(n + 7)) {
        bool free = true;
        for (int i = 0; i < n && free; ++i) {
            QTcpServer probe;
            free = probe.listen(QHostAddress::LocalHost, quint16(base + i));
        }
        if (free) return base;
    }
    return 0;
}

int serveSimulators(int argc, char** argv, int n, quint16 base, int readyFd) {
    QCoreApplication app(argc, argv);
    std::vector<std::unique_ptr<sim::SimServer>> sims;
    for (int i = 0; i < n; ++i) {
        sim::SimOptions o;
        o.seed = quint32(i + 1);
        auto s = std::make_unique<sim::SimServer>(o);
        if (!s->listenTcp(QHostAddress::LocalHost, quint16(base + i))) return 1;
        // Values move every 5 s: ticking every site twice a second would cost the simulators'
        // process more than the agent it serves at thousands of sites.
        s->startTicking(5000);
        sims.push_back(std::move(s));
    }
    const char ok = 1;
    [[maybe_unused]] auto w = ::write(readyFd, &ok, 1);
    std::signal(SIGTERM, [](int) { std::_Exit(0); });
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    const int sites = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int seconds = argc > 2 ? std::max(5, atoi(argv[2])) : 120;
    const double period = argc > 3 ? std::max(0.2, atof(argv[3])) : 1.0;
    const QList<QByteArray> features =
        argc > 4 ? QByteArray(argv[4]).split(',') : QList<QByteArray>();
    const bool mqtt = features.contains("mqtt");
    const bool snmp = features.contains("snmp");
    // As quma-agent runs (and the simulators' process too): Qt's own event dispatcher.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB") && !qEnvironmentVariableIsSet("QUMA_BENCH_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    const int threads = argc > 5 ? atoi(argv[5]) : 0;
    const quint16 base = freeRun(sites);
    int ready[2];
    if (base == 0 || ::pipe(ready) != 0) return 1;
    const pid_t child = fork();
    if (child == 0) return serveSimulators(argc, argv, sites, base, ready[1]);
    char byte = 0;
    if (::read(ready[0], &byte, 1) != 1) return 1;

    QCoreApplication app(argc, argv);
    agent::AgentConfig config;
    config.metricsAddress = "127.0.0.1:0";
    config.threads = threads;
    QTemporaryDir brokerDir;
    QProcess broker;
    if (mqtt) {
        const quint16 port = freeRun(1);
        QFile conf(brokerDir.filePath("mosquitto.conf"));
        if (!conf.open(QIODevice::WriteOnly)) return 1;
        conf.write(QString("listener %1 127.0.0.1\nallow_anonymous true\nmax_connections -1\n")
                       .arg(port)
                       .toUtf8());
        conf.close();
        broker.start("/usr/sbin/mosquitto", {"-c", conf.fileName()});
        if (!broker.waitForStarted(5000)) return 1;
        QThread::msleep(500);
        config.mqtt.enabled = true;
        config.mqtt.port = port;
    }
    QTemporaryDir snmpDir;
    QProcess snmpd;
    quint16 snmpPort = 0;
    QProcessEnvironment snmpEnv = QProcessEnvironment::systemEnvironment();
    if (snmp) {
        snmpPort = freeRun(1);
        snmpEnv.insert("MIBS", "");
        snmpEnv.insert("SNMP_PERSISTENT_DIR", snmpDir.filePath("persist"));
        QFile conf(snmpDir.filePath("snmpd.conf"));
        if (!conf.open(QIODevice::WriteOnly)) return 1;
        conf.write(QString("master agentx\nagentXSocket %1\nagentaddress udp:127.0.0.1:%2\n"
                           "rocommunity public 127.0.0.1\n")
                       .arg(snmpDir.filePath("agentx.sock"))
                       .arg(snmpPort)
                       .toUtf8());
        conf.close();
        snmpd.setProcessEnvironment(snmpEnv);
        snmpd.start("/usr/sbin/snmpd",
                    {"-f", "-Lf", snmpDir.filePath("snmpd.log"), "-C", "-c", conf.fileName()});
        if (!snmpd.waitForStarted(5000)) return 1;
        QThread::msleep(1000);
        config.snmp.enabled = true;
        config.snmp.agentxSocket = snmpDir.filePath("agentx.sock");
        config.snmp.heartbeatSeconds = 60;
    }
    for (int i = 0; i < sites; ++i) {
        agent::SiteConfig s;
        s.name = QString("site-%1").arg(i + 1, 4, 10, QChar('0'));
        s.tcp = QString("127.0.0.1:%1").arg(base + i);
        s.pollPeriod = period;
        s.labels = {{"region", QString("r%1").arg(i % 10)}};
        config.sites << s;
    }
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    agent::FleetAgent fleet;
    QString error;
    if (!fleet.start(config, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    // Five seconds to connect every site, then the measured run.
    const int warmMs = 5000;
    double cpuStart = 0;
    QElapsedTimer wall;
    qint64 successesStart = 0;
    const auto successes = [&] {
        qint64 n = 0;
        for (const auto& [name, site] : fleet.sites())
            n += site->successes();
        return n;
    };
    QTimer::singleShot(warmMs, [&] {
        cpuStart = cpuSeconds(RUSAGE_SELF);
        successesStart = successes();
        wall.start();
    });

    QNetworkAccessManager nam;
    std::vector<double> scrapeMs;
    qint64 scrapeBytes = 0;
    QTimer scraper;
    scraper.setInterval(5000);
    QObject::connect(&scraper, &QTimer::timeout, [&] {
        auto* t = new QElapsedTimer;
        t->start();
        QNetworkReply* r = nam.get(QNetworkRequest(
            QUrl(QString("http://127.0.0.1:%1/metrics").arg(fleet.metrics().port()))));
        QObject::connect(r, &QNetworkReply::finished, [&, r, t] {
            scrapeMs.push_back(t->nsecsElapsed() / 1e6);
            scrapeBytes = r->readAll().size();
            delete t;
            r->deleteLater();
        });
    });
    QTimer::singleShot(warmMs + 2500, &scraper, [&] { scraper.start(); });

    // The walks, each in a process of its own while the agent goes on.
    struct Walk {
        double ms;
        int varbinds;
    };
    std::vector<Walk> walks, bulkWalks;
    QTimer walker;
    walker.setInterval(10000);
    const auto walk = [&](const QString& program, std::vector<Walk>& into) {
        auto* p = new QProcess;
        auto* t = new QElapsedTimer;
        p->setProcessEnvironment(snmpEnv);
        QObject::connect(p, &QProcess::finished, [p, t, &into] {
            into.push_back({t->nsecsElapsed() / 1e6, int(p->readAllStandardOutput().count('\n'))});
            delete t;
            p->deleteLater();
        });
        t->start();
        p->start(program, {"-v2c", "-c", "public", "-On", "-t", "5",
                           QString("127.0.0.1:%1").arg(snmpPort), config.snmp.rootOid});
    };
    QObject::connect(&walker, &QTimer::timeout, [&] {
        walk("snmpwalk", walks);
        QTimer::singleShot(5000, [&] { walk("snmpbulkwalk", bulkWalks); });
    });
    if (snmp) QTimer::singleShot(warmMs + 1000, &walker, [&] { walker.start(); });
    QTimer::singleShot(warmMs + seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();

    const double cpu = cpuSeconds(RUSAGE_SELF) - cpuStart;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const qint64 got = successes() - successesStart;
    const double expected = sites * elapsed / period;
    int up = 0;
    qint64 timeouts = 0, failures = 0;
    for (const auto& [name, site] : fleet.sites()) {
        up += site->up();
        timeouts += site->timeouts();
        failures += site->failures();
    }
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    const auto threadCount = [] {
        QFile status("/proc/self/status");
        status.open(QIODevice::ReadOnly);
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Threads:")) return line.mid(8).trimmed().toInt();
        return 0;
    };
    const int threadsNow = threadCount();
    const auto statusKiB = [](const char* key) {
        QFile status("/proc/self/status");
        status.open(QIODevice::ReadOnly);
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(key))
                return line.mid(int(strlen(key))).trimmed().split(' ')[0].toLong();
        return 0L;
    };
    const long rssNow = statusKiB("VmRSS:");
    const struct mallinfo2 heap = mallinfo2();
    const auto descriptors =
        QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size();
    std::sort(scrapeMs.begin(), scrapeMs.end());
    // The retained availability as a consumer reads it, before the agent stops and says "offline".
    int online = -1;
    QByteArray agentAvailability;
    if (mqtt) {
        QProcess sub;
        sub.start("mosquitto_sub",
                  {"-h", "127.0.0.1", "-p", QString::number(config.mqtt.port), "-t",
                   "quma/+/availability", "-t", "quma/availability", "-v", "-W", "5"});
        sub.waitForFinished(15000);
        online = 0;
        for (const QByteArray& line : sub.readAllStandardOutput().split('\n')) {
            if (line.startsWith("quma/availability "))
                agentAvailability = line.mid(18);
            else if (line.endsWith(" online"))
                ++online;
        }
    }
    const auto processCpu = [](qint64 pid) {
        QFile stat(QString("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) return 0.0;
        const QList<QByteArray> f = stat.readAll().split(')').last().split(' ');
        return (f.value(12).toDouble() + f.value(13).toDouble()) / double(sysconf(_SC_CLK_TCK));
    };
    const double snmpdCpu = snmp ? processCpu(snmpd.processId()) : 0;
    // The subagent's own thread (a thread's figures are in /proc/TID/stat too).
    double snmpThreadCpu = 0;
    for (const QString& task :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm("/proc/self/task/" + task + "/comm");
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "snmp")
            snmpThreadCpu = processCpu(task.toLongLong());
    }
    const qint64 snmpRequests = fleet.snmp() ? fleet.snmp()->requests() : 0;
    const bool mqttUp = fleet.mqtt() && fleet.mqtt()->connected();
    const qint64 mqttFailures = fleet.mqtt() ? fleet.mqtt()->publishFailures() : 0;
    fleet.stop();

    // The minimal client against the same simulators, for a third of the time.
    const double minimalSeconds = std::max(10.0, seconds / 3.0);
    const bench::MinimalRun minimal = bench::RunMinimalClient(base, sites, period, minimalSeconds);
    ::kill(child, SIGTERM);
    broker.terminate();
    broker.waitForFinished(5000);
    snmpd.terminate();
    snmpd.waitForFinished(5000);
    int status = 0;
    waitpid(child, &status, 0);
    const double simCpu = cpuSeconds(RUSAGE_CHILDREN);

    std::printf("sites %d, poll period %.1f s, measured %.1f s%s%s\n", sites, period, elapsed,
                mqtt ? ", publishing to MQTT" : "", snmp ? ", serving SNMP" : "");
    std::printf("agent CPU: %.2f %% of one core\n", 100.0 * cpu / elapsed);
    std::printf("agent RSS: peak %.1f MB, at the end %.1f MB\n", self.ru_maxrss / 1024.0,
                rssNow / 1024.0);
    std::printf("heap in use at the end: %.1f MB (of %.1f MB taken from the system)\n",
                heap.uordblks / 1048576.0, (heap.arena + heap.hblkhd) / 1048576.0);
    if (!scrapeMs.empty())
        std::printf("/metrics scrape: median %.1f ms, max %.1f ms, %lld bytes (%zu scrapes)\n",
                    scrapeMs[scrapeMs.size() / 2], scrapeMs.back(), (long long)scrapeBytes,
                    scrapeMs.size());
    std::printf("polls answered: %lld in the measured run (%.0f periods x sites); over the whole "
                "run %lld timed out, %lld link failures; sites up at the end: %d\n",
                (long long)got, expected, (long long)timeouts, (long long)failures, up);
    std::printf("agent threads: %d (%d polling), descriptors: %lld\n", threadsNow,
                fleet.threadCount(), (long long)descriptors);
    if (mqtt)
        std::printf("MQTT: connected %s, publish failures %lld, retained availability online: %d "
                    "of %d sites up; agent availability \"%s\"\n",
                    mqttUp ? "yes" : "no", (long long)mqttFailures, online, up,
                    agentAvailability.constData());
    if (snmp) {
        const auto report = [](const char* what, std::vector<Walk> w) {
            if (w.empty()) return;
            std::sort(w.begin(), w.end(), [](const Walk& a, const Walk& b) { return a.ms < b.ms; });
            std::printf("%s of the subtree: median %.0f ms, max %.0f ms, %d varbinds (%zu walks)\n",
                        what, w[w.size() / 2].ms, w.back().ms, w.back().varbinds, w.size());
        };
        report("snmpwalk", walks);
        report("snmpbulkwalk", bulkWalks);
        std::printf("SNMP: %lld requests answered by the subagent, whose thread took %.1f s of CPU "
                    "over the whole run (%.1f us a request); snmpd's CPU %.1f s\n",
                    (long long)snmpRequests, snmpThreadCpu,
                    snmpRequests ? 1e6 * snmpThreadCpu / double(snmpRequests) : 0.0, snmpdCpu);
    }
    std::printf("cost per site per poll: agent %.1f us, minimal client %.1f us (%lld replies in "
                "%.0f s)\n",
                got > 0 ? 1e6 * cpu / double(got) : 0.0,
                minimal.replies > 0 ? 1e6 * minimal.cpuSeconds / double(minimal.replies) : 0.0,
                (long long)minimal.replies, minimalSeconds);
    std::printf("(simulators' CPU, other process: %.1f s)\n", simCpu);
    return 0;
}
