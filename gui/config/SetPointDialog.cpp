// The operating and alarm set-point dialog: charge, voltage, current and temperature limits.
#include "gui/config/SetPointDialog.h"

#include "ui_SetPointDialog.h"

#include "gui/shared/MessageHub.h"

#include <algorithm>

using namespace quma;

SetPointDialog::SetPointDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::SetPointDialog) {
    ui->setupUi(this);
    const RegisterImage& img = engine.image();
    m_chargeMode = img[Reg::ChargeMode];
    const auto [lo, hi] = OutputVoltageRange(m_chargeMode);
    ui->ckbFLV->setText(tr("출력전압 (%1 ~ %2V)").arg(lo, 0, 'f', 1).arg(hi, 0, 'f', 1));
    const QList<SetPointRow>& rows = SetPointRows();
    for (int i = 0; i < rows.size(); ++i) {
        const SetPointRow& row = rows[i];
        const int value = img[row.reg];
        if (auto* e = findChild<QLineEdit*>(row.entry)) {
            e->setText(SetPointEntryText(row, value));
            e->setAccessibleName(QCoreApplication::translate("Settings", row.caption));
            connect(e, &QLineEdit::editingFinished, this, [this, i] { clampOnLeave(i); });
            // What the engineer types is what the row is for: editing ticks it.
            connect(e, &QLineEdit::textEdited, this, [this, i] { edited(i); });
        } else if (auto* c = findChild<QComboBox*>(row.entry)) {
            connect(c, &QComboBox::activated, this, [this, i] { edited(i); });
            int pos = value;
            if (row.reg == Reg::ChargeMode) pos = value - 1;
            if (row.reg == Reg::ForcedTest) pos = (value >= 1 && value <= 3) ? value - 1 : 0;
            c->setCurrentIndex(pos >= 0 && pos < c->count() ? pos : -1);
        }
    }
    connect(ui->BitBtnDefault, &QPushButton::clicked, this, &SetPointDialog::loadDefaults);
    connect(ui->btnAllCheck, &QPushButton::clicked, this, &SetPointDialog::checkAllRows);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &SetPointDialog::writeCheckedRows);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

SetPointDialog::~SetPointDialog() {
    delete ui;
}

void SetPointDialog::edited(int i) {
    const SetPointRow& row = SetPointRows()[i];
    if (auto* c = box(row.check)) c->setChecked(true);
    markClamped(i, false);
}

void SetPointDialog::markClamped(int i, bool clamped, const QString& typed) {
    const SetPointRow& row = SetPointRows()[i];
    auto* e = findChild<QLineEdit*>(row.entry);
    if (!e) return;
    if (!clamped) {
        if (!m_clamped.remove(i)) return;
        e->setStyleSheet({});
        e->setToolTip({});
        return;
    }
    m_clamped.insert(i, typed);
    e->setStyleSheet("background-color: #FFE4B0;");
    e->setToolTip(tr("%1 was outside the range and was changed to %2.").arg(typed, e->text()));
}

void SetPointDialog::clampOnLeave(int i) {
    const SetPointRow& row = SetPointRows()[i];
    auto* e = findChild<QLineEdit*>(row.entry);
    auto [lo, hi] = row.reg == Reg::OutputVolts ? OutputVoltageRange(m_chargeMode)
                                                : std::make_pair(row.min, row.max);
    if (const auto text = ClampedEntryText(row, e->text(), lo, hi)) {
        const QString typed = e->text().trimmed();
        e->setText(*text);
        markClamped(i, true, typed);
    }
}

bool SetPointDialog::confirmClamped() {
    QStringList lines;
    const QList<SetPointRow>& rows = SetPointRows();
    for (auto it = m_clamped.cbegin(); it != m_clamped.cend(); ++it) {
        const SetPointRow& row = rows[it.key()];
        if (!box(row.check)->isChecked()) continue;
        lines << QStringLiteral("%1: %2 → %3")
                     .arg(box(row.check)->text(), it.value(),
                          findChild<QLineEdit*>(row.entry)->text());
    }
    if (lines.isEmpty()) return true;
    return m_hub.confirm(this, tr("These values were outside their range and were changed to "
                                  "fit it:") +
                                   "\n" + lines.join('\n') + "\n\n" +
                                   tr("Write the changed values?"));
}

void SetPointDialog::loadDefaults() {
    const int type = m_engine.systemType();
    for (const SetPointRow& row : SetPointRows()) {
        if (!*row.def) continue;
        if (auto* e = findChild<QLineEdit*>(row.entry))
            e->setText(row.reg == Reg::DcOvercurrentAlarm
                           ? ((type == 3 || type == 4) ? "103" : "105")
                           : row.def);
        else if (auto* c = findChild<QComboBox*>(row.entry))
            c->setCurrentIndex(0);
    }
}

void SetPointDialog::checkAllRows() {
    for (const SetPointRow& row : SetPointRows())
        if (row.reg != Reg::ForcedTest) box(row.check)->setChecked(true);
}

void SetPointDialog::writeCheckedRows() {
    QList<RowInput> inputs;
    for (const SetPointRow& row : SetPointRows()) {
        RowInput in;
        in.checked = box(row.check)->isChecked();
        if (auto* e = findChild<QLineEdit*>(row.entry)) in.text = e->text();
        if (auto* c = findChild<QComboBox*>(row.entry)) in.index = c->currentIndex();
        inputs << in;
    }
    const bool anyTicked =
        std::any_of(inputs.cbegin(), inputs.cend(), [](const RowInput& in) { return in.checked; });
    if (!anyTicked && !ui->cbTaskFailReset->isChecked()) {
        m_hub.show(this, MessageKind::Information, tr("Nothing was ticked: nothing was written."));
        return;
    }
    const WritePlan plan = PlanSetPoints(inputs, ui->cbTaskFailReset->isChecked(), m_chargeMode);
    if (!plan.error.isEmpty()) {
        refuse(plan.error); // the boxes keep their state
        return;
    }
    if (!confirmClamped()) return;
    for (int row : m_clamped.keys())
        markClamped(row, false);
    for (QCheckBox* c : findChildren<QCheckBox*>())
        c->setChecked(false);
    send(plan);
}
