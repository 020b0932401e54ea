// The connection dialog: choose the serial port or a TCP host, and connect.
#pragma once

#include <QDialog>
#include <QStringList>

class MessageHub;
namespace quma {
class LinkSession;
}
namespace Ui {
class ConnectionDialog;
}

class ConnectionDialog : public QDialog {
    Q_OBJECT
public:
    // extraPorts are offered before the probed ports (device paths such as a pseudo-terminal);
    // host, when not empty, replaces the default address.
    ConnectionDialog(quma::LinkSession& session, MessageHub& hub,
                     const QStringList& extraPorts = {}, const QString& host = {},
                     QWidget* parent = nullptr);
    ~ConnectionDialog() override;

    enum class Choice { None, Serial, Tcp };
    Choice choice() const { return m_choice; }
    bool connecting() const { return m_connecting; }

    // The link chosen last time: preselected, nothing is opened until Connect.
    void preselect(Choice choice, const QString& port, const QString& host);
    QString chosenPort() const;
    QString chosenHost() const;
    // After a failed attempt: the link that was tried and why it failed (empty otherwise).
    QString triedLink() const { return m_triedLink; }
    QString failure() const { return m_failure; }

    void chooseSerial();
    void chooseTcp();
    void portChosen(int index);
    void connectChosenLink();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillPorts();
    // Port Refind (F5): the list again, and what was found.
    void refreshPorts();
    bool openChosenPort(const QString& name);
    // The port name of a list row; empty for a port this user may not open.
    QString portAt(int index) const;
    int indexOfPort(const QString& name) const;
    // "Can not find the serial port", with the reasons of the ports this user may not open.
    void reportNoPort();
    void setConnecting(bool on);

    Ui::ConnectionDialog* ui;
    quma::LinkSession& m_session;
    MessageHub& m_hub;
    QStringList m_extraPorts;
    QStringList m_refusals;
    Choice m_choice = Choice::None;
    bool m_connecting = false;
    QString m_triedLink, m_failure;
};
