// The history clearing dialog: empties the alarm history or the event log.
#include "gui/config/HistoryClearDialog.h"

#include "gui/shared/MessageHub.h"
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
    QRadioButton* chosen = ui->Alarm_Init->isChecked()   ? ui->Alarm_Init
                           : ui->Event_Init->isChecked() ? ui->Event_Init
                                                         : nullptr;
    if (!chosen) return;
    if (!m_hub.confirm(
            this,
            QString("%1: every record on the controller is deleted. Go on?").arg(chosen->text())))
        return;
    m_engine.ClearLog(chosen == ui->Alarm_Init ? TransferKind::Alarm : TransferKind::Event);
}
