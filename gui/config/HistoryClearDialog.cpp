// The history clearing dialog: empties the alarm history or the event log.
#include "gui/config/HistoryClearDialog.h"

#include "ui_HistoryClearDialog.h"

using namespace quma;

HistoryClearDialog::HistoryClearDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::HistoryClearDialog) {
    ui->setupUi(this);
    for (QRadioButton* r : {ui->Alarm_Init, ui->Event_Init})
        connect(r, &QRadioButton::clicked, ui->BitBtnI_OK,
                [this] { ui->BitBtnI_OK->setEnabled(true); });
    connect(ui->BitBtnI_OK, &QPushButton::clicked, this, &HistoryClearDialog::clearChosenLog);
    connect(ui->BitBtnI_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

HistoryClearDialog::~HistoryClearDialog() {
    delete ui;
}

void HistoryClearDialog::clearChosenLog() {
    if (ui->Alarm_Init->isChecked())
        m_engine.ClearLog(TransferKind::Alarm);
    else if (ui->Event_Init->isChecked())
        m_engine.ClearLog(TransferKind::Event);
}
