// What every configuration dialog shares: sending a write plan, refusing bad entries, returning
// to polling, and the alarm boxes of an alarm set.
#include "gui/config/ConfigDialog.h"

#include "gui/shared/MessageHub.h"

#include <QCheckBox>

using namespace quma;

ConfigDialog::ConfigDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_hub(hub) {}

void ConfigDialog::refuse(const QString& why) {
    m_hub.show(this, MessageKind::Warning, why);
}

bool ConfigDialog::send(const WritePlan& plan) {
    if (!plan.error.isEmpty()) {
        refuse(plan.error);
        return false;
    }
    if (plan.writes.isEmpty()) return false;
    return m_engine.QueueWrites(plan.writes);
}

void ConfigDialog::done(int result) {
    // However the dialog closes, polling resumes on the next tick.
    m_engine.ReturnToPolling();
    m_engine.setTimer1(true);
    QDialog::done(result);
}

QCheckBox* ConfigDialog::box(const QString& name) const {
    return findChild<QCheckBox*>(name);
}

void ConfigDialog::showAlarmWords(int word1, int word2) {
    for (const AlarmBox& b : ShownAlarmBoxes())
        if (auto* c = box(QString("CheckBox%1").arg(b.number)))
            c->setChecked(AlarmBoxChecked(b.number, word1, word2));
}

std::pair<int, int> ConfigDialog::alarmWordsShown() const {
    QList<int> checked;
    for (const AlarmBox& b : ShownAlarmBoxes())
        if (auto* c = box(QString("CheckBox%1").arg(b.number)); c && c->isChecked())
            checked << b.number;
    return AlarmWords(checked);
}
