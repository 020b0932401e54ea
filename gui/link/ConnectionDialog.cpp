// The connection dialog: choose the serial port or a TCP host, and connect.
#include "gui/link/ConnectionDialog.h"

#include "core/link/PortList.h"
#include "core/monitor/LinkSession.h"
#include "gui/shared/MessageHub.h"
#include "ui_ConnectionDialog.h"

#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTimer>

ConnectionDialog::ConnectionDialog(quma::LinkSession& session, MessageHub& hub,
                                   const QStringList& extraPorts, const QString& host,
                                   QWidget* parent)
    : QDialog(parent), ui(new Ui::ConnectionDialog), m_session(session), m_hub(hub),
      m_extraPorts(extraPorts) {
    ui->setupUi(this);
    if (!host.isEmpty()) ui->edtHostIP->setText(host);
    ui->PortSelect->setAccessibleName(tr("Serial port"));
    ui->edtHostIP->setAccessibleName(tr("Controller address"));
    ui->edtHostIP->setToolTip(tr("host or host:port (port 502 when none is given)"));
    // A port opened for this dialog but not in use yet is closed when it opens.
    if (!m_session.channel().inUse()) m_session.port().Close();
    fillPorts();
    connect(ui->Serial, &QRadioButton::clicked, this, &ConnectionDialog::chooseSerial);
    connect(ui->TCP, &QRadioButton::clicked, this, &ConnectionDialog::chooseTcp);
    connect(ui->PortSelect, &QComboBox::activated, this, &ConnectionDialog::portChosen);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &ConnectionDialog::connectChosenLink);
    connect(ui->Port, &QPushButton::clicked, this, &ConnectionDialog::refreshPorts);
    ui->Port->setShortcut(QKeySequence(Qt::Key_F5));
    // Enter connects; the arrow keys move between the two link kinds and choose.
    ui->BitBtn1->setDefault(true);
    ui->Serial->installEventFilter(this);
    ui->TCP->installEventFilter(this);
    ui->Port->setToolTip(tr("Look for serial ports again (F5)"));
    connect(ui->BitBtn2, &QPushButton::clicked, this, [this] {
        if (m_connecting) {
            m_session.cancelConnect();
            return;
        }
        reject();
    });
    connect(&m_session, &quma::LinkSession::connected, this, [this](bool ok, const QString& why) {
        if (!m_connecting) return;
        setConnecting(false);
        if (ok) {
            ui->Port->setEnabled(false);
            accept();
        } else {
            ui->Port->setEnabled(true);
            ui->lbState->setText(why);
            m_triedLink = ui->edtHostIP->text().trimmed();
            m_failure = why;
            // The link tried and the system's reason under the controller's own words; the
            // dialog stays for another try.
            m_hub.show(this, quma::MessageKind::Warning,
                       tr("Please, Check PC Lan Port Connection!") + "\n\n" +
                           tr("TCP/IP %1: %2").arg(m_triedLink, why));
            ui->BitBtn1->setFocus();
        }
    });
}

ConnectionDialog::~ConnectionDialog() {
    if (m_connecting) m_session.cancelConnect();
    delete ui;
}

bool ConnectionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == ui->Serial || watched == ui->TCP)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
            key == Qt::Key_Right) {
            QRadioButton* other = watched == ui->Serial ? ui->TCP : ui->Serial;
            if (other->isEnabled()) {
                other->setFocus(Qt::OtherFocusReason);
                other->click();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConnectionDialog::refreshPorts() {
    fillPorts();
    QStringList found;
    for (int i = 0; i < ui->PortSelect->count(); ++i)
        if (!portAt(i).isEmpty()) found << portAt(i);
    QString state =
        found.isEmpty()
            ? tr("No serial port found.")
            : tr("Found %n serial port(s): %1", "", int(found.size())).arg(found.join(", "));
    if (!m_refusals.isEmpty()) state += '\n' + m_refusals.join('\n');
    ui->lbState->setText(state);
}

void ConnectionDialog::preselect(Choice choice, const QString& port, const QString& host) {
    if (!host.isEmpty()) ui->edtHostIP->setText(host);
    if (choice == Choice::Serial) {
        if (indexOfPort(port) >= 0) ui->PortSelect->setCurrentIndex(indexOfPort(port));
        m_choice = Choice::Serial;
        ui->Serial->setChecked(true);
        ui->PortSelect->setEnabled(true);
        ui->edtHostIP->setEnabled(false);
        ui->BitBtn1->setEnabled(true);
    } else if (choice == Choice::Tcp) {
        m_choice = Choice::Tcp;
        ui->TCP->setChecked(true);
        ui->PortSelect->setEnabled(false);
        ui->edtHostIP->setEnabled(true);
        ui->BitBtn1->setEnabled(true);
    }
}

QString ConnectionDialog::chosenPort() const {
    return portAt(ui->PortSelect->currentIndex());
}

QString ConnectionDialog::portAt(int index) const {
    return ui->PortSelect->itemData(index).toString();
}

int ConnectionDialog::indexOfPort(const QString& name) const {
    return name.isEmpty() ? -1 : ui->PortSelect->findData(name);
}

QString ConnectionDialog::chosenHost() const {
    return ui->edtHostIP->text().trimmed();
}

void ConnectionDialog::fillPorts() {
    const QString current = chosenPort();
    ui->PortSelect->clear();
    m_refusals.clear();
    // A port this user may not open is listed greyed out with the reason and cannot be chosen;
    // the item's data is the port name, empty for those.
    auto* model = qobject_cast<QStandardItemModel*>(ui->PortSelect->model());
    for (const quma::SerialPortEntry& port : quma::SurveySerialPorts(m_extraPorts)) {
        if (port.refusal.isEmpty()) {
            ui->PortSelect->addItem(port.name, port.name);
            continue;
        }
        m_refusals << port.refusal;
        ui->PortSelect->addItem(tr("%1 (no permission)").arg(port.name));
        const int row = ui->PortSelect->count() - 1;
        ui->PortSelect->setItemData(row, port.refusal, Qt::ToolTipRole);
        if (model) model->item(row)->setEnabled(false);
    }
    const int keep = indexOfPort(current);
    ui->PortSelect->setCurrentIndex(keep >= 0 ? keep : indexOfPort(portAt(0)));
}

bool ConnectionDialog::openChosenPort(const QString& name) {
    try {
        m_session.port().Close();
        m_session.port().setDeviceName(quma::PortDeviceName(name));
        m_session.port().Open();
        return true;
    } catch (const quma::EComError& e) {
        m_hub.show(this, quma::MessageKind::Warning,
                   QString("%1: %2").arg(name, QString::fromStdString(e.what())));
    } catch (const quma::EComAbort&) {
    }
    return false;
}

void ConnectionDialog::chooseSerial() {
    m_choice = Choice::Serial;
    ui->Serial->setChecked(true);
    ui->TCP->setChecked(false);
    ui->PortSelect->setEnabled(true);
    ui->BitBtn1->setEnabled(true);
    ui->edtHostIP->setEnabled(false);
    fillPorts();
    if (chosenPort().isEmpty()) {
        reportNoPort();
        return;
    }
    openChosenPort(chosenPort());
}

void ConnectionDialog::reportNoPort() {
    // Ports that are there but not this user's: why, and how to join their group.
    m_hub.show(this, quma::MessageKind::Plain,
               (QStringList{tr("Can not find the serial port")} + m_refusals).join("\n\n"));
}

void ConnectionDialog::portChosen(int index) {
    if (!portAt(index).isEmpty()) openChosenPort(portAt(index));
}

void ConnectionDialog::chooseTcp() {
    if (m_choice == Choice::Serial) m_session.port().Close();
    m_choice = Choice::Tcp;
    ui->Serial->setChecked(false);
    ui->PortSelect->setEnabled(false);
    ui->TCP->setChecked(true);
    ui->edtHostIP->setEnabled(true);
    ui->BitBtn1->setEnabled(true);
}

void ConnectionDialog::setConnecting(bool on) {
    m_connecting = on;
    ui->BitBtn1->setEnabled(!on);
    ui->Serial->setEnabled(!on);
    ui->TCP->setEnabled(!on);
    ui->edtHostIP->setEnabled(!on && m_choice == Choice::Tcp);
    ui->BitBtn2->setText(on ? tr("Cancel") : tr("Close"));
    ui->lbState->setText(on ? tr("Connecting to ") + ui->edtHostIP->text() + " ..." : QString());
}

void ConnectionDialog::connectChosenLink() {
    QString error;
    if (m_choice == Choice::Serial) {
        if (chosenPort().isEmpty()) {
            reportNoPort();
            return;
        }
        if (!m_session.connectSerial(chosenPort(), &error)) {
            m_triedLink = chosenPort();
            m_failure = error;
            m_hub.show(this, quma::MessageKind::Warning, chosenPort() + ": " + error);
            return;
        }
        m_triedLink.clear();
        m_failure.clear();
        accept();
        return;
    }
    if (m_choice != Choice::Tcp) return;
    // Connecting before the attempt starts: a refusal may be reported at once.
    setConnecting(true);
    if (!m_session.connectTcp(ui->edtHostIP->text(), &error)) {
        setConnecting(false);
        m_triedLink = ui->edtHostIP->text().trimmed();
        m_failure = error;
        m_hub.show(this, quma::MessageKind::Warning,
                   tr("Please, Check PC Lan Port Connection!") + "\n\n" +
                       tr("TCP/IP %1: %2").arg(m_triedLink, error));
    }
}
