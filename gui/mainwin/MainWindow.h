// The main window: menus and their availability, login and logout, connection, the status page,
// the alarm tree and the status-page animations.
#pragma once

#include "core/datalog/DataLog.h"
#include "core/link/ComSignal.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/PollScheduler.h"

#include <QLabel>
#include <QMainWindow>
#include <QTimer>

class TMessenger;
class QTreeWidgetItem;
namespace quma {
class TLinkSession;
}
namespace Ui {
class TMain_Form;
}

// Colours a label's background: the lamps' control.
class TPanelColour : public quma::IColorSetter {
public:
    explicit TPanelColour(QLabel* label) : m_label(label) {}
    void setColor(quint32 rgb) override;
    quint32 colour() const { return m_rgb; }

private:
    QLabel* m_label;
    quint32 m_rgb = 0;
};

class TMain_Form : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kHomePage = "https://www.kestra-tarvine.example/";
    static constexpr const char* kVersion = "V2.1  2021-12-27 ";

    TMain_Form(quma::TMonitorEngine& engine, quma::TLinkSession& session, TMessenger& messenger,
               QWidget* parent = nullptr);
    ~TMain_Form() override;

    Ui::TMain_Form* form() const { return ui; }
    // Offered by the connection dialog (the demo controller's line and address).
    void setConnectHints(const QStringList& extraPorts, const QString& host);
    const TPanelColour& connectLamp() const { return m_connectColour; }

    // Menu commands.
    void mLoginClick();
    void mLogoutClick();
    void mConnectClick();
    void mDisconnectClick();
    void mExitClick();
    void N3Click();
    void KestraTarvine1Click();
    void Image1Click();
    void Timer4Timer();
    void Timer6Timer();
    void mAlarmLogClick();
    void mEventLogClick();
    quma::TDataLog& dataLog() { return m_dataLog; }
    // The steps the dialogs end with, public so tests can drive them without a modal loop.
    void LoginAccepted();
    void LogoutConfirmed();
    void ConnectFinished();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void RefreshStatus();
    void BuildAlarmTree();
    void UpdateAlarmPictures();
    void RemoveAlarmTree();
    void setDataCommands(bool on);
    void openContact(int index);
    void alarmTestMode(bool active);
    QList<QAction*> dataCommands() const;
    void openHistory(quma::TransferKind kind);
    void setupDataLog();

    Ui::TMain_Form* ui;
    quma::TMonitorEngine& m_engine;
    quma::TLinkSession& m_session;
    TMessenger& m_messenger;
    QLabel* m_panels[3];
    TPanelColour m_txColour, m_rxColour, m_connectColour;
    quma::TComSignal ComSignal11, ComSignal12;
    QTimer Timer4, Timer6;
    quma::FlowState m_flow;
    quma::TDataLog m_dataLog;
    int m_noticeCounter = 0;
    QList<QTreeWidgetItem*> m_alarmItems;
    QStringList m_extraPorts;
    QString m_host;
};
