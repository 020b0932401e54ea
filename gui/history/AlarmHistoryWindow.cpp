// The alarm-history window ("Event Log Data").
#include "gui/history/AlarmHistoryWindow.h"

#include "ui_AlarmHistoryWindow.h"

using namespace quma;

AlarmHistoryWindow::AlarmHistoryWindow(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : HistoryWindow(engine, hub, TransferKind::Alarm, parent), ui(new Ui::AlarmHistoryWindow) {
    ui->setupUi(this);
    bind(ui->StringGrid1, ui->edtFileName, ui->bbtFileSave, ui->bbtClose, ui->LabAlarm, ui->Gauge);
}

AlarmHistoryWindow::~AlarmHistoryWindow() {
    delete ui;
}
