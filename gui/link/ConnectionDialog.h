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

    void chooseSerial();
    void chooseTcp();
    void portChosen(int index);
    void connectChosenLink();

private:
    void fillPorts();
    bool openChosenPort(const QString& name);
    void setConnecting(bool on);

    Ui::ConnectionDialog* ui;
    quma::LinkSession& m_session;
    MessageHub& m_hub;
    QStringList m_extraPorts;
    Choice m_choice = Choice::None;
    bool m_connecting = false;
};
