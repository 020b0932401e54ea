// What the alarm-history and event-log windows share: the table a transfer fills, its progress,
// and the spreadsheet export once it is complete.
#include "gui/history/HistoryWindow.h"

#include "core/export/CsvExport.h"
#include "core/export/SheetExport.h"
#include "core/history/TransferRecord.h"
#include "gui/shared/MessageHub.h"

#include <QBoxLayout>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>

using namespace quma;

HistoryWindow::HistoryWindow(MonitorEngine& engine, MessageHub& hub, TransferKind kind,
                             QWidget* parent)
    : QDialog(parent), m_engine(engine), m_hub(hub), m_kind(kind) {
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_requestTimer.setObjectName("Timer1");
    m_requestTimer.setInterval(100);
    connect(&m_requestTimer, &QTimer::timeout, this, &HistoryWindow::requestStartTick);
    // Rows and progress reach the screen in batches, at most one visible update a frame.
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(FlushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &HistoryWindow::flush);
    connect(&engine, &MonitorEngine::transferBegun, this, &HistoryWindow::begun);
    connect(&engine, &MonitorEngine::recordStored, this, &HistoryWindow::stored);
    connect(&engine, &MonitorEngine::transferProgress, this, &HistoryWindow::progress);
    connect(&engine, &MonitorEngine::transferCompleted, this,
            [this](TransferKind k, const QString&) { completed(k); });
    // The question waits until the reply chain that gave up has returned.
    connect(&engine, &MonitorEngine::transferStalled, this, &HistoryWindow::stalled,
            Qt::QueuedConnection);
}

void HistoryWindow::bind(QTableWidget* grid, QLineEdit* fileName, QPushButton* save,
                         QPushButton* close, QLabel* progress, QProgressBar* gauge) {
    m_grid = grid;
    m_fileName = fileName;
    m_save = save;
    m_close = close;
    m_progress = progress;
    m_gauge = gauge;
    const bool alarm = m_kind == TransferKind::Alarm;
    QStringList header = alarm ? AlarmHistoryHeader() : EventLogHeader();
    const QList<int> widths = alarm ? AlarmHistoryColumnWidths() : EventLogColumnWidths();
    m_grid->setColumnCount(int(widths.size()));
    while (header.size() < widths.size())
        header << QString(); // a column with no title shows none, not its number
    m_grid->setHorizontalHeaderLabels(header);
    for (int c = 0; c < widths.size(); ++c)
        m_grid->setColumnWidth(c, widths[c] + 12);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_save->setEnabled(false);
    connect(m_save, &QPushButton::clicked, this, &HistoryWindow::exportSheet);
    // The same table as CSV, beside the spreadsheet button.
    m_saveCsv = new QPushButton(tr("Save CSV"), this);
    m_saveCsv->setObjectName("btnCsvSave");
    m_saveCsv->setAutoDefault(false);
    m_saveCsv->setEnabled(false);
    for (QBoxLayout* row : m_save->parentWidget()->findChildren<QBoxLayout*>()) {
        const int at = row->indexOf(m_save);
        if (at >= 0) row->insertWidget(at + 1, m_saveCsv);
    }
    connect(m_saveCsv, &QPushButton::clicked, this, &HistoryWindow::exportCsv);
    connect(m_close, &QPushButton::clicked, this, &HistoryWindow::closeByButton);
}

void HistoryWindow::requestStartTick() {
    if (m_engine.RequestStartTick()) m_requestTimer.stop();
}

void HistoryWindow::begun(TransferKind kind, int total) {
    if (kind != m_kind) return;
    m_pendingRows.clear();
    m_grid->setRowCount(std::max(total, 0));
    m_gauge->setValue(0);
    // The progress text keeps the width of its longest form, so it never moves the window.
    const QString widest = QStringLiteral("Total : %1 /%1").arg(std::max(total, 0));
    m_progress->setMinimumWidth(m_progress->fontMetrics().horizontalAdvance(widest) + 8);
}

void HistoryWindow::stored(TransferKind kind, int row) {
    if (kind != m_kind) return;
    m_pendingRows.append(row);
    if (!m_flushTimer.isActive()) m_flushTimer.start();
}

void HistoryWindow::progress(TransferKind kind, int percent, const QString& label) {
    if (kind != m_kind) return;
    m_pendingPercent = percent;
    m_pendingLabel = label;
    if (!m_flushTimer.isActive()) m_flushTimer.start();
}

void HistoryWindow::flush() {
    m_flushTimer.stop();
    if (!m_pendingRows.isEmpty()) {
        m_grid->setUpdatesEnabled(false);
        for (int row : std::as_const(m_pendingRows)) {
            const QStringList& cells = m_engine.transfer().rows.value(row);
            if (row - 1 >= m_grid->rowCount()) m_grid->setRowCount(row);
            for (int c = 0; c < cells.size() && c < m_grid->columnCount(); ++c)
                m_grid->setItem(row - 1, c, new QTableWidgetItem(cells[c]));
        }
        m_pendingRows.clear();
        m_grid->setUpdatesEnabled(true);
    }
    if (m_pendingPercent >= 0) {
        m_gauge->setValue(m_pendingPercent);
        m_progress->setText(m_pendingLabel);
        m_pendingPercent = -1;
    }
}

void HistoryWindow::completed(TransferKind kind) {
    if (kind != m_kind) return;
    flush(); // the last rows at once
    m_close->setEnabled(true);
    m_save->setEnabled(true);
    m_saveCsv->setEnabled(true);
}

void HistoryWindow::stalled(TransferKind kind, int record, int total) {
    if (kind != m_kind || !m_engine.transfer().stalled) return;
    flush();
    const int arrived = std::max(record - 1, 0);
    const QString what =
        record == 0 ? tr("The controller did not answer the request for the number of records.")
                    : tr("Record %1 of %2 could not be read: the controller did not answer.")
                          .arg(record)
                          .arg(total);
    m_progress->setText(record == 0 ? tr("No reply") : tr("Record %1 not read").arg(record));
    QMessageBox::StandardButtons buttons = QMessageBox::Retry | QMessageBox::Cancel;
    if (arrived > 0) buttons |= QMessageBox::Save;
    const QString question =
        what + "\n" + tr("It was asked for %1 times.").arg(TransferState::MaxAttempts) + "\n\n" +
        (arrived > 0 ? tr("Retry asks again; Save keeps the %1 records that arrived.").arg(arrived)
                     : tr("Retry asks again; Cancel leaves the window as it is."));
    const auto answer = m_hub.ask(this, question, buttons, QMessageBox::Retry, QMessageBox::Cancel);
    if (answer == QMessageBox::Retry) {
        m_engine.RetryTransfer();
    } else if (answer == QMessageBox::Save) {
        m_partial = true;
        m_save->setEnabled(true);
        m_saveCsv->setEnabled(true);
        exportSheet();
    }
}

QList<QStringList> HistoryWindow::exportRows() const {
    const TransferState& t = m_engine.transfer();
    if (!m_partial || t.complete) return t.rows;
    return t.rows.mid(0, std::max(t.recordIndex, 1)); // the header and the records read
}

QString HistoryWindow::exportTarget(const QString& suffix) {
    const QString typed = m_fileName->text();
    if (!typed.trimmed().isEmpty()) {
        QString path = ExportPath(typed, {}, QDir::currentPath());
        if (suffix == ".xlsx") return path;
        path.chop(5);
        return path + suffix;
    }
    // Nothing typed: a chooser in the documents folder, with the generated name and the date.
    QString name = ExportFileName(m_engine.modelName(), m_kind, QDateTime::currentDateTime());
    name.chop(5);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString filter = suffix == ".csv" ? tr("CSV file (*.csv)") : tr("Spreadsheet (*.xlsx)");
    QString path = m_hub.chooseFile(this, tr("Save the table"), filter, true,
                                    QDir(folder).absoluteFilePath(name + suffix));
    if (!path.isEmpty() && !path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    return path;
}

QString HistoryWindow::exportSheet() {
    const QString path = exportTarget(".xlsx");
    if (path.isEmpty()) return {};
    QString error;
    if (!WriteHistorySheet(path, exportRows(), m_kind, m_engine.modelName(), &error)) {
        m_hub.show(this, MessageKind::Warning,
                   tr("The spreadsheet could not be written: ") + error);
        return {};
    }
    m_hub.show(this, MessageKind::Information, tr("Saved ") + path);
    return path;
}

QString HistoryWindow::exportCsv() {
    // The spreadsheet's name with .csv: the typed one or the chosen one.
    const QString path = exportTarget(".csv");
    if (path.isEmpty()) return {};
    QString error;
    if (!WriteCsvFile(path, exportRows(), &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The CSV file could not be written: ") + error);
        return {};
    }
    m_hub.show(this, MessageKind::Information, tr("Saved ") + path);
    return path;
}

void HistoryWindow::closeByButton() {
    m_byButton = true;
    close();
}

// Every way of closing (Close, the close box, Escape) ends up here.
void HistoryWindow::done(int result) {
    m_requestTimer.stop();
    flush();
    if (m_engine.transfer().active) m_grid->scrollToTop();
    m_save->setEnabled(false);
    m_partial = false;
    m_engine.CloseTransfer(m_byButton);
    m_fileName->clear();
    m_byButton = false;
    QDialog::done(result);
}
