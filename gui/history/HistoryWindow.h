// The alarm-history and event-log windows: the table a transfer fills, its progress, and the
// spreadsheet export once it is complete.
#pragma once

#include "core/monitor/MonitorEngine.h"

#include <QDialog>
#include <QTimer>

class TMessenger;
class QTableWidget;
class QLineEdit;
class QPushButton;
class QLabel;
class QProgressBar;
namespace Ui {
class TfrmHistory;
class TfrmEventHistory;
} // namespace Ui

class THistoryWindow : public QDialog {
    Q_OBJECT
public:
    quma::TransferKind kind() const { return m_kind; }
    // The request start countdown: the count query goes out on its 4th tick.
    void Timer1Timer();
    void startRequest() { Timer1.start(); }
    bool requestPending() const { return Timer1.isActive(); }
    // Writes the spreadsheet to the current folder; returns the path or an empty text.
    QString bbtFileSaveClick();
    void bbtCloseClick();
    QTableWidget* grid() const { return m_grid; }

protected:
    THistoryWindow(quma::TMonitorEngine& engine, TMessenger& messenger, quma::TransferKind kind,
                   QWidget* parent);
    void bind(QTableWidget* grid, QLineEdit* fileName, QPushButton* save, QPushButton* close,
              QLabel* progress, QProgressBar* gauge);
    void done(int result) override;

private:
    void begun(quma::TransferKind kind, int total);
    void stored(quma::TransferKind kind, int row);
    void progress(quma::TransferKind kind, int percent, const QString& label);
    void completed(quma::TransferKind kind);

    quma::TMonitorEngine& m_engine;
    TMessenger& m_messenger;
    quma::TransferKind m_kind;
    QTimer Timer1;
    bool m_byButton = false;
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_fileName = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_progress = nullptr;
    QProgressBar* m_gauge = nullptr;
};

// "Event Log Data": the alarm history.
class TfrmHistory : public THistoryWindow {
    Q_OBJECT
public:
    TfrmHistory(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmHistory() override;

private:
    Ui::TfrmHistory* ui;
};

// "Event Data": the event log.
class TfrmEventHistory : public THistoryWindow {
    Q_OBJECT
public:
    TfrmEventHistory(quma::TMonitorEngine& engine, TMessenger& messenger,
                     QWidget* parent = nullptr);
    ~TfrmEventHistory() override;

private:
    Ui::TfrmEventHistory* ui;
};
