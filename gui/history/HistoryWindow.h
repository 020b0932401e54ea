// What the alarm-history and event-log windows share: the table a transfer fills, its progress,
// and the spreadsheet export once it is complete.
#pragma once

#include "core/monitor/MonitorEngine.h"

#include <QDialog>
#include <QTimer>

class MessageHub;
class QTableWidget;
class QLineEdit;
class QPushButton;
class QLabel;
class QProgressBar;
namespace Ui {} // namespace Ui

class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    quma::TransferKind kind() const { return m_kind; }
    // The request start countdown: the count query goes out on its 4th tick.
    void requestStartTick();
    void startRequest() { m_requestTimer.start(); }
    bool requestPending() const { return m_requestTimer.isActive(); }
    // Writes the spreadsheet: to the name typed into File Name (relative to the current folder),
    // or, with nothing typed, where the user chooses; returns the path or an empty text.
    QString exportSheet();
    // The same rows as a CSV file (the typed name with .csv, or a chosen one).
    QString exportCsv();
    void closeByButton();
    QTableWidget* grid() const { return m_grid; }

protected:
    HistoryWindow(quma::MonitorEngine& engine, MessageHub& hub, quma::TransferKind kind,
                  QWidget* parent);
    void bind(QTableWidget* grid, QLineEdit* fileName, QPushButton* save, QPushButton* close,
              QLabel* progress, QProgressBar* gauge);
    void done(int result) override;

private:
    void begun(quma::TransferKind kind, int total);
    void stored(quma::TransferKind kind, int row);
    void progress(quma::TransferKind kind, int percent, const QString& label);
    void completed(quma::TransferKind kind);
    // The engine gave up on a request: Retry, Save what arrived, or leave it.
    void stalled(quma::TransferKind kind, int record, int total);
    QList<QStringList> exportRows() const;
    QString exportTarget(const QString& suffix);
    // Puts the rows and progress gathered since the last flush on screen.
    void flush();
    static constexpr int FlushIntervalMs = 25;

    quma::MonitorEngine& m_engine;
    MessageHub& m_hub;
    quma::TransferKind m_kind;
    QTimer m_requestTimer;
    bool m_byButton = false;
    bool m_partial = false; // the user chose to keep what a stalled transfer brought
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_fileName = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_saveCsv = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_progress = nullptr;
    QProgressBar* m_gauge = nullptr;
    QTimer m_flushTimer;
    QList<int> m_pendingRows;
    int m_pendingPercent = -1;
    QString m_pendingLabel;
};
