// The factory reset dialog: returns the controller to its factory settings.
#include "gui/config/FactoryResetDialog.h"

#include "gui/shared/MessageHub.h"
#include "ui_FactoryResetDialog.h"

using namespace quma;

FactoryResetDialog::FactoryResetDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::FactoryResetDialog) {
    ui->setupUi(this);
    connect(ui->BitBtnI_OK, &QPushButton::clicked, this, &FactoryResetDialog::resetToFactory);
    connect(ui->BitBtnI_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FactoryResetDialog::~FactoryResetDialog() {
    delete ui;
}

void FactoryResetDialog::resetToFactory() {
    const int value = ui->rgFactoryInitial0->isChecked()   ? 1
                      : ui->rgFactoryInitial1->isChecked() ? 2
                                                           : 0;
    if (value == 0) return;
    const QString what = (value == 1 ? ui->rgFactoryInitial0 : ui->rgFactoryInitial1)->text();
    if (!m_hub.confirm(this, tr("%1: the controller is reset. Go on?").arg(what))) return;
    send({{{Reg::Restart, value}}, {}});
    // The next reset must be chosen again.
    for (QRadioButton* r : {ui->rgFactoryInitial0, ui->rgFactoryInitial1}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
}
