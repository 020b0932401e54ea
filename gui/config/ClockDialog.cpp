// The clock dialog: the controller's date and time.
#include "gui/config/ClockDialog.h"

#include "ui_ClockDialog.h"

#include <QDate>
#include <QDateTime>

using namespace quma;

ClockDialog::ClockDialog(MonitorEngine& engine, MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::ClockDialog) {
    ui->setupUi(this);
    ui->cbMonth->setEditable(true);
    showLaptopTime();
    connect(ui->Button1, &QPushButton::clicked, this, &ClockDialog::showLaptopTime);
    connect(ui->spinedtYear, &QSpinBox::valueChanged, this, &ClockDialog::yearChanged);
    connect(ui->cbMonth, &QComboBox::currentTextChanged, this, &ClockDialog::monthChanged);
    connect(ui->bbtOK, &QPushButton::clicked, this, &ClockDialog::writeClock);
    connect(ui->bbtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ClockDialog::~ClockDialog() {
    delete ui;
}

void ClockDialog::showLaptopTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QSignalBlocker b1(ui->spinedtYear), b2(ui->cbMonth);
    ui->spinedtYear->setValue(now.date().year());
    ui->cbMonth->setCurrentText(QString::number(now.date().month()));
    ui->EngCalendar1->setSelectedDate(now.date());
    ui->spinedtHour->setValue(now.time().hour());
    ui->spinedtMIn->setValue(now.time().minute());
    ui->spinedtSec->setValue(now.time().second());
}

void ClockDialog::yearChanged() {
    monthChanged();
}

void ClockDialog::monthChanged() {
    const int year = ui->spinedtYear->value();
    bool ok = false;
    const int month = ui->cbMonth->currentText().toInt(&ok);
    if (!ok || month < 1 || month > 12) return;
    const int day = std::min(ui->EngCalendar1->selectedDate().day(), DaysInMonth(year, month));
    ui->EngCalendar1->setSelectedDate(QDate(year, month, day));
    ui->EngCalendar1->setCurrentPage(year, month);
}

void ClockDialog::writeClock() {
    bool ok = false;
    const int month = ui->cbMonth->currentText().trimmed().toInt(&ok);
    const QDate day = ui->EngCalendar1->selectedDate();
    const WritePlan plan =
        PlanClock(ui->spinedtYear->value(), ok ? month : 0, day.day(), ui->spinedtHour->value(),
                  ui->spinedtMIn->value(), ui->spinedtSec->value());
    send(plan);
}
