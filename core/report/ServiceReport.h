// The site service report: what the plant was, how it was set and what it had logged, with the
// engineer's name and note, as one self-contained document. This part gathers the contents and
// writes them as HTML; the windows' library renders the same HTML to PDF.
#pragma once

#include "core/battery/BatteryHistory.h"

#include "core/monitor/AlarmTree.h"
#include "core/monitor/MonitorEngine.h"
#include "core/profile/ProfileJob.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

namespace quma {

struct ReportData {
    QString model;
    int systemType = 0;
    QString firmware;       // the status bar's model and firmware line
    QString controllerTime; // the controller's clock as the status page shows it
    QDateTime laptopTime;
    std::optional<NetworkIdentity> identity;
    QStringList statusLines;                  // every measured value, in page order
    QStringList activeAlarms;                 // the alarm tree's alarms that are on
    QList<AlarmNode> alarmTree;               // the whole tree with each state
    QList<std::pair<QString, bool>> contacts; // relay contacts and whether each is active
    SiteProfile settings;
    QList<QStringList> alarmHistory, eventLog;    // header row first
    QList<std::pair<QString, QByteArray>> charts; // caption and PNG bytes
    // The plant's discharge tests (oldest first), the last one's curve drawn (PNG, may be
    // empty), and the cells that stay apart from the others (number, volts from the mean).
    QList<DischargeTest> batteryTests;
    QByteArray batteryCurvePng;
    QList<std::pair<int, double>> flaggedCells;
    QString engineer, note, consoleVersion;
};

// The data of the plant as the engine holds it now (no request): the image, the identity read,
// and the plant's battery tests kept under its MAC address in `batteryFolder`.
ReportData ReportSnapshot(const MonitorEngine& engine,
                          const QString& batteryFolder = BatteryHistory::DefaultFolder());

// How the HTML carries chart images: inside as data URLs (a file on its own), or by the names
// "chart-N.png" that a renderer provides.
enum class ReportImages { Embedded, Named };
// The width charts are drawn at in the report: an A4 page less its margins, at 96 pixels an inch.
constexpr int ReportPageWidth = 680;
QString ReportHtml(const ReportData& data, ReportImages images);
// Written whole or not at all: a failure says why and leaves no file.
bool WriteReportHtml(const QString& path, const ReportData& data, QString* error);

// Gathers a report's contents from the controller: the plant (one poll and the network identity),
// then the alarm history and the event log, each downloaded as the history windows do.
class ReportCollector : public QObject {
    Q_OBJECT
public:
    explicit ReportCollector(MonitorEngine& engine, QObject* parent = nullptr);
    void setTimeout(int ms) { m_timeoutMs = ms; }
    void start();
    bool busy() const { return m_step != Step::Idle; }

signals:
    void progress(int percent, const QString& text);
    void finished(const quma::ReportData& data);
    void failed(const QString& why);

private:
    enum class Step { Idle, Plant, Alarms, Events };
    void startTransfer(TransferKind kind);
    void transferDone();
    void fail(const QString& why);

    MonitorEngine& m_engine;
    ProfileJob m_job;
    Step m_step = Step::Idle;
    ReportData m_data;
    QTimer m_watchdog;
    int m_timeoutMs = 10000;
};

} // namespace quma

Q_DECLARE_METATYPE(quma::ReportData)
