// quma-cli: The run: options, the link, the watchdog, how a run ends, the command started on the
// link and the engine's messages.
#include "app/cli/Cli.h"

#include "app/cli/CliOptions.h"

#ifdef QUMA_WITH_PDF
#include "gui/report/ReportPdf.h"
#endif

#include <QCoreApplication>
#include <cstdio>

namespace quma::cli {

const char kUsage[] =
    "usage: quma-cli (--serial DEVICE | --tcp HOST[:PORT]) [--quiet] [--timeout SECONDS]\n"
    "                [--record FILE] [--lang ko|en] COMMAND\n"
    "       quma-cli session pcap RECORDING.jsonl OUT.pcap\n"
    "       quma-cli --help | --version\n"
    "--record FILE writes every frame in and out to FILE as it happens (JSON lines).\n"
    "--lang en     prints the status, alarm and history texts in English (default: Korean).\n"
    "commands:\n"
    "  status                      one poll: the status texts, the model name, the alarm text\n"
    "  watch [--count N] [--csv FILE] [--max-silence SECONDS]\n"
    "                              a line per poll (N polls, or until interrupted); with --csv\n"
    "                              also a CSV row per poll (time, values, alarm words). A silent\n"
    "                              controller is said on stderr and marked in the CSV by rows\n"
    "                              with the time alone; polling goes on (and a lost link is\n"
    "                              opened again) until --max-silence seconds without a reply\n"
    "  netid                       the controller's network identity\n"
    "  history alarm|event [--xlsx FILE] [--csv FILE]\n"
    "                              the alarm history or the event log, tab-separated;\n"
    "                              also written as a spreadsheet or a CSV file\n"
    "  write REG=VALUE ...         write registers (the last pair goes first)\n"
    "  clear alarm|event           clear the alarm history or the event log\n"
    "  reset 1|2                   1 restarts the controller, 2 initialises its configuration\n"
    "  set-time [YYYY-MM-DDTHH:MM:SS]  set the controller clock (default: now)\n"
    "  report FILE.pdf|FILE.html [--engineer NAME] [--note TEXT]\n"
    "                              the site service report: plant, status, settings, alarm\n"
    "                              history and event log\n"
    "  battery test start [--wait]  start a battery discharge test; --wait follows it to its\n"
    "                              end and prints its record and verdict: exit 0 pass,\n"
    "                              3 look closer, 4 fail, 1 could not run or cut off\n"
    "  battery test stop           stop a discharge test\n"
    "  battery history [--csv FILE]  the plant's recorded tests against its first one\n"
    "  battery cells               the 15 cell voltages and their distance from the mean\n"
    "  profile save FILE           read every setting and the network identity into FILE\n"
    "  profile diff FILE [FILE2]   compare FILE with the plant (or with FILE2, no link needed);\n"
    "                              exit 0 when equal, 1 when they differ, 2 on error\n"
    "  profile restore FILE [--network] [--other-model] [--yes]\n"
    "                              write the settings that differ from FILE; without --yes only\n"
    "                              the plan is printed. --network also writes the addresses,\n"
    "                              rectifier ID and site text; --other-model restores the\n"
    "                              settings of a profile made for another model\n";

void out(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Cli::start() {
    CliOptions options;
    if (const auto error = ParseCliOptions(m_args, &options)) return usage(*error);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        out(QString("quma-cli %1").arg(QUMA_VERSION));
        return 0;
    }
    if (options.quiet) m_engine.link().setTraceSink({});
    if (options.language) {
        QString error;
        if (!m_translations.apply(*options.language, &error)) return refuse(error);
    }
    m_record = options.record;
    m_timeoutMs = options.timeoutMs;
    const QString serial = options.serial, tcp = options.tcp;
    if (m_args.isEmpty()) return usage("no command");
    m_command = m_args.takeFirst();
    if (!parseCommand()) return 2;
    if (m_command == "profile" && m_profileAction == "diff" && !m_profileFile2.isEmpty())
        return diffFiles();
    if (m_command == "session") return sessionCommand();
    if (serial.isEmpty() == tcp.isEmpty()) return usage("give one of --serial and --tcp");
    if (m_command == "profile") watchProfileJob();
    if (!m_record.isEmpty()) {
        QString error;
        if (!m_recorder.start(m_record, "quma-cli", &error)) return refuse(error);
        m_recorder.attach(m_engine.link());
        connect(&m_recorder, &SessionRecorder::failed, this,
                [this](const QString& why) { fail(why); });
    }

    m_watchdog.setSingleShot(true);
    // A time-out never fires early: a reply that comes just in time is not a failure.
    m_watchdog.setTimerType(Qt::PreciseTimer);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        if (m_command == "watch") {
            silentSpell();
            return;
        }
        fail("no reply from the controller");
    });
    // Any valid frame from the controller is an answer: a long job on a noisy link (asking
    // again for what was lost) is not taken for a silent controller.
    connect(&m_engine.link(), &DeviceLink::frameEvent, this, [this](const FrameEvent& e) {
        if (e.kind == FrameEvent::Received && !m_finished) m_watchdog.start(m_timeoutMs);
    });
    connect(&m_engine, &MonitorEngine::statusRefreshed, this, [this] { onStatus(); });
    connect(&m_engine, &MonitorEngine::networkIdentityDecoded, this, [this] { onNetId(); });
    connect(&m_engine, &MonitorEngine::recordStored, this,
            [this] { m_watchdog.start(m_timeoutMs); });
    // A request asked again is progress too; one asked in vain too often ends the run.
    connect(&m_engine, &MonitorEngine::transferProgress, this,
            [this] { m_watchdog.start(m_timeoutMs); });
    connect(&m_engine, &MonitorEngine::transferStalled, this,
            [this](TransferKind, int record, int total) {
                if (m_command != "history") return;
                fail(record == 0 ? QString("no reply to the record count")
                                 : QString("record %1 of %2 could not be read after %3 "
                                           "requests")
                                       .arg(record)
                                       .arg(total)
                                       .arg(TransferState::MaxAttempts));
            });
    connect(&m_engine, &MonitorEngine::userMessage, this,
            [this](MessageKind k, const QString& t) { onMessage(k, t); });
    connect(&m_engine, &MonitorEngine::commandSucceeded, this, [this] {
        if (m_command == "battery" && m_batteryWrite) onBatteryConfirmed();
        if (m_command == "clear" || !m_writes.isEmpty()) finish();
    });
    m_engine.setLiveTimers(true);
    m_watchdog.start(m_timeoutMs);
    QString error;
    if (!serial.isEmpty()) {
        if (!m_session.connectSerial(serial, &error)) return usage(serial + ": " + error, 1);
        // From now on a port error means the line went away.
        connect(&m_session.port(), &TCustomComPort::error, this,
                [this, serial](const EComError& e) {
                    const QString why = QString("serial port: %1").arg(e.what());
                    if (m_job.busy())
                        m_job.abort(why);
                    else if (m_command == "watch")
                        reopenSerial(serial, why);
                    else
                        fail(why);
                });
        QTimer::singleShot(0, this, [this] { begin(); });
    } else {
        connect(&m_session, &LinkSession::connected, this, [this, tcp](bool ok, const QString& e) {
            if (ok)
                begin();
            else
                fail(tcp + ": " + e);
        });
        if (!m_session.connectTcp(tcp, &error)) return usage(error);
    }
    return -1; // keep running
}

int Cli::usage(const QString& why, int rc) {
    std::fprintf(stderr, "quma-cli: %s\n", qPrintable(why));
    if (rc == 2) std::fputs(kUsage, stderr);
    return rc;
}

// Bad input that is not a usage error: the reason alone, exit 2.
int Cli::refuse(const QString& why) {
    std::fprintf(stderr, "quma-cli: %s\n", qPrintable(why));
    return 2;
}

void Cli::fail(const QString& why, int rc) {
    if (m_finished) return;
    m_finished = true;
    // A test followed to its end is recorded as cut off, with what it got so far.
    if (m_battery.running()) m_battery.linkLost();
    std::fprintf(stderr, "quma-cli: %s\n", qPrintable(why));
    m_session.disconnectLink();
    // A diff that could not be made is an error (2), not a difference (1).
    if (rc < 0) rc = m_profileAction == "diff" ? 2 : 1;
    QCoreApplication::exit(rc);
}

void Cli::finish(int rc) {
    if (m_finished) return;
    m_finished = true;
    m_session.disconnectLink();
    QCoreApplication::exit(rc);
}

QString Cli::nowText() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

// The command line waits for none of the window's start intervals: the first request goes
// out at once (the same bytes in the same order as the console sends them).
void Cli::begin() {
    if (m_command == "report") {
        connect(&m_collector, &ReportCollector::failed, this,
                [this](const QString& why) { fail(why); });
        connect(&m_collector, &ReportCollector::progress, this,
                [this] { m_watchdog.start(m_timeoutMs); });
        connect(&m_collector, &ReportCollector::finished, this, [this](ReportData d) {
            d.engineer = m_engineer;
            d.note = m_note;
            d.consoleVersion = "quma-cli 2.1";
            QString error;
#ifdef QUMA_WITH_PDF
            const bool ok = WriteReport(m_reportFile, d, &error);
#else
            const bool ok = WriteReportHtml(m_reportFile, d, &error);
#endif
            if (!ok) {
                fail(error);
                return;
            }
            out(QString("%1: %2 alarm records, %3 events")
                    .arg(m_reportFile)
                    .arg(d.alarmHistory.size() - 1)
                    .arg(d.eventLog.size() - 1));
            finish();
        });
        m_collector.start();
        m_engine.Timer1Timer();
    } else if (m_command == "battery") {
        beginBattery();
    } else if (m_command == "profile") {
        m_job.readPlant();
        m_engine.Timer1Timer();
    } else if (m_command == "netid") {
        m_engine.ReadNetworkIdentity();
        m_engine.Timer1Timer();
    } else if (m_command == "clear") {
        m_engine.ClearLog(m_kind);
    } else if (!m_writes.isEmpty()) {
        if (!m_engine.QueueWrites(m_writes)) fail("nothing was written");
    } else {
        m_engine.Timer1Timer(); // status, watch and history start from the first poll
    }
}

void Cli::onMessage(MessageKind kind, const QString& text) {
    m_watchdog.start(m_timeoutMs);
    if (m_command == "profile") {
        // The job reports the outcome; a warning from the engine is worth showing.
        if (kind == MessageKind::Warning) std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    if (kind == MessageKind::Warning) {
        fail(text);
        return;
    }
    if (m_command == "report") return; // the collector follows the transfers itself
    if (m_command == "history") {
        if (m_engine.transfer().complete || text.startsWith("No ")) {
            printRows();
            if (text.startsWith("No ")) std::fprintf(stderr, "%s\n", qPrintable(text));
            QString error;
            if (!m_xlsx.isEmpty() && !WriteHistorySheet(m_xlsx, m_engine.transfer().rows, m_kind,
                                                        m_engine.modelName(), &error)) {
                fail(error); // names the file
                return;
            }
            if (!m_csv.isEmpty() && !WriteCsvFile(m_csv, m_engine.transfer().rows, &error)) {
                fail(error);
                return;
            }
            finish();
        }
        return;
    }
    if (m_command == "clear" || !m_writes.isEmpty()) {
        out(text);
    }
}

} // namespace quma::cli
