// The connection dialog: choose the serial port or a TCP host, and connect.
#pragma once

#include <QDialog>
#include <QStringList>

class TMessenger;
namespace quma {
class TLinkSession;
}
namespace Ui {
class TfrmComPort;
}

class TfrmComPort : public QDialog {
    Q_OBJECT
public:
    // extraPorts are offered before the probed ports (device paths such as a pseudo-terminal);
    // host, when not empty, replaces the default address.
    TfrmComPort(quma::TLinkSession& session, TMessenger& messenger,
                const QStringList& extraPorts = {}, const QString& host = {},
                QWidget* parent = nullptr);
    ~TfrmComPort() override;

    enum class Choice { None, Serial, Tcp };
    Choice choice() const { return m_choice; }
    bool connecting() const { return m_connecting; }

    void SerialClick();
    void TCPClick();
    void PortSelectChange(int index);
    void Btn_OK();

private:
    void fillPorts();
    bool openChosenPort(const QString& name);
    void setConnecting(bool on);

    Ui::TfrmComPort* ui;
    quma::TLinkSession& m_session;
    TMessenger& m_messenger;
    QStringList m_extraPorts;
    Choice m_choice = Choice::None;
    bool m_connecting = false;
};

namespace Ui {
class TfrmMsg;
}

// The closing box shown while a TCP link is closed at exit.
class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMsg(QWidget* parent = nullptr);
    ~TfrmMsg() override;
    void start();

private:
    Ui::TfrmMsg* ui;
    QTimer* m_timer;
    int m_counter = 0;
};
