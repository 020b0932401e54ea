// The alarm test dialog: drives the alarm outputs for a check on site.
#include "gui/config/AlarmTestDialog.h"

#include "ui_AlarmTestDialog.h"

using namespace quma;

AlarmTestDialog::AlarmTestDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::AlarmTestDialog) {
    ui->setupUi(this);
    const RegisterImage& img = engine.image();
    ui->cbbAlarmTestUsed->setCurrentIndex(img[Reg::AlarmTest] <= 1 ? img[Reg::AlarmTest] : -1);
    showAlarmWords(img[Reg::AlarmTestWord1], img[Reg::AlarmTestWord2]);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &AlarmTestDialog::writeCheckedRows);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

AlarmTestDialog::~AlarmTestDialog() {
    delete ui;
}

void AlarmTestDialog::writeCheckedRows() {
    WritePlan plan;
    if (ui->ckbAlarmTestUsed->isChecked()) {
        if (ui->cbbAlarmTestUsed->currentIndex() < 0) {
            refuse(tr("경보시험 : choose 미사용 or 사용."));
            return;
        }
        plan.writes.append({Reg::AlarmTest, ui->cbbAlarmTestUsed->currentIndex()});
    }
    if (ui->ckbAlarmTest->isChecked()) {
        const auto [w1, w2] = alarmWordsShown();
        plan.writes.append({Reg::AlarmTestWord1, w1});
        plan.writes.append({Reg::AlarmTestWord2, w2});
    }
    ui->ckbAlarmTestUsed->setChecked(false);
    ui->ckbAlarmTest->setChecked(false);
    send(plan);
}
