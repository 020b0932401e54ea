// quma-sim: the controller simulator as a program, serving TCP and a pseudo-terminal.
#include "core/monitor/SessionFile.h"
#include "sim/SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {
int gSignalFd[2] = {-1, -1};
void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(gSignalFd[1], &c, 1);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quma-sim");
    QCoreApplication::setApplicationVersion(QUMA_VERSION);
    QCommandLineParser p;
    p.setApplicationDescription(
        "Simulated QUMA rectifier controller. Serves the controller protocol over TCP (binary "
        "frames) and on a pseudo-terminal (colon/hex/LRC frames) until SIGINT or SIGTERM.");
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption tcp("tcp",
                                 "Listen on ADDRESS:PORT (default 127.0.0.1:1502; port 0 "
                                 "picks a free one).",
                                 "ADDRESS:PORT", "127.0.0.1:1502");
    const QCommandLineOption noTcp("no-tcp", "Do not serve TCP.");
    const QCommandLineOption pty("pty", "Serve the serial protocol on a pseudo-terminal.");
    const QCommandLineOption link("link", "Also make PATH a symlink to the pseudo-terminal.",
                                  "PATH");
    const QCommandLineOption type("system-type", "System type code 1..4 (default 4).", "N", "4");
    const QCommandLineOption noBattery("no-battery", "No battery installed.");
    const QCommandLineOption history("history", "Alarm-history records (default 50).", "N", "50");
    const QCommandLineOption events("events", "Event-log records (default 50).", "N", "50");
    const QCommandLineOption frozen("frozen", "Values and clock do not move.");
    const QCommandLineOption seed("seed", "Random seed for the moving values.", "N", "1");
    const QCommandLineOption pace("pace", "Pace serial replies as at BAUD bits/s (0: at once).",
                                  "BAUD", "0");
    const QCommandLineOption drop("drop-every", "Fault: drop every Nth reply.", "N", "0");
    const QCommandLineOption badLrc("bad-lrc-every",
                                    "Fault: every Nth reply has a wrong LRC (serial) or "
                                    "transaction id (TCP).",
                                    "N", "0");
    const QCommandLineOption garbage("garbage-every", "Fault: noise before every Nth reply.", "N",
                                     "0");
    const QCommandLineOption shortR("short-every", "Fault: every Nth reply is cut short.", "N",
                                    "0");
    const QCommandLineOption longR("long-every", "Fault: extra bytes after every Nth reply.", "N",
                                   "0");
    const QCommandLineOption disc("disconnect-every",
                                  "Fault: close the TCP connection instead of every Nth reply.",
                                  "N", "0");
    const QCommandLineOption delay("delay", "Fault: every reply waits MS milliseconds.", "MS", "0");
    const QCommandLineOption hwDescription(
        "hw-description", "Hardware description of the network identity record.", "TEXT");
    const QCommandLineOption site("site", "Site text of the network identity record (UTF-8).",
                                  "TEXT");
    const QCommandLineOption count("count",
                                   "Serve N controllers on consecutive TCP ports from the --tcp "
                                   "port on (N > 1: no pseudo-terminal; each has its own seed).",
                                   "N", "1");
    const QCommandLineOption replay("replay",
                                    "Act as the controller recorded in FILE (a session "
                                    "recording): each request gets the reply it got then; what "
                                    "was never recorded is answered as usual, said on stderr.",
                                    "FILE");
    const QCommandLineOption replayLoop("replay-loop",
                                        "Replies asked more often than recorded start again "
                                        "(default: the last one is repeated).");
    const QCommandLineOption set("set",
                                 "Register REG holds VALUE (repeatable): a plant configured "
                                 "otherwise.",
                                 "REG=VALUE");
    const QCommandLineOption packAh(
        "pack-ah", "Battery: model the pack from the start, AH ampere-hours when new.", "AH");
    const QCommandLineOption packAge(
        "pack-age", "Battery: age 0..0.95 (capacity falls by it, resistance rises by twice it).",
        "AGE", "0");
    const QCommandLineOption weakCell(
        "weak-cell", "Battery: cell N (1..15) has less capacity and a lower voltage.", "N", "0");
    const QCommandLineOption timeScale(
        "time-scale", "Battery: a discharge test runs K times faster than the clock.", "K", "1");
    p.addOptions({packAh, packAge, weakCell, timeScale});
    p.addOption(count);
    p.addOptions({replay,    replayLoop, set,    tcp,    noTcp, pty,           link, type,
                  noBattery, history,    events, frozen, seed,  pace,          drop, badLrc,
                  garbage,   shortR,     longR,  disc,   delay, hwDescription, site});
    p.process(app);

    quma::sim::SimOptions o;
    o.systemType = p.value(type).toInt();
    o.battery = !p.isSet(noBattery);
    o.historySize = p.value(history).toInt();
    o.eventSize = p.value(events).toInt();
    o.frozen = p.isSet(frozen);
    o.seed = p.value(seed).toUInt();
    for (const QString& pair : p.values(set)) {
        const QStringList kv = pair.split('=');
        bool okReg = false, okValue = false;
        const int r = kv.size() == 2 ? kv[0].toInt(&okReg) : 0;
        const int v = kv.size() == 2 ? kv[1].toInt(&okValue, 0) : 0;
        if (!okReg || !okValue || r < 1 || r > 131 || v < 0 || v > 0xFFFF) {
            std::fprintf(stderr,
                         "quma-sim: --set %s: expected REG=VALUE, REG 1..131, VALUE "
                         "0..65535\n",
                         qPrintable(pair));
            return 2;
        }
        o.registers.append({r, v});
    }
    bool okAh = true, okAge = false, okCell = false, okScale = false;
    o.pack.ampereHours = p.isSet(packAh) ? p.value(packAh).toDouble(&okAh) : 0;
    o.pack.age = p.value(packAge).toDouble(&okAge);
    o.pack.weakCell = p.value(weakCell).toInt(&okCell);
    o.pack.timeScale = p.value(timeScale).toDouble(&okScale);
    if (!okAh || !okAge || !okCell || !okScale || o.pack.ampereHours < 0 ||
        o.pack.ampereHours > 10000 || o.pack.age < 0 || o.pack.age > 0.95 || o.pack.weakCell < 0 ||
        o.pack.weakCell > 15 || o.pack.timeScale < 1 || o.pack.timeScale > 3600) {
        std::fprintf(stderr, "quma-sim: --pack-ah takes 0..10000, --pack-age 0..0.95, "
                             "--weak-cell 1..15 and --time-scale 1..3600\n");
        return 2;
    }
    bool countOk = false;
    const int controllers = p.value(count).toInt(&countOk);
    if (!countOk || controllers < 1 || controllers > 5000) {
        std::fprintf(stderr, "quma-sim: --count takes 1 to 5000\n");
        return 2;
    }
    if (controllers > 1 && (p.isSet(noTcp) || p.isSet(pty) || p.isSet(link) || p.isSet(replay))) {
        std::fprintf(stderr, "quma-sim: --count serves TCP only (no --pty, --link, --replay)\n");
        return 2;
    }
    std::vector<std::unique_ptr<quma::sim::SimServer>> others;
    quma::sim::SimServer sim(o);
    if (p.isSet(replay)) {
        const quma::SessionRead read = quma::ReadSessionFile(p.value(replay));
        if (!read.error.isEmpty()) {
            std::fprintf(stderr, "quma-sim: %s\n", qPrintable(read.error));
            return 2;
        }
        if (read.truncated)
            std::fprintf(stderr, "quma-sim: the recording ends inside its last line; replaying "
                                 "up to it\n");
        sim.replay = std::make_shared<quma::sim::ReplayTable>(read.events, p.isSet(replayLoop));
        QObject::connect(&sim, &quma::sim::SimServer::unrecordedAnswered, [](const QString& note) {
            std::fprintf(stderr, "quma-sim: %s\n", qPrintable(note));
        });
        std::fprintf(stderr, "quma-sim: replaying %d request/reply pairs of %s\n",
                     sim.replay->pairs(), qPrintable(p.value(replay)));
    }
    sim.faults.dropEvery = p.value(drop).toInt();
    sim.faults.badLrcEvery = p.value(badLrc).toInt();
    sim.faults.garbageEvery = p.value(garbage).toInt();
    sim.faults.shortEvery = p.value(shortR).toInt();
    sim.faults.longEvery = p.value(longR).toInt();
    sim.faults.disconnectEvery = p.value(disc).toInt();
    sim.faults.delayMs = p.value(delay).toInt();
    sim.paceBaud = p.value(pace).toInt();
    if (p.isSet(hwDescription)) sim.model().netId().hwDescription = p.value(hwDescription).toUtf8();
    if (p.isSet(site)) sim.model().netId().siteInfo = p.value(site).toUtf8();
    for (const QByteArray* text :
         {&sim.model().netId().hwDescription, &sim.model().netId().siteInfo})
        if (text->size() > 255) {
            std::fprintf(stderr, "quma-sim: a record text holds at most 255 bytes\n");
            return 2;
        }

    if (!p.isSet(noTcp)) {
        const QString where = p.value(tcp);
        const int colon = where.lastIndexOf(':');
        const QHostAddress addr(colon > 0 ? where.left(colon) : where);
        const quint16 port = colon > 0 ? where.mid(colon + 1).toUShort() : 1502;
        if (!sim.listenTcp(addr, port)) {
            std::fprintf(stderr, "quma-sim: cannot listen on %s: %s\n", qPrintable(where),
                         qPrintable(sim.tcpError()));
            return 1;
        }
        std::printf("TCP: %s:%u\n", qPrintable(addr.toString()), unsigned(sim.tcpPort()));
        // The others of --count: the same plant and faults, each with its own seed and port.
        for (int i = 1; i < controllers; ++i) {
            quma::sim::SimOptions oi = o;
            oi.seed = o.seed + quint32(i);
            auto other = std::make_unique<quma::sim::SimServer>(oi);
            other->faults = sim.faults;
            other->paceBaud = sim.paceBaud;
            other->model().netId() = sim.model().netId();
            const quint16 at = quint16(sim.tcpPort() + i);
            if (!other->listenTcp(addr, at)) {
                std::fprintf(stderr, "quma-sim: cannot listen on %s:%u: %s\n",
                             qPrintable(addr.toString()), unsigned(at),
                             qPrintable(other->tcpError()));
                return 1;
            }
            std::printf("TCP: %s:%u\n", qPrintable(addr.toString()), unsigned(other->tcpPort()));
            others.push_back(std::move(other));
        }
    }
    if (p.isSet(pty) || p.isSet(link)) {
        if (!sim.openPty(p.value(link))) {
            std::fprintf(stderr, "quma-sim: cannot open a pseudo-terminal\n");
            return 1;
        }
        std::printf("Serial: %s\n", qPrintable(sim.ptyPath()));
        if (p.isSet(link)) std::printf("Link: %s\n", qPrintable(p.value(link)));
    }
    std::fflush(stdout);
    // Frozen values stand still; a discharge test still runs.
    sim.startTicking(500);
    for (auto& other : others)
        other->startTicking(500);

    // Each discharge test the simulator ran, as it drew the charge.
    QTimer testWatch;
    bool testing = false;
    QObject::connect(&testWatch, &QTimer::timeout, [&] {
        const quma::sim::BatteryPack& pack = sim.model().pack();
        if (testing && !pack.testing()) {
            static const char* const kEnds[] = {"running", "time", "end voltage", "stopped"};
            std::printf("Battery test ended (%s): %.4f Ah in %.1f s\n",
                        kEnds[int(pack.lastTest().end)], pack.lastTest().ampereHours,
                        pack.lastTest().seconds);
            std::fflush(stdout);
        }
        testing = pack.testing();
    });
    testWatch.start(100);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalFd) == 0) {
        auto* n = new QSocketNotifier(gSignalFd[0], QSocketNotifier::Read, &app);
        QObject::connect(n, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    const int rc = app.exec();
    sim.closePty();
    int served = sim.requestsServed();
    for (const auto& other : others)
        served += other->requestsServed();
    std::printf("quma-sim: stopped after %d requests\n", served);
    return rc;
}
