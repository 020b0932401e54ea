// The Service report dialog: the engineer's name, a note and the format; it gathers the report
// from the controller (with progress), adds the last hour of trends and writes the file.
#pragma once

#include "core/report/ServiceReport.h"
#include "core/trend/TrendStore.h"

#include <QDialog>
#include <QPointer>

class MessageHub;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;

class ServiceReportDialog : public QDialog {
    Q_OBJECT
public:
    ServiceReportDialog(quma::MonitorEngine& engine, const quma::TrendStore& trends,
                        MessageHub& hub, QWidget* parent = nullptr);

    QLineEdit* engineer() const { return m_engineer; }
    QPlainTextEdit* note() const { return m_note; }
    QComboBox* format() const { return m_format; }
    QPushButton* createButton() const { return m_create; }
    // The path of the last report written (empty before one).
    QString written() const { return m_written; }
    // Cells that stay apart from the others (number, volts from the mean), for the battery
    // section.
    void setFlaggedCells(const QList<std::pair<int, double>>& cells) { m_flaggedCells = cells; }
    void create();

private:
    void write(quma::ReportData data);

    quma::MonitorEngine& m_engine;
    const quma::TrendStore& m_trends;
    MessageHub& m_hub;
    quma::ReportCollector m_collector;
    QLineEdit* m_engineer;
    QPlainTextEdit* m_note;
    QComboBox* m_format;
    QPushButton* m_create;
    QPointer<QProgressDialog> m_progress;
    QString m_path, m_written;
    QList<std::pair<int, double>> m_flaggedCells;
};
