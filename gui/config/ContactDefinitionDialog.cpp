// The definition dialog of one alarm contact: which alarms drive it.
#include "gui/config/ContactDefinitionDialog.h"

#include "ui_ContactDefinitionDialog.h"

using namespace quma;

ContactDefinitionDialog::ContactDefinitionDialog(MonitorEngine& engine, MessageHub& hub, int index,
                                                 QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::ContactDefinitionDialog), m_index(index) {
    ui->setupUi(this);
    showAlarmWords(engine.image()[Reg::ContactWordsFirst + index],
                   engine.image()[Reg::ContactWordsFirst + 1 + index]);
    connect(ui->btnDefault, &QPushButton::clicked, this, &ContactDefinitionDialog::loadDefaults);
    connect(ui->btnAllCheck, &QPushButton::clicked, this,
            &ContactDefinitionDialog::clearAlarmBoxes);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &ContactDefinitionDialog::writeCheckedRows);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ContactDefinitionDialog::~ContactDefinitionDialog() {
    delete ui;
}

void ContactDefinitionDialog::loadDefaults() {
    const auto [w1, w2] = AlarmWords(DefaultContactBoxes(m_index));
    showAlarmWords(w1, w2);
}

void ContactDefinitionDialog::clearAlarmBoxes() {
    showAlarmWords(0, 0);
}

void ContactDefinitionDialog::writeCheckedRows() {
    const auto [w1, w2] = alarmWordsShown();
    // Both words, always: the second goes out first.
    if (send({{{Reg::ContactWordsFirst + m_index, w1}, {Reg::ContactWordsFirst + 1 + m_index, w2}},
              {}}))
        accept();
}

void ContactDefinitionDialog::done(int result) {
    QDialog::done(result);
}
