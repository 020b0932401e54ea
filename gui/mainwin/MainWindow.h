// The main window: menus and their availability, login and logout, connection, the data-log tab
// and the language; it composes the status page (StatusPage, AlarmTreeView), the trends, the
// Protocol pane and the profile commands.
#pragma once

#include "core/datalog/DataLog.h"
#include "core/i18n/Translations.h"
#include "core/link/ComSignal.h"
#include "core/monitor/MonitorEngine.h"
#include "gui/shared/PanelColour.h"

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

class MessageHub;
class StatusPage;
class QDialog;
class QMenu;
class QTabWidget;
class QSettings;
class QStyle;
namespace quma {
class LinkSession;
} // namespace quma
namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kHomePage = "https://www.kestra-tarvine.example/";
    static constexpr const char* kVersion = "V2.1  2021-12-27 ";

    MainWindow(quma::MonitorEngine& engine, quma::LinkSession& session, MessageHub& hub,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow* form() const { return ui; }
    // Offered by the connection dialog (the demo controller's line and address).
    void setConnectHints(const QStringList& extraPorts, const QString& host);
    // Where the connection dialog's last choice is kept across runs (none: not kept).
    void setSettings(QSettings* settings) { m_settings = settings; }
    const PanelColour& connectLamp() const { return m_connectColour; }
    // The interface language, applied at once: every open window retranslates itself. With
    // `remember`, the choice is kept in the settings for the next start.
    bool setLanguage(quma::Language language, bool remember);
    quma::Language language() const { return m_translations.current(); }
    // The language kept by an earlier choice in the menu (Korean when none).
    static quma::Language rememberedLanguage(const QSettings& settings);

    // Menu commands.
    void openLogin();
    void openLogout();
    void openConnection();
    // The data log's journal: an earlier run's unsaved log found there is offered for saving
    // (Save / Discard), then the journal records this run's log.
    void useDataLogJournal(const QString& path);
    // Runs a dialog modally and gives the keyboard back to the main window afterwards.
    int runModal(QDialog& dialog);
    void disconnectFromController();
    void exitConsole();
    void showVersion();
    void openHomePage();
    void toggleFirmwareCounter();
    void advancePowerFlow();
    void blinkAlarmTestNotice();
    void openAlarmHistory();
    void openEventLog();
    quma::DataLog& dataLog() { return m_dataLog; }
    // Where the console's features plug in: the tab pages, the menus, and the commands that
    // need a controller's first reply (enabled and disabled with the window's own).
    QTabWidget* pages() const;
    QMenu* viewMenu() const;
    QMenu* logMenu() const;
    void addDataCommand(QAction* action);
    // Commands that talk to the controller: false (and the user told) without a link.
    bool requireLink();
    // The steps the dialogs end with, public so tests can drive them without a modal loop.
    void completeLogin();
    void completeLogout();
    void completeConnection();

signals:
    // The link is gone (disconnect, logout, a failed connect).
    void linkLost();
    // The window's texts were set again in the current language.
    void retranslated();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void refreshStatus();
    void setDataCommands(bool on);
    void openContact(int index, const QString& name);
    QList<QAction*> dataCommands() const;
    void openHistory(quma::TransferKind kind);
    void setupDataLog();
    // The status page shown or hidden (before the first reply, after disconnecting).
    void showStatusPage(bool on);
    // The status bar and lamps once the link is gone (disconnect, logout, a failed connect).
    void showLinkDown(const QString& link = {}, const QString& why = {});
    void showReplyState(bool answering);
    // Unsaved data-log lines at exit: saved, discarded, or the exit cancelled (false).
    bool settleDataLog();
    void setupLanguageMenu();
    // The texts set in code, again in the current language (after the form's own).
    void retranslateCodeTexts();

    Ui::MainWindow* ui;
    quma::MonitorEngine& m_engine;
    quma::LinkSession& m_session;
    MessageHub& m_hub;
    QLabel* m_panels[3];
    PanelColour m_txColour, m_rxColour, m_connectColour;
    quma::TComSignal m_txLamp, m_rxLamp;
    QTimer m_flowTimer;
    StatusPage* m_page = nullptr;
    quma::DataLog m_dataLog;
    QList<QAction*> m_moreDataCommands;
    QStringList m_extraPorts;
    QString m_host;
    QSettings* m_settings = nullptr;
    bool m_exitSettled = false;
    quma::Translations m_translations{{"quma_core", "quma_gui"}};
    QAction* m_korean = nullptr;
    QAction* m_english = nullptr;
    QStyle* m_frameStyle = nullptr;
};
