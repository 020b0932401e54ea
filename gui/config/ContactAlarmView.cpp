// The read-only view of one alarm contact's alarm set.
#include "gui/config/ContactAlarmView.h"

#include "core/monitor/RegisterMap.h"

#include "ui_ContactAlarmView.h"

const ContactAlarmBox kContactAlarmBoxes[9] = {
    {"CheckBox1", 0, 0x0001},  {"CheckBox2", 0, 0x0002},  {"CheckBox3", 0, 0x0004},
    {"CheckBox6", 0, 0x0020},  {"CheckBox9", 0, 0x0100},  {"CheckBox7", 0, 0x0040},
    {"CheckBox18", 1, 0x0002}, {"CheckBox20", 1, 0x0008}, {"CheckBox23", 1, 0x0040}};

ContactAlarmView::ContactAlarmView(const quma::RegisterImage& snapshot, int index,
                                   const QString& contactName, QWidget* parent)
    : QDialog(parent), ui(new Ui::ContactAlarmView) {
    ui->setupUi(this);
    ui->GroupBox1->setTitle(contactName);
    connect(ui->CloseButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const int words[2] = {snapshot[quma::Reg::ContactWordsFirst + index],
                          snapshot[quma::Reg::ContactWordsFirst + 1 + index]};
    for (const ContactAlarmBox& b : kContactAlarmBoxes) {
        if (auto* box = findChild<QCheckBox*>(b.name)) box->setChecked(words[b.word] & b.mask);
    }
}

ContactAlarmView::~ContactAlarmView() {
    delete ui;
}
