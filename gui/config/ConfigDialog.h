// The base of the configuration dialogs.
#pragma once

#include "core/monitor/MonitorEngine.h"
#include "core/settings/SettingRows.h"

#include <QDialog>

class MessageHub;
class QCheckBox;

// What every configuration dialog shares: it starts writes through the pending write list,
// refuses bad entries with a message, and returns to polling however it is closed.
class ConfigDialog : public QDialog {
    Q_OBJECT
protected:
    ConfigDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent);
    // Refused (with the plan's reason) or sent; false when nothing went out.
    bool send(const quma::WritePlan& plan);
    void refuse(const QString& why);
    void done(int result) override;
    // The nine alarm boxes of an alarm set, checked from two words.
    void showAlarmWords(int word1, int word2);
    std::pair<int, int> alarmWordsShown() const;
    QCheckBox* box(const QString& name) const;

    quma::MonitorEngine& m_engine;
    MessageHub& m_hub;
};
