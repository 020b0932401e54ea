// The configuration dialogs: set points, calibration, clock, network identity, alarm test,
// contact settings and definitions, history initialisation and factory reset.
#include "gui/config/ConfigDialog.h"

#include "core/monitor/Formatters.h"
#include "core/monitor/LinkSession.h"
#include "gui/mainwin/MessageHub.h"
#include "gui/mainwin/PaintedWidgets.h"
#include "ui_AlarmTestDialog.h"
#include "ui_CalibrationDialog.h"
#include "ui_ClockDialog.h"
#include "ui_ContactDefinitionDialog.h"
#include "ui_ContactSettingsDialog.h"
#include "ui_FactoryResetDialog.h"
#include "ui_HistoryClearDialog.h"
#include "ui_NetworkIdentityDialog.h"
#include "ui_SetPointDialog.h"

#include <QDateTime>

using namespace quma;

ConfigDialog::ConfigDialog(MonitorEngine& engine, MessageHub& messenger, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_messenger(messenger) {}

void ConfigDialog::refuse(const QString& why) {
    m_messenger.show(this, MessageKind::Warning, why);
}

bool ConfigDialog::send(const WritePlan& plan) {
    if (!plan.error.isEmpty()) {
        refuse(plan.error);
        return false;
    }
    if (plan.writes.isEmpty()) return false;
    return m_engine.QueueWrites(plan.writes);
}

void ConfigDialog::done(int result) {
    // However the dialog closes, polling resumes on the next tick.
    m_engine.ReturnToPolling();
    m_engine.setTimer1(true);
    QDialog::done(result);
}

QCheckBox* ConfigDialog::box(const QString& name) const {
    return findChild<QCheckBox*>(name);
}

void ConfigDialog::showAlarmWords(int word1, int word2) {
    for (const AlarmBox& b : ShownAlarmBoxes())
        if (auto* c = box(QString("CheckBox%1").arg(b.number)))
            c->setChecked(AlarmBoxChecked(b.number, word1, word2));
}

std::pair<int, int> ConfigDialog::alarmWordsShown() const {
    QList<int> checked;
    for (const AlarmBox& b : ShownAlarmBoxes())
        if (auto* c = box(QString("CheckBox%1").arg(b.number)); c && c->isChecked())
            checked << b.number;
    return AlarmWords(checked);
}

// ---- Operating and alarm set points ----

SetPointDialog::SetPointDialog(MonitorEngine& engine, MessageHub& messenger, QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::SetPointDialog) {
    ui->setupUi(this);
    const RegisterImage& img = engine.image();
    m_chargeMode = img[64];
    const auto [lo, hi] = OutputVoltageRange(m_chargeMode);
    ui->ckbFLV->setText(QString("출력전압 (%1 ~ %2V)").arg(lo, 0, 'f', 1).arg(hi, 0, 'f', 1));
    const QList<SetPointRow>& rows = SetPointRows();
    for (int i = 0; i < rows.size(); ++i) {
        const SetPointRow& row = rows[i];
        const int value = img[row.reg];
        if (auto* e = findChild<QLineEdit*>(row.entry)) {
            e->setText(SetPointEntryText(row, value));
            e->setAccessibleName(QString::fromUtf8(row.caption));
            connect(e, &QLineEdit::editingFinished, this, [this, i] { clampOnLeave(i); });
        } else if (auto* c = findChild<QComboBox*>(row.entry)) {
            int pos = value;
            if (row.reg == 64) pos = value - 1;
            if (row.reg == 92) pos = (value >= 1 && value <= 3) ? value - 1 : 0;
            c->setCurrentIndex(pos >= 0 && pos < c->count() ? pos : -1);
        }
    }
    connect(ui->BitBtnDefault, &QPushButton::clicked, this, &SetPointDialog::BitBtnDefaultClick);
    connect(ui->btnAllCheck, &QPushButton::clicked, this, &SetPointDialog::btnAllCheckClick);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &SetPointDialog::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

SetPointDialog::~SetPointDialog() {
    delete ui;
}

void SetPointDialog::clampOnLeave(int i) {
    const SetPointRow& row = SetPointRows()[i];
    auto* e = findChild<QLineEdit*>(row.entry);
    auto [lo, hi] =
        row.reg == 60 ? OutputVoltageRange(m_chargeMode) : std::make_pair(row.min, row.max);
    const auto v = row.scale == Scale::Integer ? ParseInteger(e->text()) : ParseTenths(e->text());
    if (!v) return; // not a number: OK refuses it with a message
    const double shown = row.scale == Scale::Integer ? *v : *v / 10.0;
    const double clamped = std::clamp(shown, lo, hi);
    if (clamped != shown)
        e->setText(row.scale == Scale::Integer ? QString::number(int(clamped))
                                               : SetPointEntryText(row, int(clamped * 10 + 0.5)));
}

void SetPointDialog::BitBtnDefaultClick() {
    const int type = m_engine.systemType();
    for (const SetPointRow& row : SetPointRows()) {
        if (!*row.def) continue;
        if (auto* e = findChild<QLineEdit*>(row.entry))
            e->setText(row.reg == 59 ? ((type == 3 || type == 4) ? "103" : "105") : row.def);
        else if (auto* c = findChild<QComboBox*>(row.entry))
            c->setCurrentIndex(0);
    }
}

void SetPointDialog::btnAllCheckClick() {
    for (const SetPointRow& row : SetPointRows())
        if (row.reg != 92) box(row.check)->setChecked(true);
}

void SetPointDialog::BitBtnOKClick() {
    QList<RowInput> inputs;
    for (const SetPointRow& row : SetPointRows()) {
        RowInput in;
        in.checked = box(row.check)->isChecked();
        if (auto* e = findChild<QLineEdit*>(row.entry)) in.text = e->text();
        if (auto* c = findChild<QComboBox*>(row.entry)) in.index = c->currentIndex();
        inputs << in;
    }
    const WritePlan plan = PlanSetPoints(inputs, ui->cbTaskFailReset->isChecked(), m_chargeMode);
    if (!plan.error.isEmpty()) {
        refuse(plan.error); // the boxes keep their state
        return;
    }
    for (QCheckBox* c : findChildren<QCheckBox*>())
        c->setChecked(false);
    send(plan);
}

// ---- Measurement calibration ----

CalibrationDialog::CalibrationDialog(MonitorEngine& engine, MessageHub& messenger, QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::CalibrationDialog) {
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
    connect(ui->btnZero, &QPushButton::clicked, this, &CalibrationDialog::btnZeroClick);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &CalibrationDialog::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CalibrationDialog::~CalibrationDialog() {
    delete ui;
}

void CalibrationDialog::btnZeroClick() {
    for (QLineEdit* e : {ui->MskLDA, ui->MskBCP, ui->MskBCN, ui->MskACA})
        e->setText("00.00");
}

void CalibrationDialog::BitBtnOKClick() {
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

// ---- Date and time ----

ClockDialog::ClockDialog(MonitorEngine& engine, MessageHub& messenger, QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::ClockDialog) {
    ui->setupUi(this);
    ui->cbMonth->setEditable(true);
    FormActivate();
    connect(ui->Button1, &QPushButton::clicked, this, &ClockDialog::FormActivate);
    connect(ui->spinedtYear, &QSpinBox::valueChanged, this, &ClockDialog::spinedtYearChange);
    connect(ui->cbMonth, &QComboBox::currentTextChanged, this, &ClockDialog::cbMonthChange);
    connect(ui->bbtOK, &QPushButton::clicked, this, &ClockDialog::bbtOKClick);
    connect(ui->bbtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ClockDialog::~ClockDialog() {
    delete ui;
}

void ClockDialog::FormActivate() {
    const QDateTime now = QDateTime::currentDateTime();
    const QSignalBlocker b1(ui->spinedtYear), b2(ui->cbMonth);
    ui->spinedtYear->setValue(now.date().year());
    ui->cbMonth->setCurrentText(QString::number(now.date().month()));
    ui->EngCalendar1->setSelectedDate(now.date());
    ui->spinedtHour->setValue(now.time().hour());
    ui->spinedtMIn->setValue(now.time().minute());
    ui->spinedtSec->setValue(now.time().second());
}

void ClockDialog::spinedtYearChange() {
    cbMonthChange();
}

void ClockDialog::cbMonthChange() {
    const int year = ui->spinedtYear->value();
    bool ok = false;
    const int month = ui->cbMonth->currentText().toInt(&ok);
    if (!ok || month < 1 || month > 12) return;
    const int day = std::min(ui->EngCalendar1->selectedDate().day(), DaysInMonth(year, month));
    ui->EngCalendar1->setSelectedDate(QDate(year, month, day));
    ui->EngCalendar1->setCurrentPage(year, month);
}

void ClockDialog::bbtOKClick() {
    bool ok = false;
    const int month = ui->cbMonth->currentText().trimmed().toInt(&ok);
    const QDate day = ui->EngCalendar1->selectedDate();
    const WritePlan plan =
        PlanClock(ui->spinedtYear->value(), ok ? month : 0, day.day(), ui->spinedtHour->value(),
                  ui->spinedtMIn->value(), ui->spinedtSec->value());
    send(plan);
}

// ---- Network identity ----

NetworkIdentityDialog::NetworkIdentityDialog(MonitorEngine& engine, LinkSession& session,
                                             MessageHub& messenger, QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::NetworkIdentityDialog),
      m_session(session) {
    ui->setupUi(this);
    Timer1.setSingleShot(true);
    Timer1.setInterval(3000);
    connect(&Timer1, &QTimer::timeout, this, &NetworkIdentityDialog::Timer1Timer);
    connect(ui->btnRead, &QPushButton::clicked, this, &NetworkIdentityDialog::btnReadClick);
    connect(ui->btnAllCheck, &QPushButton::clicked, this, &NetworkIdentityDialog::btnAllCheckClick);
    connect(ui->btnAllRelease, &QPushButton::clicked, this,
            &NetworkIdentityDialog::btnAllReleaseClick);
    connect(ui->btnDefault, &QPushButton::clicked, this, &NetworkIdentityDialog::btnDefaultClick);
    connect(ui->btnDU, &QPushButton::clicked, this, [this] { ui->edtRectID->setText("FFFFFFFE"); });
    connect(ui->btnManuIP, &QPushButton::clicked, this, [this] { ui->edtRectID->setText("0"); });
    connect(ui->btnID, &QPushButton::clicked, this, [this] { ui->edtRectID->setText("1"); });
    connect(ui->bbtnOK, &QPushButton::clicked, this, &NetworkIdentityDialog::bbtnOKClick);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    btnReadClick();
}

NetworkIdentityDialog::~NetworkIdentityDialog() {
    delete ui;
}

QList<QCheckBox*> NetworkIdentityDialog::rows() const {
    return {ui->cbIP_SET_EN,    ui->cbGW_SET_EN,     ui->cbSM_SET_EN,
            ui->cbMAC_SET_EN,   ui->cbHW_SET_EN,     ui->cbSN_SET_EN,
            ui->cbHWDes_SET_EN, ui->cbRectID_SET_EN, ui->cbSite_SET_EN};
}

void NetworkIdentityDialog::btnReadClick() {
    m_engine.ReadNetworkIdentity();
    Timer1.start();
}

namespace {
void fillParts(const QString& dotted, const QList<QLineEdit*>& fields) {
    if (dotted.isEmpty()) return; // nothing decoded: the group is left alone
    const QStringList parts = dotted.split('.');
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(parts.value(i));
}
} // namespace

void NetworkIdentityDialog::Timer1Timer() {
    const NetworkIdentity n = m_engine.networkIdentity().value_or(NetworkIdentity{});
    fillParts(n.ip, {ui->edtIP1, ui->edtIP2, ui->edtIP3, ui->edtIP4});
    fillParts(n.gateway, {ui->edtGW1, ui->edtGW2, ui->edtGW3, ui->edtGW4});
    fillParts(n.subnet, {ui->edtSM1, ui->edtSM2, ui->edtSM3, ui->edtSM4});
    fillParts(n.mac,
              {ui->edtMAC1, ui->edtMAC2, ui->edtMAC3, ui->edtMAC4, ui->edtMAC5, ui->edtMAC6});
    fillParts(n.hwVersion, {ui->edtHW1, ui->edtHW2, ui->edtHW3, ui->edtHW4});
    ui->mmHWDes->setPlainText(QString::fromUtf8(n.hwDescription));
    ui->mmSiteInfo->setPlainText(n.siteInfo);
    ui->edtSN->setText(QString::fromLatin1(n.serialNumber));
    ui->edtRectID->setText(n.rectId);
    ui->edtSavedIP->setText(n.savedIp);
    ui->edtSavedMAC->setText(n.savedMac);
    ui->edtSavedIPMAC->setText(n.savedIpMac);
    ui->edtSavedRectID->setText(n.savedRectId);
    ui->edtFW->setText(n.firmware);
}

void NetworkIdentityDialog::btnAllCheckClick() {
    for (QCheckBox* c : rows())
        c->setChecked(c != ui->cbMAC_SET_EN);
}

void NetworkIdentityDialog::btnAllReleaseClick() {
    for (QCheckBox* c : rows())
        c->setChecked(false);
}

void NetworkIdentityDialog::btnDefaultClick() {
    const int type = m_engine.systemType();
    const auto set = [](const QList<QLineEdit*>& f, const QStringList& v) {
        for (int i = 0; i < f.size(); ++i)
            f[i]->setText(v[i]);
    };
    set({ui->edtIP1, ui->edtIP2, ui->edtIP3, ui->edtIP4}, {"192", "168", "50", "92"});
    set({ui->edtGW1, ui->edtGW2, ui->edtGW3, ui->edtGW4}, {"192", "168", "50", "1"});
    set({ui->edtSM1, ui->edtSM2, ui->edtSM3, ui->edtSM4}, {"255", "255", "255", "0"});
    set({ui->edtMAC1, ui->edtMAC2, ui->edtMAC3, ui->edtMAC4, ui->edtMAC5, ui->edtMAC6},
        {"02", "5E", "C4", "E0", "00", "00"});
    set({ui->edtHW1, ui->edtHW2, ui->edtHW3, ui->edtHW4},
        {"0", "0", "0", (type == 3 || type == 4) ? "0" : "1"});
    ui->edtSN->setText("2200000001;");
    if (type == 2)
        ui->mmHWDes->setPlainText(
            "Kestra Tarvine;KESTRA;KESTRA 5G RectifierSystem 54V/37A/2000AH;RKU_9V_2000AH;");
    else if (type == 3 || type == 4)
        ui->mmHWDes->setPlainText(
            "Kestra Tarvine;KESTRA;KESTRA 5G RectifierSystem 54V/37A/2000W;RKU_9V_2000W;");
    ui->mmSiteInfo->clear();
}

void NetworkIdentityDialog::bbtnOKClick() {
    const auto texts = [](const QList<QLineEdit*>& f) {
        QStringList out;
        for (QLineEdit* e : f)
            out << e->text();
        return out;
    };
    NetIdForm f;
    f.ip = ui->cbIP_SET_EN->isChecked();
    f.gateway = ui->cbGW_SET_EN->isChecked();
    f.subnet = ui->cbSM_SET_EN->isChecked();
    f.mac = ui->cbMAC_SET_EN->isChecked();
    f.hwVersion = ui->cbHW_SET_EN->isChecked();
    f.serial = ui->cbSN_SET_EN->isChecked();
    f.hwDescription = ui->cbHWDes_SET_EN->isChecked();
    f.rectId = ui->cbRectID_SET_EN->isChecked();
    f.site = ui->cbSite_SET_EN->isChecked();
    f.ipText = texts({ui->edtIP1, ui->edtIP2, ui->edtIP3, ui->edtIP4});
    f.gatewayText = texts({ui->edtGW1, ui->edtGW2, ui->edtGW3, ui->edtGW4});
    f.subnetText = texts({ui->edtSM1, ui->edtSM2, ui->edtSM3, ui->edtSM4});
    f.macText =
        texts({ui->edtMAC1, ui->edtMAC2, ui->edtMAC3, ui->edtMAC4, ui->edtMAC5, ui->edtMAC6});
    f.hwVersionText = texts({ui->edtHW1, ui->edtHW2, ui->edtHW3, ui->edtHW4});
    f.serialText = ui->edtSN->text();
    f.hwDescriptionText = ui->mmHWDes->toPlainText();
    f.rectIdText = ui->edtRectID->text();
    f.siteText = ui->mmSiteInfo->toPlainText();
    const auto& last = m_engine.networkIdentity();
    const NetIdPayload p = BuildNetIdPayload(f, last ? &*last : nullptr);
    if (!p.error.isEmpty()) {
        refuse(p.error);
        return;
    }
    if (!p.payload.isEmpty()) m_engine.WriteNetworkIdentity(p.payload);
    btnAllReleaseClick();
}

void NetworkIdentityDialog::done(int result) {
    Timer1.stop();
    // The controller may have taken a new address: connect again over TCP.
    if (m_engine.link().linkKind() == LinkKind::Tcp) {
        m_session.tcp().Disconnect();
        m_session.tcp().Connect();
    }
    ConfigDialog::done(result);
}

// ---- Alarm test ----

AlarmTestDialog::AlarmTestDialog(MonitorEngine& engine, MessageHub& messenger, QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::AlarmTestDialog) {
    ui->setupUi(this);
    const RegisterImage& img = engine.image();
    ui->cbbAlarmTestUsed->setCurrentIndex(img[71] <= 1 ? img[71] : -1);
    showAlarmWords(img[72], img[73]);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &AlarmTestDialog::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

AlarmTestDialog::~AlarmTestDialog() {
    delete ui;
}

void AlarmTestDialog::BitBtnOKClick() {
    WritePlan plan;
    if (ui->ckbAlarmTestUsed->isChecked()) {
        if (ui->cbbAlarmTestUsed->currentIndex() < 0) {
            refuse("경보시험 : choose 미사용 or 사용.");
            return;
        }
        plan.writes.append({71, ui->cbbAlarmTestUsed->currentIndex()});
    }
    if (ui->ckbAlarmTest->isChecked()) {
        const auto [w1, w2] = alarmWordsShown();
        plan.writes.append({72, w1});
        plan.writes.append({73, w2});
    }
    ui->ckbAlarmTestUsed->setChecked(false);
    ui->ckbAlarmTest->setChecked(false);
    send(plan);
}

// ---- Contact definition ----

ContactDefinitionDialog::ContactDefinitionDialog(MonitorEngine& engine, MessageHub& messenger,
                                                 int index, QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::ContactDefinitionDialog), m_index(index) {
    ui->setupUi(this);
    showAlarmWords(engine.image()[80 + index], engine.image()[81 + index]);
    connect(ui->btnDefault, &QPushButton::clicked, this, &ContactDefinitionDialog::btnDefaultClick);
    connect(ui->btnAllCheck, &QPushButton::clicked, this,
            &ContactDefinitionDialog::btnAllCheckClick);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &ContactDefinitionDialog::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ContactDefinitionDialog::~ContactDefinitionDialog() {
    delete ui;
}

void ContactDefinitionDialog::btnDefaultClick() {
    const auto [w1, w2] = AlarmWords(DefaultContactBoxes(m_index));
    showAlarmWords(w1, w2);
}

void ContactDefinitionDialog::btnAllCheckClick() {
    showAlarmWords(0, 0);
}

void ContactDefinitionDialog::BitBtnOKClick() {
    const auto [w1, w2] = alarmWordsShown();
    // Both words, always: the second goes out first.
    if (send({{{80 + m_index, w1}, {81 + m_index, w2}}, {}})) accept();
}

void ContactDefinitionDialog::done(int result) {
    QDialog::done(result);
}

// ---- Alarm contact detail ----

ContactSettingsDialog::ContactSettingsDialog(MonitorEngine& engine, MessageHub& messenger,
                                             QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::ContactSettingsDialog) {
    ui->setupUi(this);
    const RegisterImage& img = engine.image();
    const int type = img[26];
    const bool fourWire = type == 3 || type == 4;
    ui->Label5->setVisible(!(fourWire && img[42] == 1));
    ui->Label6->setVisible(!(fourWire && img[42] == 1));
    ui->ckbAlmType->setVisible(fourWire);
    ui->cbbAlmType->setVisible(fourWire);
    ui->cbbDryContact->setCurrentIndex(img[70] <= 1 ? img[70] : -1);
    ui->cbbAlmType->setCurrentIndex(img[42] <= 1 ? img[42] : -1);
    const QList<ClickableLabel*> labels = {ui->Label1, ui->Label2, ui->Label3,
                                           ui->Label4, ui->Label5, ui->Label6};
    for (int i = 0; i < labels.size(); ++i) {
        labels[i]->setCursor(Qt::PointingHandCursor);
        connect(labels[i], &ClickableLabel::clicked, this, [this, i] {
            emit contactChosen(2 * i);
            ContactDefinitionDialog define(m_engine, m_messenger, 2 * i, this);
            define.exec();
        });
    }
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &ContactSettingsDialog::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ContactSettingsDialog::~ContactSettingsDialog() {
    delete ui;
}

void ContactSettingsDialog::BitBtnOKClick() {
    WritePlan plan;
    const auto row = [&](QCheckBox* c, QComboBox* list, int reg, const char* name) {
        if (!c->isChecked() || c->isHidden()) return true;
        if (list->currentIndex() < 0) {
            plan.error = QString("%1: choose an item from the list.").arg(name);
            return false;
        }
        plan.writes.append({reg, list->currentIndex()});
        return true;
    };
    if (row(ui->ckbDryContact, ui->cbbDryContact, 70, "경보접점 상태"))
        row(ui->ckbAlmType, ui->cbbAlmType, 42, "경보송출 타입");
    if (plan.error.isEmpty()) {
        ui->ckbDryContact->setChecked(false);
        ui->ckbAlmType->setChecked(false);
    }
    send(plan);
}

// ---- History initialisation ----

HistoryClearDialog::HistoryClearDialog(MonitorEngine& engine, MessageHub& messenger,
                                       QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::HistoryClearDialog) {
    ui->setupUi(this);
    for (QRadioButton* r : {ui->Alarm_Init, ui->Event_Init})
        connect(r, &QRadioButton::clicked, ui->BitBtnI_OK,
                [this] { ui->BitBtnI_OK->setEnabled(true); });
    connect(ui->BitBtnI_OK, &QPushButton::clicked, this, &HistoryClearDialog::BitBtnI_OKClick);
    connect(ui->BitBtnI_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

HistoryClearDialog::~HistoryClearDialog() {
    delete ui;
}

void HistoryClearDialog::BitBtnI_OKClick() {
    if (ui->Alarm_Init->isChecked())
        m_engine.ClearLog(TransferKind::Alarm);
    else if (ui->Event_Init->isChecked())
        m_engine.ClearLog(TransferKind::Event);
}

// ---- Factory reset ----

FactoryResetDialog::FactoryResetDialog(MonitorEngine& engine, MessageHub& messenger,
                                       QWidget* parent)
    : ConfigDialog(engine, messenger, parent), ui(new Ui::FactoryResetDialog) {
    ui->setupUi(this);
    connect(ui->BitBtnI_OK, &QPushButton::clicked, this, &FactoryResetDialog::BitBtnI_OKClick);
    connect(ui->BitBtnI_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FactoryResetDialog::~FactoryResetDialog() {
    delete ui;
}

void FactoryResetDialog::BitBtnI_OKClick() {
    const int value = ui->rgFactoryInitial0->isChecked()   ? 1
                      : ui->rgFactoryInitial1->isChecked() ? 2
                                                           : 0;
    if (value == 0) return;
    send({{{127, value}}, {}});
    // The next reset must be chosen again.
    for (QRadioButton* r : {ui->rgFactoryInitial0, ui->rgFactoryInitial1}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
}
