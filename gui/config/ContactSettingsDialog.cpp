// The alarm contact settings: the six contacts, their rest state and the output type.
#include "gui/config/ContactSettingsDialog.h"

#include "gui/config/ContactDefinitionDialog.h"
#include "gui/shared/PaintedWidgets.h"
#include "ui_ContactSettingsDialog.h"

using namespace quma;

ContactSettingsDialog::ContactSettingsDialog(MonitorEngine& engine, MessageHub& hub,
                                             QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::ContactSettingsDialog) {
    ui->setupUi(this);
    const RegisterImage& img = engine.image();
    const int type = img[Reg::SystemType];
    const bool fourWire = type == 3 || type == 4;
    ui->Label5->setVisible(!(fourWire && img[Reg::AlarmOutputType] == 1));
    ui->Label6->setVisible(!(fourWire && img[Reg::AlarmOutputType] == 1));
    ui->ckbAlmType->setVisible(fourWire);
    ui->cbbAlmType->setVisible(fourWire);
    ui->cbbDryContact->setCurrentIndex(img[Reg::ContactRestState] <= 1 ? img[Reg::ContactRestState]
                                                                       : -1);
    ui->cbbAlmType->setCurrentIndex(img[Reg::AlarmOutputType] <= 1 ? img[Reg::AlarmOutputType]
                                                                   : -1);
    const QList<ClickableLabel*> labels = {ui->Label1, ui->Label2, ui->Label3,
                                           ui->Label4, ui->Label5, ui->Label6};
    for (int i = 0; i < labels.size(); ++i) {
        labels[i]->setCursor(Qt::PointingHandCursor);
        connect(labels[i], &ClickableLabel::clicked, this, [this, i] {
            emit contactChosen(2 * i);
            ContactDefinitionDialog define(m_engine, m_hub, 2 * i, this);
            define.exec();
        });
    }
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &ContactSettingsDialog::writeCheckedRows);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ContactSettingsDialog::~ContactSettingsDialog() {
    delete ui;
}

void ContactSettingsDialog::writeCheckedRows() {
    WritePlan plan;
    const auto row = [&](QCheckBox* c, QComboBox* list, int reg, const QString& name) {
        if (!c->isChecked() || c->isHidden()) return true;
        if (list->currentIndex() < 0) {
            plan.error = tr("%1: choose an item from the list.").arg(name);
            return false;
        }
        plan.writes.append({reg, list->currentIndex()});
        return true;
    };
    if (row(ui->ckbDryContact, ui->cbbDryContact, Reg::ContactRestState, tr("경보접점 상태")))
        row(ui->ckbAlmType, ui->cbbAlmType, 42, tr("경보송출 타입"));
    if (plan.error.isEmpty()) {
        ui->ckbDryContact->setChecked(false);
        ui->ckbAlmType->setChecked(false);
    }
    send(plan);
}
