// quma-cli: a headless front end on the monitoring engine, for scripts and bulk work.
#include "core/export/CsvExport.h"
#include "core/export/PcapExport.h"
#include "core/export/SheetExport.h"
#include "core/monitor/LinkSession.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/SessionFile.h"
#include "core/monitor/StatusTexts.h"
#include "core/profile/ProfileJob.h"
#include "core/report/ServiceReport.h"
#ifdef QUMA_WITH_PDF
#include "gui/report/ReportPdf.h"
#include "gui/shared/ConsoleFont.h"
#include <QGuiApplication>
#endif
#include "core/trend/TrendStore.h"

#include "core/i18n/Translations.h"
#include <QCoreApplication>
#include <QDateTime>

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>

using namespace quma;

namespace {

const char kUsage[] =
    "usage: quma-cli (--serial DEVICE | --tcp HOST[:PORT]) [--quiet] [--timeout SECONDS]\n"
    "                [--record FILE] [--lang ko|en] COMMAND\n"
    "       quma-cli session pcap RECORDING.jsonl OUT.pcap\n"
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

class Cli : public QObject {
public:
    Cli(QStringList args) : m_args(std::move(args)), m_session(m_engine), m_job(m_engine) {}

    int start() {
        QString serial, tcp;
        while (!m_args.isEmpty() && m_args.first().startsWith("--")) {
            const QString opt = m_args.takeFirst();
            if (opt == "--quiet") {
                m_engine.link().setTraceSink({});
            } else if ((opt == "--serial" || opt == "--tcp" || opt == "--timeout" ||
                        opt == "--record" || opt == "--lang") &&
                       !m_args.isEmpty()) {
                const QString v = m_args.takeFirst();
                if (opt == "--record") m_record = v;
                if (opt == "--lang") {
                    const auto language = ParseLanguage(v);
                    QString error;
                    if (!language) return usage("--lang takes ko or en");
                    if (!m_translations.apply(*language, &error)) return refuse(error);
                }
                if (opt == "--serial") serial = v;
                if (opt == "--tcp") tcp = v;
                if (opt == "--timeout") {
                    // Checked before it is scaled: a huge or odd number is refused, not wrapped.
                    bool ok = false;
                    const double seconds = v.toDouble(&ok);
                    if (!ok || !(seconds >= 0.1 && seconds <= 3600))
                        return usage("--timeout takes seconds from 0.1 to 3600");
                    m_timeoutMs = int(seconds * 1000);
                }
            } else if (opt == "--help") {
                std::fputs(kUsage, stdout);
                return 0;
            } else {
                return usage("unknown option " + opt);
            }
        }
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
            connect(&m_session, &LinkSession::connected, this,
                    [this, tcp](bool ok, const QString& e) {
                        if (ok)
                            begin();
                        else
                            fail(tcp + ": " + e);
                    });
            if (!m_session.connectTcp(tcp, &error)) return usage(error);
        }
        return -1; // keep running
    }

private:
    int usage(const QString& why, int rc = 2) {
        std::fprintf(stderr, "quma-cli: %s\n", qPrintable(why));
        if (rc == 2) std::fputs(kUsage, stderr);
        return rc;
    }
    // Bad input that is not a usage error: the reason alone, exit 2.
    int refuse(const QString& why) {
        std::fprintf(stderr, "quma-cli: %s\n", qPrintable(why));
        return 2;
    }
    void fail(const QString& why, int rc = -1) {
        if (m_finished) return;
        m_finished = true;
        std::fprintf(stderr, "quma-cli: %s\n", qPrintable(why));
        m_session.disconnectLink();
        // A diff that could not be made is an error (2), not a difference (1).
        if (rc < 0) rc = m_profileAction == "diff" ? 2 : 1;
        QCoreApplication::exit(rc);
    }
    void finish(int rc = 0) {
        if (m_finished) return;
        m_finished = true;
        m_session.disconnectLink();
        QCoreApplication::exit(rc);
    }

    // watch: the controller did not answer for a time-out. Said once a spell on stderr, marked
    // in the CSV by a row with the time alone, and the end of the run only past --max-silence.
    void silentSpell() {
        if (!m_silence.isValid()) {
            m_silence.start();
            std::fprintf(stderr,
                         "quma-cli: no reply from the controller for %.1f s; still polling\n",
                         m_timeoutMs / 1000.0);
        }
        const qint64 silentMs = m_silence.elapsed() + m_timeoutMs;
        if (m_csvOpen) {
            QString error;
            if (!m_csvFile.appendRow({nowText()}, &error)) {
                fail("writing the CSV failed, the run stops: " + error);
                return;
            }
        }
        if (m_maxSilenceMs > 0 && silentMs >= m_maxSilenceMs) {
            fail(QString("no reply from the controller for %1 s (--max-silence)")
                     .arg(silentMs / 1000.0, 0, 'f', 1));
            return;
        }
        m_watchdog.start(m_timeoutMs);
    }
    void replyCame() {
        if (!m_silence.isValid()) return;
        std::fprintf(stderr, "quma-cli: the controller answers again after %.1f s\n",
                     (m_silence.elapsed() + m_timeoutMs) / 1000.0);
        m_silence.invalidate();
    }
    // watch over a serial line that went away (a USB adapter pulled): opened again every 2 s.
    void reopenSerial(const QString& device, const QString& why) {
        if (m_reopening) return;
        m_reopening = true;
        std::fprintf(stderr, "quma-cli: %s; opening %s again\n", qPrintable(why),
                     qPrintable(device));
        auto* retry = new QTimer(this);
        retry->setInterval(2000);
        connect(retry, &QTimer::timeout, this, [this, retry, device] {
            m_session.port().Close();
            QString error;
            if (!m_session.connectSerial(device, &error)) return;
            std::fprintf(stderr, "quma-cli: %s is open again\n", qPrintable(device));
            m_reopening = false;
            retry->deleteLater();
        });
        retry->start();
    }
    static QString nowText() {
        const QDateTime now = QDateTime::currentDateTime();
        return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
    }

    bool parseCommand() {
        if (m_command == "status" || m_command == "netid")
            return m_args.isEmpty() || usage("too many arguments") == 0;
        if (m_command == "watch") {
            while (!m_args.isEmpty()) {
                const QString opt = m_args.takeFirst();
                if (m_args.isEmpty() ||
                    (opt != "--count" && opt != "--csv" && opt != "--max-silence"))
                    return usage("watch takes --count N, --csv FILE and --max-silence SECONDS") ==
                           0;
                const QString value = m_args.takeFirst();
                bool ok = true;
                if (opt == "--count") m_count = value.toInt(&ok);
                if (opt == "--csv") m_csv = value;
                if (!ok || m_count < 0) return usage("watch --count takes a number >= 0") == 0;
                if (opt == "--max-silence") {
                    const double seconds = value.toDouble(&ok);
                    if (!ok || seconds <= 0 || seconds > 365 * 86400.0)
                        return usage("watch --max-silence takes seconds > 0") == 0;
                    m_maxSilenceMs = qint64(seconds * 1000);
                }
            }
            return true;
        }
        if (m_command == "history") {
            // Options after the kind: --xlsx FILE, --csv FILE.
            QStringList rest = m_args.mid(1);
            m_args = m_args.mid(0, 1);
            while (rest.size() >= 2 && (rest[0] == "--xlsx" || rest[0] == "--csv")) {
                (rest[0] == "--xlsx" ? m_xlsx : m_csv) = rest[1];
                rest = rest.mid(2);
            }
            if (!rest.isEmpty()) return usage("history takes --xlsx FILE and --csv FILE") == 0;
        }
        if (m_command == "history" || m_command == "clear") {
            if (m_args.size() != 1 || (m_args[0] != "alarm" && m_args[0] != "event"))
                return usage(m_command + " takes alarm or event") == 0;
            m_kind = m_args[0] == "alarm" ? TransferKind::Alarm : TransferKind::Event;
            return true;
        }
        if (m_command == "write") {
            if (m_args.isEmpty()) return usage("write needs REG=VALUE pairs") == 0;
            for (const QString& a : m_args) {
                const QStringList kv = a.split('=');
                bool ok1 = false, ok2 = false;
                const int reg = kv.size() == 2 ? kv[0].toInt(&ok1) : 0;
                const int value = kv.size() == 2 ? kv[1].toInt(&ok2, 0) : 0;
                if (!ok1 || !ok2 || reg < 1 || reg > 0xFFFF || value < 0 || value > 0xFFFF)
                    return usage("'" + a + "': expected REG=VALUE, both within 0..65535") == 0;
                m_writes.append({reg, value});
            }
            return true;
        }
        if (m_command == "reset") {
            if (m_args != QStringList{"1"} && m_args != QStringList{"2"})
                return usage("reset takes 1 (reset) or 2 (configuration)") == 0;
            m_writes = {{Reg::Restart, m_args[0].toInt()}};
            return true;
        }
        if (m_command == "set-time") {
            QDateTime t = QDateTime::currentDateTime();
            if (m_args.size() == 1) t = QDateTime::fromString(m_args[0], Qt::ISODate);
            if (m_args.size() > 1 || !t.isValid())
                return usage("set-time takes YYYY-MM-DDTHH:MM:SS") == 0;
            const QDate d = t.date();
            const QTime h = t.time();
            // Queued so that minute goes first and second last.
            m_writes = {{6, h.second()}, {1, d.year()}, {2, d.month()},
                        {3, d.day()},    {4, h.hour()}, {5, h.minute()}};
            return true;
        }
        if (m_command == "profile") return parseProfile();
        if (m_command == "report") {
            if (m_args.isEmpty()) return usage("report takes FILE.pdf or FILE.html") == 0;
            m_reportFile = m_args.takeFirst();
            while (m_args.size() >= 2 && (m_args[0] == "--engineer" || m_args[0] == "--note")) {
                (m_args[0] == "--engineer" ? m_engineer : m_note) = m_args[1];
                m_args = m_args.mid(2);
            }
            if (!m_args.isEmpty())
                return usage("report takes --engineer NAME and --note TEXT") == 0;
            const bool pdf = m_reportFile.endsWith(".pdf", Qt::CaseInsensitive);
            if (!pdf && !m_reportFile.endsWith(".html", Qt::CaseInsensitive) &&
                !m_reportFile.endsWith(".htm", Qt::CaseInsensitive))
                return usage("report: the file name ends in .pdf or .html") == 0;
#ifndef QUMA_WITH_PDF
            if (pdf) return usage("report: this build writes HTML reports only") == 0;
#endif
            return true;
        }
        if (m_command == "session") {
            if (m_args.size() != 3 || m_args[0] != "pcap")
                return usage("session pcap RECORDING OUT.pcap") == 0;
            return true;
        }
        return usage("unknown command " + m_command) == 0;
    }

    bool parseProfile() {
        if (m_args.isEmpty()) return usage("profile takes save, diff or restore") == 0;
        m_profileAction = m_args.takeFirst();
        QStringList files;
        for (const QString& a : m_args) {
            if (m_profileAction == "restore" && a == "--network")
                m_restoreOptions.network = true;
            else if (m_profileAction == "restore" && a == "--other-model")
                m_restoreOptions.otherModel = true;
            else if (m_profileAction == "restore" && a == "--yes")
                m_yes = true;
            else if (a.startsWith("--"))
                return usage("profile " + m_profileAction + ": unknown option " + a) == 0;
            else
                files << a;
        }
        const bool twoFiles = m_profileAction == "diff" && files.size() == 2;
        if ((m_profileAction != "save" && m_profileAction != "diff" &&
             m_profileAction != "restore") ||
            (files.size() != 1 && !twoFiles))
            return usage("profile save FILE | diff FILE [FILE2] | restore FILE [options]") == 0;
        m_profileFile = files[0];
        if (twoFiles) m_profileFile2 = files[1];
        if (m_profileAction == "save") return true;
        // A file is checked whole before the link is even opened: a bad one writes nothing.
        const ProfileLoad load = LoadProfileFile(m_profileFile);
        if (!load.profile) return refuse(load.error) == 0;
        m_fileProfile = *load.profile;
        return true;
    }

    int diffFiles() {
        const ProfileLoad other = LoadProfileFile(m_profileFile2);
        if (!other.profile) return refuse(other.error);
        const QList<ProfileDiffRow> rows = CompareProfiles(m_fileProfile, *other.profile);
        std::fputs(DiffTable(rows, m_profileFile, m_profileFile2, false).toUtf8().constData(),
                   stdout);
        return ProfilesDiffer(rows) ? 1 : 0;
    }

    // A recording as a pcap capture: no controller needed.
    int sessionCommand() {
        const SessionRead read = ReadSessionFile(m_args[1]);
        if (!read.error.isEmpty()) return refuse(read.error);
        if (read.truncated)
            std::fprintf(stderr, "quma-cli: %s ends inside its last line; read up to it\n",
                         qPrintable(m_args[1]));
        QString error;
        int packets = 0;
        if (!WritePcap(m_args[2], read.events, &error, &packets)) return refuse(error);
        out(QString("%1: %2 packets").arg(m_args[2]).arg(packets));
        return 0;
    }

    void watchProfileJob() {
        m_job.setTimeout(m_timeoutMs);
        m_timer.start();
        connect(&m_job, &ProfileJob::progress, this, [this] { m_watchdog.start(m_timeoutMs); });
        connect(&m_job, &ProfileJob::plantRead, this, [this](const SiteProfile& plant) {
            m_watchdog.start(m_timeoutMs);
            if (m_restored)
                onReadBack(plant);
            else
                onPlant(plant);
        });
        connect(&m_job, &ProfileJob::restoreFinished, this, [this](const RestoreReport& r) {
            for (const QString& line : r.lines())
                out(line);
            m_restored = true;
        });
        connect(&m_job, &ProfileJob::failed, this, [this](const QString& why) { fail(why); });
    }

    void onPlant(const SiteProfile& plant) {
        const double ms = m_timer.nsecsElapsed() / 1e6;
        if (m_profileAction == "save") {
            QString error;
            if (!SaveProfileFile(m_profileFile, plant, &error)) {
                fail(error, 2);
                return;
            }
            out(QString("%1: %2 settings%3 of %4 (system type %5), read in %6 ms")
                    .arg(m_profileFile)
                    .arg(plant.settings.size())
                    .arg(plant.network.isEmpty() ? QString(", no network identity")
                                                 : QString(" and the network identity"))
                    .arg(plant.model)
                    .arg(plant.systemType)
                    .arg(ms, 0, 'f', 1));
            finish();
        } else if (m_profileAction == "diff") {
            const QList<ProfileDiffRow> rows = CompareProfiles(m_fileProfile, plant);
            std::fputs(DiffTable(rows, m_profileFile, "plant", false).toUtf8().constData(), stdout);
            finish(ProfilesDiffer(rows) ? 1 : 0);
        } else {
            m_plan = PlanRestore(m_fileProfile, plant, m_restoreOptions);
            if (!m_plan.error.isEmpty()) {
                fail(m_plan.error, 2);
                return;
            }
            const QStringList lines = PlanLines(m_plan);
            for (const QString& line : lines)
                out(line);
            if (m_plan.empty()) {
                out("The plant already holds the profile's settings: nothing to write.");
                finish();
            } else if (!m_yes) {
                out(QString("Plan only: %1 register write(s)%2; nothing was written (add --yes).")
                        .arg(m_plan.steps.size())
                        .arg(m_plan.networkForm ? QString(" and the network identity")
                                                : QString()));
                finish();
            } else {
                m_timer.restart();
                m_job.restore(m_plan);
            }
        }
    }

    void onReadBack(const SiteProfile& plant) {
        // The fields the restore covered must now read as the file has them.
        QList<ProfileDiffRow> rows;
        for (const ProfileDiffRow& r : CompareProfiles(m_fileProfile, plant))
            if (r.section == "settings" ? !m_plan.notApplicable.contains(r.field)
                                        : m_restoreOptions.network)
                rows << r;
        out(QString("Restored in %1 ms; read back:").arg(m_timer.nsecsElapsed() / 1e6, 0, 'f', 1));
        if (ProfilesDiffer(rows)) {
            std::fputs(DiffTable(rows, m_profileFile, "plant", true).toUtf8().constData(), stdout);
            fail("the plant does not read back as the profile");
            return;
        }
        out("equal");
        finish();
    }

    // The command line waits for none of the window's start intervals: the first request goes
    // out at once (the same bytes in the same order as the console sends them).
    void begin() {
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

    void onStatus() {
        m_watchdog.start(m_timeoutMs);
        const StatusView v = RenderStatus(m_engine.image(), m_engine.modelName());
        if (m_command == "status") {
            for (const QString& l : StatusLines(v))
                out(l);
            out(m_engine.modelName());
            out(v.alarmText);
            finish();
        } else if (m_command == "watch") {
            replyCame();
            if (!m_csv.isEmpty() && !appendCsvRow()) return;
            out(v.clock + "  " + v.acVolts + "  " + v.dcVolts + "  " + v.dcAmps + "  " +
                v.battAmps + "  " + v.alarmText);
            if (m_count > 0 && ++m_seen >= m_count) finish();
        } else if (m_command == "history" && !m_started) {
            m_started = true;
            if (!m_engine.OpenTransfer(m_kind)) {
                fail(QString("system type %1 has no history").arg(m_engine.systemType()));
                return;
            }
            // The window's start countdown, run through at once: the count query goes out now.
            while (!m_engine.RequestStartTick()) {
            }
        }
    }

    // One row per poll: the time (ISO 8601, local with its offset), the trend values, the words.
    bool appendCsvRow() {
        QString error;
        if (!m_csvOpen) {
            QStringList header{"time"};
            for (const TrendSeriesInfo& i : TrendSeriesInfos())
                header << i.key;
            header << "alarm1"
                   << "alarm2";
            if (!m_csvFile.open(m_csv, header, &error)) {
                fail(error);
                return false;
            }
            m_csvOpen = true;
        }
        const RegisterImage& img = m_engine.image();
        const TrendValues values = TrendValuesFromImage(img);
        QStringList row{nowText()};
        for (int s = 0; s < Trend::Count; ++s)
            row << QString::number(values[s], 'f', TrendSeriesInfos()[s].decimals);
        row << QString::fromLatin1(IntToHexN(img[Reg::Alarm1], 4))
            << QString::fromLatin1(IntToHexN(img[Reg::Alarm2], 4));
        if (!m_csvFile.appendRow(row, &error)) {
            fail("writing the CSV failed, the run stops: " + error);
            return false;
        }
        return true;
    }

    void onNetId() {
        if (m_command != "netid") return;
        const NetworkIdentity& n = *m_engine.networkIdentity();
        out("MAC: " + n.mac);
        out("IP: " + n.ip);
        out("Subnet mask: " + n.subnet);
        out("Gateway: " + n.gateway);
        out("Saved IP: " + n.savedIp);
        // The texts are the controller's bytes: escaped like the trace before they reach a
        // terminal.
        const auto text = [](const QByteArray& bytes) {
            return QString::fromUtf8(TraceText(bytes));
        };
        out("HW description: " + text(n.hwDescription));
        out("Serial number: " + text(n.serialNumber));
        out("HW version: " + n.hwVersion);
        out("Saved MAC: " + n.savedMac);
        out("Saved IP-MAC: " + n.savedIpMac);
        out("Rectifier ID: " + n.rectId);
        out("Saved rectifier ID: " + n.savedRectId);
        out("FW version: " + n.firmware);
        out("Site: " + text(n.siteInfoUtf8));
        if (!n.complete)
            out("(The reply ended inside the record: the fields left empty were not received.)");
        finish();
    }

    void printRows() {
        for (const QStringList& row : m_engine.transfer().rows)
            if (!row.isEmpty()) out(row.join('\t'));
    }

    void onMessage(MessageKind kind, const QString& text) {
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
                if (!m_xlsx.isEmpty() && !WriteHistorySheet(m_xlsx, m_engine.transfer().rows,
                                                            m_kind, m_engine.modelName(), &error)) {
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

    QStringList m_args;
    MonitorEngine m_engine;
    LinkSession m_session;
    ProfileJob m_job;
    ReportCollector m_collector{m_engine};
    QString m_reportFile, m_engineer, m_note;
    SessionRecorder m_recorder;
    QString m_record;
    Translations m_translations{{"quma_core"}};
    QString m_command;
    QString m_profileAction, m_profileFile, m_profileFile2;
    SiteProfile m_fileProfile;
    RestoreOptions m_restoreOptions;
    RestorePlan m_plan;
    QElapsedTimer m_timer;
    bool m_yes = false, m_restored = false;
    TransferKind m_kind = TransferKind::Alarm;
    QList<RegWrite> m_writes;
    QString m_xlsx, m_csv;
    CsvAppender m_csvFile;
    bool m_csvOpen = false;
    QTimer m_watchdog;
    int m_timeoutMs = 5000;
    int m_count = 0, m_seen = 0;
    qint64 m_maxSilenceMs = 0; // watch: 0 polls on through any silence
    QElapsedTimer m_silence;   // running while the controller is silent
    bool m_reopening = false;  // watch: the serial port is being opened again
    bool m_started = false, m_finished = false;
};

} // namespace

int main(int argc, char** argv) {
    // A PDF report needs the fonts of a GUI application (without a display, offscreen).
    std::unique_ptr<QCoreApplication> application;
#ifdef QUMA_WITH_PDF
    bool report = false;
    for (int i = 1; i < argc; ++i)
        report = report || QByteArray(argv[i]) == "report";
    if (report) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
        UseConsoleFont();
    }
#endif
    if (!application) application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    QStringList args = app.arguments().mid(1);
    Cli cli(args);
    const int rc = cli.start();
    if (rc >= 0) return rc;
    return app.exec();
}
