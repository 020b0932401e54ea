// The network identity dialog: addresses, versions, rectifier ID and site text.
#include "gui/config/NetworkIdentityDialog.h"

#include "core/monitor/LinkSession.h"
#include "ui_NetworkIdentityDialog.h"

using namespace quma;

NetworkIdentityDialog::NetworkIdentityDialog(MonitorEngine& engine, LinkSession& session,
                                             MessageHub& hub, QWidget* parent)
    : ConfigDialog(engine, hub, parent), ui(new Ui::NetworkIdentityDialog), m_session(session) {
    ui->setupUi(this);
    m_readTimer.setObjectName("Timer1");
    m_readTimer.setSingleShot(true);
    m_readTimer.setInterval(3000);
    connect(&m_readTimer, &QTimer::timeout, this, &NetworkIdentityDialog::showIdentity);
    connect(ui->btnRead, &QPushButton::clicked, this, &NetworkIdentityDialog::readIdentity);
    connect(ui->btnAllCheck, &QPushButton::clicked, this, &NetworkIdentityDialog::checkAllRows);
    connect(ui->btnAllRelease, &QPushButton::clicked, this, &NetworkIdentityDialog::uncheckAllRows);
    connect(ui->btnDefault, &QPushButton::clicked, this, &NetworkIdentityDialog::loadDefaults);
    connect(ui->btnDU, &QPushButton::clicked, this, [this] { ui->edtRectID->setText("FFFFFFFE"); });
    connect(ui->btnManuIP, &QPushButton::clicked, this, [this] { ui->edtRectID->setText("0"); });
    connect(ui->btnID, &QPushButton::clicked, this, [this] { ui->edtRectID->setText("1"); });
    connect(ui->bbtnOK, &QPushButton::clicked, this, &NetworkIdentityDialog::writeCheckedRows);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    readIdentity();
}

NetworkIdentityDialog::~NetworkIdentityDialog() {
    delete ui;
}

QList<QCheckBox*> NetworkIdentityDialog::rows() const {
    return {ui->cbIP_SET_EN,    ui->cbGW_SET_EN,     ui->cbSM_SET_EN,
            ui->cbMAC_SET_EN,   ui->cbHW_SET_EN,     ui->cbSN_SET_EN,
            ui->cbHWDes_SET_EN, ui->cbRectID_SET_EN, ui->cbSite_SET_EN};
}

void NetworkIdentityDialog::readIdentity() {
    m_engine.ReadNetworkIdentity();
    m_readTimer.start();
}

namespace {
void fillParts(const QString& dotted, const QList<QLineEdit*>& fields) {
    if (dotted.isEmpty()) return; // nothing decoded: the group is left alone
    const QStringList parts = dotted.split('.');
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(parts.value(i));
}
} // namespace

void NetworkIdentityDialog::showIdentity() {
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

void NetworkIdentityDialog::checkAllRows() {
    for (QCheckBox* c : rows())
        c->setChecked(c != ui->cbMAC_SET_EN);
}

void NetworkIdentityDialog::uncheckAllRows() {
    for (QCheckBox* c : rows())
        c->setChecked(false);
}

void NetworkIdentityDialog::loadDefaults() {
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

void NetworkIdentityDialog::writeCheckedRows() {
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
    uncheckAllRows();
}

void NetworkIdentityDialog::done(int result) {
    m_readTimer.stop();
    // The controller may have taken a new address: connect again over TCP.
    if (m_engine.link().linkKind() == LinkKind::Tcp) {
        m_session.tcp().Disconnect();
        m_session.tcp().Connect();
    }
    ConfigDialog::done(result);
}
