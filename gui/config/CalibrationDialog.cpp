// The measurement calibration dialog: reference values for each measured quantity.
#include "gui/config/CalibrationDialog.h"

#include "ui_CalibrationDialog.h"

using namespace quma;

CalibrationDialog::CalibrationDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::CalibrationDialog) {
    ui->setupUi(this);
    ui->MskACV->setText("220.0");
    ui->MskACA->setText("00.00");
    ui->MskDC_LV->setText("54.00");
    ui->MskLDA->setText("18.50");
    ui->MskBCP->setText("03.00");
    ui->MskBCN->setText("10.00");
    const int type = engine.systemType();
    const bool ac = type == 3 || type == 4;
    for (QWidget* w :
         {static_cast<QWidget*>(ui->cbACV_SET_EN), static_cast<QWidget*>(ui->MskACV),
          static_cast<QWidget*>(ui->Unit_MskACV), static_cast<QWidget*>(ui->cbACA_SET_EN),
          static_cast<QWidget*>(ui->MskACA), static_cast<QWidget*>(ui->Unit_MskACA)})
        w->setVisible(ac);
    connect(ui->btnZero, &QPushButton::clicked, this, &CalibrationDialog::zeroCurrentReferences);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &CalibrationDialog::writeCheckedRows);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CalibrationDialog::~CalibrationDialog() {
    delete ui;
}

void CalibrationDialog::zeroCurrentReferences() {
    for (QLineEdit* e : {ui->MskLDA, ui->MskBCP, ui->MskBCN, ui->MskACA})
        e->setText("00.00");
}

void CalibrationDialog::writeCheckedRows() {
    CalibrationInput in;
    const QList<QCheckBox*> boxes = {ui->cbACV_SET_EN, ui->cbACA_SET_EN,  ui->cbDCV_SET_EN,
                                     ui->cbLCA_SET_EN, ui->cbBCAP_SET_EN, ui->cbBCAN_SET_EN};
    const QList<QLineEdit*> fields = {ui->MskACV, ui->MskACA, ui->MskDC_LV,
                                      ui->MskLDA, ui->MskBCP, ui->MskBCN};
    for (int i = 0; i < 6; ++i) {
        in.checked[i] = boxes[i]->isChecked();
        in.text[i] = fields[i]->text();
    }
    const int type = m_engine.systemType();
    in.acRowsShown = type == 3 || type == 4;
    const WritePlan plan = PlanCalibration(in);
    if (!plan.error.isEmpty()) {
        refuse(plan.error);
        return;
    }
    for (QCheckBox* c : boxes)
        c->setChecked(false);
    send(plan);
}
