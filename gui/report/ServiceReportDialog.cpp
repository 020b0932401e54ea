// The Service report dialog.
#include "gui/report/ServiceReportDialog.h"

#include "gui/report/ReportPdf.h"
#include "gui/shared/MessageHub.h"
#include "gui/trend/TrendView.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>

using namespace quma;

ServiceReportDialog::ServiceReportDialog(MonitorEngine& engine, const TrendStore& trends,
                                         MessageHub& hub, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_trends(trends), m_hub(hub), m_collector(engine) {
    setObjectName("ServiceReportDialog");
    setWindowTitle(tr("서비스 리포트 (Service report)"));
    m_engineer = new QLineEdit(this);
    m_engineer->setObjectName("edtEngineer");
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName("mmNote");
    m_note->setPlaceholderText(tr("What was done on site, what was found"));
    m_format = new QComboBox(this);
    m_format->setObjectName("cbbReportFormat");
    m_format->addItems({"PDF (A4)", "HTML (one file)"});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_create = buttons->addButton(tr("Create..."), QDialogButtonBox::AcceptRole);
    m_create->setObjectName("btnCreateReport");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_create, &QPushButton::clicked, this, &ServiceReportDialog::create);
    auto* form = new QFormLayout(this);
    form->addRow("Engineer", m_engineer);
    form->addRow("Note", m_note);
    form->addRow("Format", m_format);
    form->addRow(buttons);
    resize(520, 360);

    connect(&m_collector, &ReportCollector::progress, this, [this](int percent, const QString& t) {
        if (!m_progress) return;
        m_progress->setValue(percent);
        m_progress->setLabelText(tr("Gathering the report: ") + t);
    });
    connect(&m_collector, &ReportCollector::failed, this, [this](const QString& why) {
        if (m_progress) m_progress->close();
        m_create->setEnabled(true);
        m_hub.show(this, MessageKind::Warning, tr("The report was not made: ") + why);
    });
    connect(&m_collector, &ReportCollector::finished, this, &ServiceReportDialog::write);
}

void ServiceReportDialog::create() {
    const bool pdf = m_format->currentIndex() == 0;
    const QString suffix = pdf ? ".pdf" : ".html";
    const QString model = m_engine.modelName().trimmed();
    QString path = m_hub.chooseFile(this, tr("Save the service report"),
                                    pdf ? "PDF (*.pdf)" : "HTML (*.html)", true,
                                    (model.isEmpty() ? QString("plant") : model) + "-report-" +
                                        QDateTime::currentDateTime().toString("yyyyMMdd") + suffix);
    if (path.isEmpty()) return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    m_path = path;
    m_create->setEnabled(false);
    m_progress = new QProgressDialog(tr("Gathering the report"), QString(), 0, 100, this);
    m_progress->setObjectName("ReportProgress");
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setMinimumDuration(0);
    m_progress->open();
    m_collector.start();
}

void ServiceReportDialog::write(ReportData data) {
    if (m_progress) m_progress->close();
    m_create->setEnabled(true);
    data.engineer = m_engineer->text().trimmed();
    data.note = m_note->toPlainText();
    data.consoleVersion = "quma-console 2.1";
    data.flaggedCells = m_flaggedCells;
    if (m_trends.size() > 1) {
        QString plant = data.model.trimmed();
        if (data.identity && !data.identity->siteInfoUtf8.isEmpty())
            plant += ", " + QString::fromUtf8(data.identity->siteInfoUtf8).trimmed();
        data.charts.append({tr("DC, battery, AC and rectifier, cells"),
                            TrendView::LastHourPng(m_trends, m_hub, plant, 1100)});
    }
    QString error;
    if (!WriteReport(m_path, data, &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The report was not saved: ") + error);
        return;
    }
    m_written = m_path;
    m_hub.show(this, MessageKind::Information, tr("Report saved: ") + m_path);
}
