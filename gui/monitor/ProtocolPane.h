// The Protocol pane: every frame sent and received with its time, direction, link, bytes and
// meaning; filters, pause, clear, search, copy, save, session recording and the counters. The
// table catches up with the monitor ten times a second and only while it is shown, so polling
// and transfers never wait for it.
#pragma once

#include "core/monitor/ProtocolMonitor.h"
#include "core/monitor/SessionFile.h"

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QTimer>
#include <vector>

class MessageHub;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class MonitorTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MonitorTableModel(const quma::ProtocolMonitor& monitor, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_monitor(monitor) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void setFilter(quma::MonitorFilter filter, const QString& search);
    // Drops rows that left the monitor and appends the new ones that match.
    void catchUp();
    const quma::MonitorEntry* entry(int row) const;

private:
    const quma::ProtocolMonitor& m_monitor;
    std::vector<quint64> m_rows; // entry numbers shown
    quint64 m_seen = 0;          // entries looked at so far
    quma::MonitorFilter m_filter = quma::MonitorFilter::All;
    QString m_search;
};

class ProtocolPane : public QDockWidget {
    Q_OBJECT
public:
    ProtocolPane(quma::ProtocolMonitor& monitor, quma::SessionRecorder& recorder, MessageHub& hub,
                 QWidget* parent = nullptr);

    MonitorTableModel& model() { return m_model; }
    QTableView* table() const { return m_table; }
    // The table brought up to date now (the timer does it while shown).
    void catchUp();
    // The lines shown (or the selected ones) as text.
    QString shownText(bool selectedOnly) const;
    bool startRecording(const QString& path);
    void stopRecording();

protected:
    void changeEvent(QEvent* e) override;

private:
    // Every text of the pane in the interface's language.
    void retranslate();
    void applyFilter();
    void save();
    void toggleRecording(bool on);

    quma::ProtocolMonitor& m_monitor;
    quma::SessionRecorder& m_recorder;
    MessageHub& m_hub;
    MonitorTableModel m_model;
    QTableView* m_table;
    QComboBox* m_filter;
    QCheckBox* m_pause;
    QLineEdit* m_search;
    QPushButton* m_record;
    QLabel* m_counters;
    QLabel* m_recording;
    QTimer m_timer;
};
