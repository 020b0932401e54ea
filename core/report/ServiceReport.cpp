// The site service report: contents, HTML, and the collection from the controller.
#include "core/report/ServiceReport.h"

#include "core/monitor/StatusTexts.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace quma {

namespace {
QString esc(const QString& s) {
    return s.toHtmlEscaped();
}

QString table(const QList<QStringList>& rows, bool header) {
    QString h = "<table class=\"grid\" cellspacing=\"0\" cellpadding=\"3\" border=\"1\">\n";
    for (int r = 0; r < rows.size(); ++r) {
        const bool th = header && r == 0;
        h += "<tr>";
        for (const QString& cell : rows[r])
            h += th ? "<th>" + esc(cell) + "</th>" : "<td>" + esc(cell) + "</td>";
        h += "</tr>\n";
    }
    return h + "</table>\n";
}

// A log's table without the columns that hold nothing in any record, in small type.
QString logTable(const QList<QStringList>& rows) {
    QList<int> keep;
    for (int c = 0; c < (rows.isEmpty() ? 0 : rows[0].size()); ++c) {
        bool used = false;
        for (int r = 1; r < rows.size() && !used; ++r) {
            const QString v = rows[r].value(c).trimmed();
            used = !v.isEmpty() && v != "-";
        }
        if (used) keep << c;
    }
    QList<QStringList> out;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (int c : keep)
            cells << row.value(c);
        out << cells;
    }
    return "<div class=\"log\">\n" + table(out, true) + "</div>\n";
}

QString pairs(const QList<std::pair<QString, QString>>& rows) {
    QList<QStringList> t;
    for (const auto& [k, v] : rows)
        t << QStringList{k, v};
    return table(t, false);
}
} // namespace

ReportData ReportSnapshot(const MonitorEngine& engine) {
    ReportData d;
    const RegisterImage& img = engine.image();
    const StatusView v = RenderStatus(img, engine.modelName());
    d.model = engine.modelName().trimmed();
    d.systemType = engine.systemType();
    d.firmware = v.firmware.trimmed();
    d.controllerTime = v.clock;
    d.laptopTime = QDateTime::currentDateTime();
    d.identity = engine.networkIdentity();
    d.statusLines = StatusLines(v);
    d.alarmTree = AlarmTreeNodes(img);
    for (const AlarmNode& n : d.alarmTree)
        if (n.level == 2 && n.alarm) d.activeAlarms << n.text;
    static const char* names[] = {"AC Fail",
                                  "DC Fail",
                                  "Module Fail",
                                  "Battery Fail",
                                  QT_TRANSLATE_NOOP("Report", "예비 1"),
                                  QT_TRANSLATE_NOOP("Report", "예비 2")};
    for (int i = 0; i < v.contactCount && i < 6; ++i)
        d.contacts.append(
            {QCoreApplication::translate("Report", names[i]), bool(v.dryContacts & (1 << i))});
    const auto& id = engine.networkIdentity();
    d.settings = ProfileFromPlant(img, id ? &*id : nullptr, engine.modelName(), d.laptopTime);
    return d;
}

QString ReportHtml(const ReportData& d, ReportImages images) {
    QString h =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n<title>" +
        esc("Service report " + d.model) +
        "</title>\n<style>\n"
        "body { font-family: 'DejaVu Sans', 'NanumGothic', sans-serif; font-size: 9pt; }\n"
        "h1 { font-size: 15pt; } h2 { font-size: 12pt; margin-top: 14px; }\n"
        "table.grid { border-collapse: collapse; margin-bottom: 6px; }\n"
        "th { background: #dde6f0; text-align: left; }\n"
        ".alarm { color: #c01010; font-weight: bold; }\n"
        ".log { font-size: 7pt; }\n"
        "pre { font-family: 'DejaVu Sans', 'NanumGothic', sans-serif; white-space: pre-wrap; }\n"
        "</style>\n</head>\n<body>\n";
    h += "<h1>" +
         esc(QCoreApplication::translate("Report", "서비스 리포트 / Site service report: ") +
             d.model) +
         "</h1>\n";
    h += pairs({{"Model", d.model},
                {"System type", QString::number(d.systemType)},
                {"Firmware", d.firmware},
                {"Controller time", d.controllerTime.trimmed()},
                {"Laptop time", d.laptopTime.toString("yyyy-MM-dd HH:mm:ss")},
                {"Engineer", d.engineer},
                {"Console", d.consoleVersion}});
    if (!d.note.isEmpty()) h += "<h2>Note</h2>\n<pre>" + esc(d.note) + "</pre>\n";

    h += "<h2>Network identity</h2>\n";
    if (d.identity) {
        const NetworkIdentity& n = *d.identity;
        h += pairs({{"IP address", n.ip},
                    {"Subnet mask", n.subnet},
                    {"Gateway", n.gateway},
                    {"MAC address", n.mac},
                    {"HW version", n.hwVersion},
                    {"HW description", QString::fromUtf8(n.hwDescription)},
                    {"Serial number", QString::fromLatin1(n.serialNumber)},
                    {"Rectifier ID", n.rectId},
                    {"FW version", n.firmware},
                    {"Site", QString::fromUtf8(n.siteInfoUtf8)}});
    } else {
        h += "<p>Not read.</p>\n";
    }

    h += "<h2>Status</h2>\n";
    if (d.activeAlarms.isEmpty())
        h += "<p>No alarm.</p>\n";
    else
        h += "<p class=\"alarm\">" + esc("Active alarms: " + d.activeAlarms.join(", ")) + "</p>\n";
    QList<QStringList> status;
    for (const QString& line : d.statusLines)
        status << QStringList{line};
    h += table(status, false);
    QList<QStringList> contacts{{"Contact", "State"}};
    for (const auto& [name, on] : d.contacts)
        contacts << QStringList{name, on ? "ALARM" : "normal"};
    h += table(contacts, true);
    QList<QStringList> tree{{"Alarm", "State"}};
    for (const AlarmNode& n : d.alarmTree)
        if (n.level == 2) tree << QStringList{n.text, n.alarm ? "ALARM" : "normal"};
    h += table(tree, true);

    h += "<h2>Settings</h2>\n";
    QList<QStringList> settings{{"Setting", "Register", "Value", "Unit"}};
    for (const ProfileField& f : ProfileSettingFields())
        if (d.settings.settings.contains(f.key))
            settings << QStringList{f.key, QString::number(f.reg),
                                    ProfileValueText(f, d.settings.settings.value(f.key)), f.unit};
    h += table(settings, true);

    if (!d.charts.isEmpty()) {
        h += "<h2>Trends, last hour</h2>\n";
        for (int i = 0; i < d.charts.size(); ++i) {
            const QString src =
                images == ReportImages::Embedded
                    ? "data:image/png;base64," + QString::fromLatin1(d.charts[i].second.toBase64())
                    : QString("chart-%1.png").arg(i);
            h += "<p>" + esc(d.charts[i].first) + "</p>\n<img src=\"" + src +
                 "\" width=\"640\" alt=\"" + esc(d.charts[i].first) + "\"/>\n";
        }
    }

    h += QString("<h2>Alarm history (%1 records)</h2>\n")
             .arg(std::max(0, int(d.alarmHistory.size()) - 1));
    h += d.alarmHistory.size() > 1 ? logTable(d.alarmHistory) : "<p>No record.</p>\n";
    h += QString("<h2>Event log (%1 records)</h2>\n").arg(std::max(0, int(d.eventLog.size()) - 1));
    h += d.eventLog.size() > 1 ? logTable(d.eventLog) : "<p>No record.</p>\n";
    return h + "</body>\n</html>\n";
}

bool WriteReportHtml(const QString& path, const ReportData& data, QString* error) {
    QSaveFile f(path);
    const QByteArray text = ReportHtml(data, ReportImages::Embedded).toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit()) {
        if (error) *error = QString("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

ReportCollector::ReportCollector(MonitorEngine& engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_job(engine) {
    qRegisterMetaType<quma::ReportData>();
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this,
            [this] { fail("the controller stopped answering while the report was gathered"); });
    connect(&m_job, &ProfileJob::plantRead, this, [this](const SiteProfile&) {
        if (m_step != Step::Plant) return;
        m_data = ReportSnapshot(m_engine);
        startTransfer(TransferKind::Alarm);
    });
    connect(&m_job, &ProfileJob::failed, this, [this](const QString& why) {
        if (m_step == Step::Plant) fail(why);
    });
    connect(&m_engine, &MonitorEngine::recordStored, this, [this] {
        if (m_step == Step::Alarms || m_step == Step::Events) m_watchdog.start(m_timeoutMs);
    });
    connect(&m_engine, &MonitorEngine::transferProgress, this,
            [this](TransferKind, int percent, const QString&) {
                if (m_step == Step::Alarms) emit progress(10 + percent * 45 / 100, "alarm history");
                if (m_step == Step::Events) emit progress(55 + percent * 45 / 100, "event log");
            });
    connect(&m_engine, &MonitorEngine::transferCompleted, this, [this] { transferDone(); });
    connect(&m_engine, &MonitorEngine::transferStalled, this,
            [this](TransferKind kind, int record, int total) {
                const QString log = kind == TransferKind::Alarm ? "alarm history" : "event log";
                fail(record == 0 ? QString("the controller did not answer the %1 count").arg(log)
                                 : QString("record %1 of %2 of the %3 could not be read")
                                       .arg(record)
                                       .arg(total)
                                       .arg(log));
            });
}

void ReportCollector::start() {
    if (busy()) return;
    m_step = Step::Plant;
    m_data = ReportData{};
    m_job.setTimeout(m_timeoutMs);
    emit progress(0, "plant");
    m_job.readPlant();
}

void ReportCollector::startTransfer(TransferKind kind) {
    m_step = kind == TransferKind::Alarm ? Step::Alarms : Step::Events;
    m_watchdog.start(m_timeoutMs);
    if (!m_engine.OpenTransfer(kind, false)) {
        fail(QString("system type %1 keeps no history").arg(m_engine.systemType()));
        return;
    }
    // The history window's start countdown, run through at once.
    while (!m_engine.RequestStartTick()) {
    }
}

void ReportCollector::transferDone() {
    if (m_step != Step::Alarms && m_step != Step::Events) return;
    const bool alarms = m_step == Step::Alarms;
    (alarms ? m_data.alarmHistory : m_data.eventLog) = m_engine.transfer().rows;
    m_engine.CloseTransfer(false);
    if (alarms) {
        startTransfer(TransferKind::Event);
        return;
    }
    m_watchdog.stop();
    m_step = Step::Idle;
    emit progress(100, "done");
    emit finished(m_data);
}

void ReportCollector::fail(const QString& why) {
    if (m_step == Step::Idle) return;
    if (m_step == Step::Alarms || m_step == Step::Events) m_engine.CloseTransfer(false);
    m_step = Step::Idle;
    m_watchdog.stop();
    emit failed(why);
}

} // namespace quma
