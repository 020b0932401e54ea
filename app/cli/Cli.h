// quma-cli: a headless front end on the monitoring engine, for scripts and bulk work. One run
// is one command: the options and the command line are read, the link is made, the command
// talks to the controller through the engine, and the run ends with its exit code.
#pragma once

#include "core/battery/BatteryWatch.h"
#include "core/export/CsvExport.h"
#include "core/export/PcapExport.h"
#include "core/export/SheetExport.h"
#include "core/i18n/Translations.h"
#include "core/monitor/LinkSession.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/SessionFile.h"
#include "core/monitor/StatusTexts.h"
#include "core/profile/ProfileJob.h"
#include "core/report/ServiceReport.h"
#include "core/trend/TrendStore.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

namespace quma::cli {

// The usage text (--help, and after a usage error).
extern const char kUsage[];
// A line on standard output, flushed.
void out(const QString& line);

class Cli : public QObject {
public:
    Cli(QStringList args) : m_args(std::move(args)), m_session(m_engine), m_job(m_engine) {}

    int start();

private:
    int usage(const QString& why, int rc = 2);
    // Bad input that is not a usage error: the reason alone, exit 2.
    int refuse(const QString& why);
    void fail(const QString& why, int rc = -1);
    void finish(int rc = 0);

    // watch: the controller did not answer for a time-out. Said once a spell on stderr, marked
    // in the CSV by a row with the time alone, and the end of the run only past --max-silence.
    void silentSpell();
    void replyCame();
    // watch over a serial line that went away (a USB adapter pulled): opened again every 2 s.
    void reopenSerial(const QString& device, const QString& why);
    static QString nowText();

    bool parseCommand();

    bool parseProfile();

    int diffFiles();

    // A recording as a pcap capture: no controller needed.
    int sessionCommand();

    void watchProfileJob();

    void onPlant(const SiteProfile& plant);

    void onReadBack(const SiteProfile& plant);

    // The command line waits for none of the window's start intervals: the first request goes
    // out at once (the same bytes in the same order as the console sends them).
    void begin();

    void onStatus();

    // One row per poll: the time (ISO 8601, local with its offset), the trend values, the words.
    bool appendCsvRow();

    void onNetId();

    // battery: its arguments, the start (identity first), and what follows.
    bool parseBattery();
    void beginBattery();
    void onBatteryPlant();
    void onBatteryPoll();
    void onBatteryConfirmed();
    void sendBatteryCommand(int value);

    void printRows();

    void onMessage(MessageKind kind, const QString& text);

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
    BatteryWatch m_battery;
    QString m_batteryAction;
    bool m_batteryWait = false, m_batteryWrite = false, m_batteryConfirmed = false;
    bool m_batteryStarted = false, m_plantSeen = false;
    int m_batteryIdlePolls = 0;
    QTimer m_watchdog;
    int m_timeoutMs = 5000;
    int m_count = 0, m_seen = 0;
    qint64 m_maxSilenceMs = 0; // watch: 0 polls on through any silence
    QElapsedTimer m_silence;   // running while the controller is silent
    bool m_reopening = false;  // watch: the serial port is being opened again
    bool m_started = false, m_finished = false;
};

} // namespace quma::cli
