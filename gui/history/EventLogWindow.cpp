// The event-log window ("Event Data").
#include "gui/history/EventLogWindow.h"

#include "ui_EventLogWindow.h"

using namespace quma;

EventLogWindow::EventLogWindow(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : HistoryWindow(engine, hub, TransferKind::Event, parent), ui(new Ui::EventLogWindow) {
    ui->setupUi(this);
    QFont f("Verdana");
    f.setPixelSize(11);
    ui->StringGrid1->setFont(f);
    bind(ui->StringGrid1, ui->edtFileName, ui->bbtFileSave, ui->bbtClose, ui->LabAlarm, ui->Gauge);
}

EventLogWindow::~EventLogWindow() {
    delete ui;
}
