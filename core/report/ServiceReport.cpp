// The site service report: contents, HTML, and the collection from the controller.
#include "core/report/ServiceReport.h"

#include "core/io/WriteFile.h"
#include "core/monitor/StatusTexts.h"
#include "core/settings/SettingRows.h"

#include <QCoreApplication>

namespace quma {

namespace {
QString esc(const QString& s) {
    return s.toHtmlEscaped();
}

// A table at the page's width; a header row goes into <thead>, which browsers and the PDF
// layout repeat on every page the table runs onto.
QString table(const QList<QStringList>& rows, bool header) {
    QString h = "<table class=\"grid\" width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" "
                "border=\"1\">\n";
    for (int r = 0; r < rows.size(); ++r) {
        const bool th = header && r == 0;
        if (th) h += "<thead>";
        if (header && r == 1) h += "<tbody>";
        h += "<tr>";
        for (const QString& cell : rows[r])
            h += th ? "<th>" + esc(cell) + "</th>" : "<td>" + esc(cell) + "</td>";
        h += "</tr>";
        if (th) h += "</thead>";
        h += "\n";
    }
    if (header && rows.size() > 1) h += "</tbody>";
    return h + "</table>\n";
}

// A status line ("AC전압 : 220.0 V") as name, value and unit.
QStringList statusCells(const QString& line) {
    const int colon = int(line.indexOf(':'));
    if (colon < 0) return {line.trimmed(), {}, {}};
    const QString name = line.left(colon).trimmed();
    QString value = line.mid(colon + 1).trimmed();
    QString unit;
    const int space = int(value.lastIndexOf(' '));
    if (space > 0 && !value.mid(space + 1).isEmpty() && !value.mid(space + 1)[0].isDigit()) {
        unit = value.mid(space + 1);
        value = value.left(space);
    }
    return {name, value, unit};
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

// The battery: the last test's record and curve, the tests against the first, the cells apart.
QString batterySection(const ReportData& d, ReportImages images) {
    QString h = "<h2>" + esc(QCoreApplication::translate("Report", "Battery")) + "</h2>\n";
    if (d.batteryTests.isEmpty()) {
        h += "<p>" +
             esc(QCoreApplication::translate("Report",
                                             "No discharge test is recorded for this plant.")) +
             "</p>\n";
    } else {
        const DischargeTest& last = d.batteryTests.last();
        h += "<h3>" + esc(QCoreApplication::translate("Report", "Last discharge test")) +
             "</h3>\n<p>" + esc(DischargeTestLines(last).join('\n')).replace("\n", "<br/>") +
             "</p>\n";
        if (!d.batteryCurvePng.isEmpty()) {
            const QString src =
                images == ReportImages::Embedded
                    ? "data:image/png;base64," + QString::fromLatin1(d.batteryCurvePng.toBase64())
                    : QString("battery-curve.png");
            h += "<p><img src=\"" + src + "\" width=\"" + QString::number(ReportPageWidth) +
                 "\" alt=\"" +
                 esc(QCoreApplication::translate("Report", "Voltage, current and lowest cell")) +
                 "\"/></p>\n";
        }
        // The curve in figures too: a dozen points over the test.
        QList<QStringList> curve{{QCoreApplication::translate("Report", "Seconds"),
                                  QCoreApplication::translate("Report", "Battery V"),
                                  QCoreApplication::translate("Report", "Battery A"),
                                  QCoreApplication::translate("Report", "Lowest cell V")}};
        const int n = int(last.curve.size());
        for (int k = 0; k < std::min(n, 12); ++k) {
            const CurvePoint& p = last.curve[n <= 12 ? k : k * (n - 1) / 11];
            curve << QStringList{QString::number(p.seconds, 'f', 0),
                                 QString::number(p.volts, 'f', 2), QString::number(p.amps, 'f', 1),
                                 QString::number(p.lowestCell, 'f', 2)};
        }
        h += table(curve, true);
        h += "<h3>" +
             esc(QCoreApplication::translate("Report", "Tests against the first (%1)")
                     .arg(d.batteryTests.size())) +
             "</h3>\n";
        QList<QStringList> rows{DischargeTableHeader()};
        for (const DischargeTest& t : d.batteryTests)
            rows << DischargeTableRow(t);
        h += "<div class=\"log\">\n" + table(rows, true) + "</div>\n";
    }
    QStringList cells;
    for (const auto& [cell, volts] : d.flaggedCells)
        cells << QString("#%1 (%2 mV)").arg(cell).arg(volts * 1000, 0, 'f', 0);
    if (!cells.isEmpty())
        h += "<p class=\"alarm\">" +
             esc(QCoreApplication::translate("Report", "Cells apart from the others: %1")
                     .arg(cells.join(", "))) +
             "</p>\n";
    return h;
}

} // namespace

ReportData ReportSnapshot(const MonitorEngine& engine, const QString& batteryFolder) {
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
    if (id && !id->mac.isEmpty())
        d.batteryTests =
            BatteryHistory::Load(BatteryHistory::PathFor(batteryFolder, id->mac), nullptr).tests();
    return d;
}

QString ReportHtml(const ReportData& d, ReportImages images) {
    // The language of the interface the report was made in ("ko" unless translated).
    const QString lang = QCoreApplication::translate("Report", "ko", "HTML language code");
    QString h = "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"" + lang +
                "\" xml:lang=\"" + lang + "\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>" +
                esc(QCoreApplication::translate("Report", "Service report ") + d.model) +
                "</title>\n<style>\n"
                "body { font-family: 'DejaVu Sans', 'NanumGothic', sans-serif; font-size: 9pt; }\n"
                "h1 { font-size: 15pt; } h2 { font-size: 12pt; margin-top: 14px; "
                "page-break-after: avoid; break-after: avoid; }\n"
                "table.grid { border-collapse: collapse; margin-bottom: 6px; width: 100%; }\n"
                "thead { display: table-header-group; }\n"
                "tr { page-break-inside: avoid; }\n"
                "th { background: #dde6f0; text-align: left; }\n"
                ".alarm { color: #c01010; font-weight: bold; }\n"
                ".log { font-size: 7pt; }\n"
                ".chart { page-break-before: always; }\n"
                "img { max-width: 100%; }\n"
                "pre { font-family: 'DejaVu Sans', 'NanumGothic', sans-serif; white-space: "
                "pre-wrap; }\n"
                "</style>\n</head>\n<body>\n";
    h += "<h1>" + esc(QCoreApplication::translate("Report", "Site service report: ") + d.model) +
         "</h1>\n";
    h += table(
        {{QCoreApplication::translate("Report", "Model"), d.model},
         {QCoreApplication::translate("Report", "System type"), QString::number(d.systemType)},
         {QCoreApplication::translate("Report", "Firmware"), d.firmware},
         {QCoreApplication::translate("Report", "Controller time"), d.controllerTime.trimmed()},
         {QCoreApplication::translate("Report", "Laptop time"),
          d.laptopTime.toString("yyyy-MM-dd HH:mm:ss")},
         {QCoreApplication::translate("Report", "Engineer"), d.engineer},
         {QCoreApplication::translate("Report", "Console"), d.consoleVersion}},
        false);
    if (!d.note.isEmpty())
        h += "<h2>" + esc(QCoreApplication::translate("Report", "Note")) + "</h2>\n<pre>" +
             esc(d.note) + "</pre>\n";

    h += "<h2>" + esc(QCoreApplication::translate("Report", "Network identity")) + "</h2>\n";
    if (d.identity) {
        const NetworkIdentity& n = *d.identity;
        h += table(
            {{QCoreApplication::translate("Report", "IP address"), n.ip},
             {QCoreApplication::translate("Report", "Subnet mask"), n.subnet},
             {QCoreApplication::translate("Report", "Gateway"), n.gateway},
             {QCoreApplication::translate("Report", "MAC address"), n.mac},
             {QCoreApplication::translate("Report", "HW version"), n.hwVersion},
             {QCoreApplication::translate("Report", "HW description"),
              QString::fromUtf8(n.hwDescription)},
             {QCoreApplication::translate("Report", "Serial number"),
              QString::fromLatin1(n.serialNumber)},
             {QCoreApplication::translate("Report", "Rectifier ID"), n.rectId},
             {QCoreApplication::translate("Report", "FW version"), n.firmware},
             {QCoreApplication::translate("Report", "Site"), QString::fromUtf8(n.siteInfoUtf8)}},
            false);
    } else {
        h += "<p>" + esc(QCoreApplication::translate("Report", "Not read.")) + "</p>\n";
    }

    h += "<h2>" + esc(QCoreApplication::translate("Report", "Status")) + "</h2>\n";
    if (d.activeAlarms.isEmpty())
        h += "<p>" + esc(QCoreApplication::translate("Report", "No alarm.")) + "</p>\n";
    else
        h += "<p class=\"alarm\">" +
             esc(QCoreApplication::translate("Report", "Active alarms: ") +
                 d.activeAlarms.join(", ")) +
             "</p>\n";
    QList<QStringList> status{{QCoreApplication::translate("Report", "Measurement"),
                               QCoreApplication::translate("Report", "Value"),
                               QCoreApplication::translate("Report", "Unit")}};
    for (const QString& line : d.statusLines)
        status << statusCells(line);
    h += table(status, true);
    const QString alarm = QCoreApplication::translate("Report", "ALARM"),
                  normal = QCoreApplication::translate("Report", "normal");
    QList<QStringList> contacts{{QCoreApplication::translate("Report", "Contact"),
                                 QCoreApplication::translate("Report", "State")}};
    for (const auto& [name, on] : d.contacts)
        contacts << QStringList{name, on ? alarm : normal};
    h += table(contacts, true);
    QList<QStringList> tree{{QCoreApplication::translate("Report", "Alarm"),
                             QCoreApplication::translate("Report", "State")}};
    for (const AlarmNode& n : d.alarmTree)
        if (n.level == 2) tree << QStringList{n.text, n.alarm ? alarm : normal};
    h += table(tree, true);

    h += "<h2>" + esc(QCoreApplication::translate("Report", "Settings")) + "</h2>\n";
    QList<QStringList> settings{{QCoreApplication::translate("Report", "Setting"),
                                 QCoreApplication::translate("Report", "Register"),
                                 QCoreApplication::translate("Report", "Value"),
                                 QCoreApplication::translate("Report", "Unit")}};
    for (const ProfileField& f : ProfileSettingFields())
        if (d.settings.settings.contains(f.key))
            settings << QStringList{ProfileFieldLabel(f), QString::number(f.reg),
                                    ProfileValueText(f, d.settings.settings.value(f.key)), f.unit};
    h += table(settings, true);

    h += batterySection(d, images);

    if (!d.charts.isEmpty()) {
        // The charts start a page with their heading, drawn at the page's width.
        h += "<h2 class=\"chart\" style=\"page-break-before: always\">" +
             esc(QCoreApplication::translate("Report", "Trends, last hour")) + "</h2>\n";
        for (int i = 0; i < d.charts.size(); ++i) {
            const QString src =
                images == ReportImages::Embedded
                    ? "data:image/png;base64," + QString::fromLatin1(d.charts[i].second.toBase64())
                    : QString("chart-%1.png").arg(i);
            h += "<p><img src=\"" + src + "\" width=\"" + QString::number(ReportPageWidth) +
                 "\" alt=\"" + esc(d.charts[i].first) + "\"/></p>\n";
        }
    }

    h += "<h2>" +
         esc(QCoreApplication::translate("Report", "Alarm history (%1 records)")
                 .arg(std::max(0, int(d.alarmHistory.size()) - 1))) +
         "</h2>\n";
    h += d.alarmHistory.size() > 1
             ? logTable(d.alarmHistory)
             : "<p>" + esc(QCoreApplication::translate("Report", "No record.")) + "</p>\n";
    h += "<h2>" +
         esc(QCoreApplication::translate("Report", "Event log (%1 records)")
                 .arg(std::max(0, int(d.eventLog.size()) - 1))) +
         "</h2>\n";
    h += d.eventLog.size() > 1
             ? logTable(d.eventLog)
             : "<p>" + esc(QCoreApplication::translate("Report", "No record.")) + "</p>\n";
    return h + "</body>\n</html>\n";
}

bool WriteReportHtml(const QString& path, const ReportData& data, QString* error) {
    return WriteWholeFile(path, ReportHtml(data, ReportImages::Embedded).toUtf8(), error);
}

ReportCollector::ReportCollector(MonitorEngine& engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_job(engine) {
    qRegisterMetaType<quma::ReportData>();
    m_watchdog.setSingleShot(true);
    m_watchdog.setTimerType(Qt::PreciseTimer);
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
