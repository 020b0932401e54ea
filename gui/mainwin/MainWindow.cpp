// The main window: menus and their availability, login and logout, connection, the status page,
// the alarm tree and the status-page animations.
#include "gui/mainwin/MainWindow.h"

#include "core/monitor/AlarmTree.h"
#include "core/monitor/LinkSession.h"
#include "core/monitor/StatusTexts.h"
#include "gui/config/AlarmTestDialog.h"
#include "gui/config/CalibrationDialog.h"
#include "gui/config/ClockDialog.h"
#include "gui/config/ContactDefinitionDialog.h"
#include "gui/config/ContactSettingsDialog.h"
#include "gui/config/FactoryResetDialog.h"
#include "gui/config/HistoryClearDialog.h"
#include "gui/config/NetworkIdentityDialog.h"
#include "gui/config/SetPointDialog.h"

#include "gui/config/ContactAlarmView.h"
#include "gui/history/AlarmHistoryWindow.h"
#include "gui/history/EventLogWindow.h"
#include "gui/link/ClosingBox.h"
#include "gui/link/ConnectionDialog.h"
#include "gui/mainwin/LoginDialog.h"
#include "gui/mainwin/LogoutDialog.h"
#include "gui/mainwin/StatusPage.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "gui/shared/PaintedWidgets.h"
#include "gui/shared/ShownValue.h"
#include "ui_MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSettings>
#include <QUrl>
#include <memory>

using namespace quma;

MainWindow::MainWindow(MonitorEngine& engine, LinkSession& session, MessageHub& hub,
                       QWidget* parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), m_engine(engine), m_session(session), m_hub(hub),
      m_txColour(nullptr), m_rxColour(nullptr), m_connectColour(nullptr),
      m_dataLog(engine.image()) {
    ui->setupUi(this);
    // On a small screen (a laptop with the Protocol pane docked) the page scrolls instead of
    // pushing the window past the screen's edge.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("CentralScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(takeCentralWidget());
    scroll->viewport()->setAutoFillBackground(false);
    scroll->widget()->setAutoFillBackground(false);
    setCentralWidget(scroll);
    // No style sheet on the window: under one, every label of the page is drawn through the
    // style-sheet machinery. The background is painted (paintEvent), the group boxes get a
    // plainly drawn frame.
    m_frameStyle = new PlainFrameStyle;
    m_frameStyle->setParent(this);
    for (QGroupBox* box : findChildren<QGroupBox*>())
        box->setStyle(m_frameStyle);
    m_txColour = PanelColour(ui->pnl_TX);
    m_rxColour = PanelColour(ui->pnl_RX);
    m_connectColour = PanelColour(ui->pnlConnect);
    m_connectColour.setColor(Rgb::Grey);
    ui->Image1->setAccessibleName(tr("Firmware counter"));
    ui->edtDateTime->setStyleSheet("background-color: #808000; color: white;");

    // Status bar: link/model, clock, link name.
    const int widths[3] = {500, 180, 50};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QString("ComSettingPanel%1").arg(i));
        m_panels[i]->setMinimumWidth(widths[i]);
        ui->ComSetting->addWidget(m_panels[i], i == 0 ? 1 : 0);
    }

    // Start-up availability: only exit, login, home page and version.
    for (QAction* a : dataCommands())
        a->setEnabled(false);
    ui->mConnect->setEnabled(false);
    ui->mDisconnect->setEnabled(false);
    ui->mLogout->setEnabled(false);
    ui->mLogin->setEnabled(true);

    // The usual keys; the captions stay as they are.
    ui->mExit->setShortcut(QKeySequence::Quit);
    ui->mLogin->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    ui->mConnect->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    ui->mDisconnect->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    ui->mAlarmLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    ui->mEventLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(ui->mExit, &QAction::triggered, this, &MainWindow::exitConsole);
    connect(ui->mLogin, &QAction::triggered, this, &MainWindow::openLogin);
    connect(ui->mLogout, &QAction::triggered, this, &MainWindow::openLogout);
    connect(ui->mConnect, &QAction::triggered, this, &MainWindow::openConnection);
    connect(ui->mDisconnect, &QAction::triggered, this, &MainWindow::disconnectFromController);
    connect(ui->N3, &QAction::triggered, this, &MainWindow::showVersion);
    connect(ui->KestraTarvine1, &QAction::triggered, this, &MainWindow::openHomePage);
    connect(ui->Image1, &ClickableLabel::clicked, this, &MainWindow::toggleFirmwareCounter);
    const QList<ClickableLabel*> contacts = {ui->Lable_Contact1, ui->Lable_Contact2,
                                             ui->Lable_Contact3, ui->Lable_Contact4,
                                             ui->Lable_Contact5, ui->Lable_Contact6};
    for (int i = 0; i < contacts.size(); ++i) {
        contacts[i]->setCursor(Qt::PointingHandCursor);
        connect(contacts[i], &ClickableLabel::clicked, this,
                [this, i, label = contacts[i]] { openContact(2 * i, label->text()); });
    }

    m_page = ui->TabStatus;
    m_page->attach(*ui, m_txColour, m_rxColour);

    // Activity lamps on the serial port.
    m_txLamp.setObjectName("ComSignal11");
    m_rxLamp.setObjectName("ComSignal12");
    m_txLamp.setSignal(TSignal::siTxChar);
    m_txLamp.setColorOff(Rgb::Teal);
    m_txLamp.setColorOn(Rgb::Navy);
    m_txLamp.setControl(&m_txColour);
    m_txLamp.setComPort(&m_session.port());
    m_rxLamp.setSignal(TSignal::siRxChar);
    m_rxLamp.setControl(&m_rxColour);
    m_rxLamp.setComPort(&m_session.port());

    connect(&m_engine, &MonitorEngine::statusRefreshed, this, &MainWindow::refreshStatus);
    connect(&m_engine, &MonitorEngine::alarmTreeBuild, ui->TreeViewM, &AlarmTreeView::build);
    connect(&m_engine, &MonitorEngine::alarmTreeUpdate, ui->TreeViewM,
            &AlarmTreeView::updateAlarms);
    connect(&m_engine, &MonitorEngine::alarmTreeRemove, ui->TreeViewM, &AlarmTreeView::removeAll);
    connect(&m_engine, &MonitorEngine::alarmTestMode, m_page, &StatusPage::alarmTestMode);
    connect(&m_engine, &MonitorEngine::replyStateChanged, this, &MainWindow::showReplyState);
    connect(&m_engine, &MonitorEngine::userMessage, this,
            [this](MessageKind k, const QString& t) { m_hub.post(this, k, t); });
    connect(&m_engine.link(), &DeviceLink::connectLamp, this,
            [this](bool up) { m_connectColour.setColor(up ? Rgb::Lime : Rgb::Grey); });
    connect(&m_session.tcp(), &TcpClient::disconnected, this,
            [this] { m_connectColour.setColor(Rgb::Grey); });

    // The configuration commands: each sets its command kind, then shows its dialog.
    const auto opener = [this](QAction* action, std::uint8_t mode, auto make) {
        connect(action, &QAction::triggered, this, [this, mode, make] {
            if (!requireLink()) return;
            m_engine.setCommandKind(mode);
            std::unique_ptr<QDialog> dialog(make());
            runModal(*dialog);
        });
    };
    opener(ui->mSystemConfiguration, RectMode::Setting,
           [this] { return new SetPointDialog(m_engine, m_hub, this); });
    opener(ui->mAlarmManager, RectMode::Setting,
           [this] { return new ContactSettingsDialog(m_engine, m_hub, this); });
    opener(ui->mMeasurementSet, RectMode::Setting,
           [this] { return new CalibrationDialog(m_engine, m_hub, this); });
    opener(ui->mDataTimeSet, RectMode::Setting, [this] {
        m_engine.setTimer1(false);
        return new ClockDialog(m_engine, m_hub, this);
    });
    opener(ui->mIPSet, RectMode::NetWrite,
           [this] { return new NetworkIdentityDialog(m_engine, m_session, m_hub, this); });
    opener(ui->mFactoryInitial, RectMode::Setting,
           [this] { return new FactoryResetDialog(m_engine, m_hub, this); });
    opener(ui->mInitialLog, RectMode::LogClear,
           [this] { return new HistoryClearDialog(m_engine, m_hub, this); });
    opener(ui->mAlarmTest, RectMode::Setting,
           [this] { return new AlarmTestDialog(m_engine, m_hub, this); });
    connect(ui->mAlarmLog, &QAction::triggered, this, &MainWindow::openAlarmHistory);
    connect(ui->mEventLog, &QAction::triggered, this, &MainWindow::openEventLog);
    setupDataLog();
    setupLanguageMenu();

    m_flowTimer.setObjectName("Timer4");
    m_flowTimer.setInterval(100);
    connect(&m_flowTimer, &QTimer::timeout, this, &MainWindow::advancePowerFlow);
    m_flowTimer.start();
}

MainWindow::~MainWindow() {
    m_txLamp.setComPort(nullptr);
    m_rxLamp.setComPort(nullptr);
    disconnect(&m_session.tcp(), nullptr, this, nullptr);
    delete ui;
}

void MainWindow::setupLanguageMenu() {
    // Named in both languages, so that whoever is in front of the screen finds it.
    QMenu* menu = new QMenu("Language / 언어", ui->MainMenu1);
    menu->setObjectName("mLanguage");
    ui->MainMenu1->insertMenu(ui->Help1->menuAction(), menu);
    auto* group = new QActionGroup(menu);
    m_korean = menu->addAction("한국어");
    m_korean->setObjectName("mLanguageKorean");
    m_english = menu->addAction("English");
    m_english->setObjectName("mLanguageEnglish");
    for (QAction* a : {m_korean, m_english}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    m_korean->setChecked(true);
    connect(m_korean, &QAction::triggered, this, [this] { setLanguage(Language::Korean, true); });
    connect(m_english, &QAction::triggered, this, [this] { setLanguage(Language::English, true); });
}

Language MainWindow::rememberedLanguage(const QSettings& settings) {
    return ParseLanguage(settings.value("language").toString()).value_or(Language::Korean);
}

bool MainWindow::setLanguage(Language language, bool remember) {
    QString error;
    if (!m_translations.apply(language, &error)) {
        m_hub.show(this, MessageKind::Warning, error);
        (m_translations.current() == Language::English ? m_english : m_korean)->setChecked(true);
        return false;
    }
    (language == Language::English ? m_english : m_korean)->setChecked(true);
    // The windows retranslate now rather than on the next pass of the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    if (remember && m_settings) m_settings->setValue("language", LanguageCode(language));
    return true;
}

void MainWindow::paintEvent(QPaintEvent* e) {
    QPainter(this).fillRect(e->rect(), QColor(0xA6, 0xCA, 0xF0));
}

void MainWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateCodeTexts();
    }
    QMainWindow::changeEvent(e);
}

void MainWindow::retranslateCodeTexts() {
    ui->btnLogo->setText(m_dataLog.running() ? tr("Log 중지") : tr("Log 시작"));
    // The status page and the alarm tree are rendered again from the last reply.
    if (ui->TreeViewM->topLevelItemCount() > 0)
        ui->TreeViewM->build(m_engine.image(), m_engine.alarms().mask1, m_engine.alarms().mask2);
    if (ui->GroupBox1->isVisibleTo(this)) refreshStatus();
    emit retranslated();
}

void MainWindow::setConnectHints(const QStringList& extraPorts, const QString& host) {
    m_extraPorts = extraPorts;
    m_host = host;
}

QList<QAction*> MainWindow::dataCommands() const {
    QList<QAction*> commands{ui->mSystemConfiguration,
                             ui->mAlarmManager,
                             ui->mMeasurementSet,
                             ui->mDataTimeSet,
                             ui->mIPSet,
                             ui->mFactoryInitial,
                             ui->mAlarmLog,
                             ui->mEventLog,
                             ui->mInitialLog,
                             ui->mAlarmTest,
                             ui->mProfileSave,
                             ui->mProfileCompare,
                             ui->mProfileRestore};
    // Added by the features that plug into the window.
    commands << m_moreDataCommands;
    return commands;
}

void MainWindow::addDataCommand(QAction* action) {
    m_moreDataCommands << action;
    action->setEnabled(ui->mAlarmLog->isEnabled());
}

QTabWidget* MainWindow::pages() const {
    return ui->PageControl1;
}

QMenu* MainWindow::viewMenu() const {
    return ui->Access1;
}

QMenu* MainWindow::logMenu() const {
    return ui->Log1;
}

void MainWindow::setDataCommands(bool on) {
    for (QAction* a : dataCommands())
        a->setEnabled(on);
}

void MainWindow::openLogin() {
    LoginDialog dlg(m_hub, this);
    if (runModal(dlg) == QDialog::Accepted) completeLogin();
}

void MainWindow::completeLogin() {
    ui->lbLoginHint->setVisible(false);
    ui->FlatPanel3->setVisible(true);
    ui->ComSetting->setVisible(true);
    ui->pnlConnect->setVisible(true);
    m_engine.ReturnToPolling();
    ui->mConnect->setEnabled(true);
    ui->mDisconnect->setEnabled(false);
    ui->mLogin->setEnabled(false);
    ui->mLogout->setEnabled(true);
}

void MainWindow::openLogout() {
    LogoutDialog dlg(this);
    if (runModal(dlg) == QDialog::Accepted) completeLogout();
}

void MainWindow::completeLogout() {
    ui->lbLoginHint->setVisible(true);
    ui->mConnect->setEnabled(false);
    ui->mDisconnect->setEnabled(false);
    ui->mLogin->setEnabled(true);
    ui->mLogout->setEnabled(false);
    for (QAction* a : dataCommands())
        if (a != ui->mEventLog && a != ui->mAlarmTest) a->setEnabled(false);
    showStatusPage(false);
    m_engine.setTimer1(false);
    m_session.disconnectLink();
    m_session.port().Close();
    showLinkDown();
}

int MainWindow::runModal(QDialog& dialog) {
    const int result = dialog.exec();
    // The keyboard comes back to the window, so its shortcuts work without a click.
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    return result;
}

void MainWindow::openConnection() {
    ui->mConnect->setEnabled(false);
    ui->mDisconnect->setEnabled(true);
    ConnectionDialog dlg(m_session, m_hub, m_extraPorts, m_host, this);
    if (m_settings) {
        const QString kind = m_settings->value("connection/kind").toString();
        dlg.preselect(kind == "serial" ? ConnectionDialog::Choice::Serial
                      : kind == "tcp"  ? ConnectionDialog::Choice::Tcp
                                       : ConnectionDialog::Choice::None,
                      m_settings->value("connection/port").toString(),
                      m_host.isEmpty() ? m_settings->value("connection/host").toString()
                                       : QString());
    }
    if (runModal(dlg) == QDialog::Accepted) {
        if (m_settings) {
            const bool serial = dlg.choice() == ConnectionDialog::Choice::Serial;
            m_settings->setValue("connection/kind", serial ? "serial" : "tcp");
            if (serial)
                m_settings->setValue("connection/port", dlg.chosenPort());
            else
                m_settings->setValue("connection/host", dlg.chosenHost());
        }
        completeConnection();
        return;
    }
    // Nothing connected: connecting is offered again at once.
    ui->mConnect->setEnabled(true);
    ui->mDisconnect->setEnabled(false);
    if (!dlg.failure().isEmpty()) showLinkDown(dlg.triedLink(), dlg.failure());
}

void MainWindow::showStatusPage(bool on) {
    if (ui->GroupBox1->isVisibleTo(this) == on) return;
    ui->GroupBox1->setVisible(on);
    // The page takes the window's height; without it the bar stays on top.
    ui->CentralLayout->setStretch(ui->CentralLayout->indexOf(ui->CentralSpacer), on ? 0 : 1);
}

bool MainWindow::requireLink() {
    if (m_session.isLinked()) return true;
    m_hub.show(this, MessageKind::Warning,
               tr("No controller is connected: connect first (접속 → 연결하기)."));
    return false;
}

void MainWindow::showLinkDown(const QString& link, const QString& why) {
    emit linkLost();
    ShowValue(m_panels[0], why.isEmpty() ? QString() : tr("Not connected: ") + why);
    ShowValue(m_panels[1], QString());
    ShowValue(m_panels[2], link);
    ui->edtDateTime->clear();
    ui->pnlConnect->setText(tr("Connect"));
    m_connectColour.setColor(Rgb::Grey);
    m_txColour.setColor(m_txLamp.ColorOff());
    m_rxColour.setColor(m_rxLamp.ColorOff());
}

void MainWindow::showReplyState(bool answering) {
    if (answering) {
        ui->pnlConnect->setText(tr("Connect"));
        ui->pnlConnect->setVisible(!m_session.isSerial());
        m_connectColour.setColor(Rgb::Lime);
        return;
    }
    // Linked, but the controller does not answer: said on the lamp and in the status bar.
    ui->pnlConnect->setText(tr("No reply"));
    ui->pnlConnect->setVisible(true);
    m_connectColour.setColor(Rgb::Orange);
    ui->ComSetting->setVisible(true);
    ShowValue(m_panels[0],
              tr("Connected to %1, but the controller does not reply.").arg(m_session.linkName()));
}

void MainWindow::completeConnection() {
    const bool serial = m_session.isSerial();
    ui->FlatPanel3->setVisible(serial);
    ui->pnlConnect->setVisible(!serial);
    if (!serial) m_connectColour.setColor(Rgb::Lime);
    ShowValue(m_panels[2], m_session.linkName());
}

void MainWindow::disconnectFromController() {
    ui->mConnect->setEnabled(true);
    ui->mDisconnect->setEnabled(false);
    setDataCommands(false);
    ui->ComSetting->setVisible(false);
    m_dataLog.stop();
    m_session.disconnectLink();
    showLinkDown();
    showStatusPage(false);
}

void MainWindow::useDataLogJournal(const QString& path) {
    QString error;
    if (const auto old = ReadDataLogJournal(path, &error)) {
        const auto answer = m_hub.ask(
            this,
            tr("The data log of an earlier run was not saved: %1 line(s) from %2 to %3.\n\n"
               "Save it now? Discard deletes it.")
                .arg(old->dataLines)
                .arg(old->from, old->to),
            QMessageBox::Save | QMessageBox::Discard, QMessageBox::Save, QMessageBox::Save);
        if (answer == QMessageBox::Save) {
            const QString saved =
                SaveDataLogJournal(*old, m_dataLog.folder(), QDateTime::currentDateTime(), &error);
            if (saved.isEmpty()) {
                // Kept under another name, for another try.
                const QString kept =
                    path + QDateTime::currentDateTime().toString("-yyyyMMddHHmmss");
                QFile::rename(path, kept);
                m_hub.show(this, MessageKind::Warning,
                           tr("The recovered data log was not saved: %1\nIt is kept in %2.")
                               .arg(error, kept));
            } else {
                m_hub.show(this, MessageKind::Information, tr("Saved ") + saved);
            }
        }
    } else if (!error.isEmpty()) {
        m_hub.show(this, MessageKind::Warning, error);
    }
    if (!m_dataLog.setJournal(path, &error))
        m_hub.show(this, MessageKind::Warning,
                   tr("The data log has no journal: a crash would lose its unsaved lines.\n") +
                       error);
}

bool MainWindow::settleDataLog() {
    if (!m_dataLog.hasUnsavedLines() && !m_dataLog.running()) return true;
    const auto answer =
        m_hub.ask(this,
                  tr("The data log holds %1 unsaved line(s)%2. Save them before leaving?")
                      .arg(m_dataLog.lines().size())
                      .arg(m_dataLog.running() ? " and is still recording" : ""),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save,
                  QMessageBox::Cancel);
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save) return false;
    // A failed save keeps the window open: its reason is shown and nothing is lost.
    return m_dataLog.save();
}

void MainWindow::exitConsole() {
    if (!settleDataLog()) return;
    m_exitSettled = true;
    m_engine.setTimer1(false);
    if (m_session.tcp().Connected()) {
        m_session.tcp().Disconnect();
        auto* box = new ClosingBox(this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->start();
    }
    close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!m_exitSettled && !settleDataLog()) {
        e->ignore();
        return;
    }
    m_exitSettled = true;
    m_dataLog.stop();
    m_dataLog.closeJournal();
    m_flowTimer.stop();
    m_page->stopAnimations();
    m_engine.setTimer1(false);
    m_session.port().Close(); // always close: an open port leaves its lock file behind
    e->accept();
}

void MainWindow::showVersion() {
    m_hub.show(this, MessageKind::Plain,
               QString(kVersion) + tr("\n\nLicense: GPL-3.0-or-later (see the LICENSE file)."));
}

void MainWindow::openHomePage() {
    if (!QDesktopServices::openUrl(QUrl(kHomePage)))
        m_hub.show(this, MessageKind::Warning,
                   tr("No web browser could be started for %1.").arg(kHomePage));
}

void MainWindow::toggleFirmwareCounter() {
    ui->edtFwCnt->setVisible(!ui->edtFwCnt->isVisible());
}

void MainWindow::openContact(int index, const QString& name) {
    ContactAlarmView dlg(m_engine.image(), index, name, this);
    runModal(dlg);
}

void MainWindow::refreshStatus() {
    setDataCommands(true);
    ui->ComSetting->setVisible(true);
    showStatusPage(true);
    const StatusView v = m_page->show(m_engine.image(), m_engine.modelName());
    ShowValue(m_panels[0], v.firmware);
    ShowValue(m_panels[1], v.clock);
    if (!m_engine.modelName().isEmpty()) setWindowTitle(m_engine.modelName());
    ui->mFactoryInitial->setVisible(v.factoryResetVisible);
}

void MainWindow::setupDataLog() {
    QList<QRadioButton*> choices;
    for (int i = 0; i < 7; ++i)
        choices << findChild<QRadioButton*>(QString("rgLogoTime%1").arg(i));
    for (int i = 0; i < choices.size(); ++i)
        connect(choices[i], &QRadioButton::clicked, this,
                [this, i] { m_dataLog.setIntervalChoice(i); });
    connect(ui->btnLogo, &QPushButton::clicked, &m_dataLog, &DataLog::toggle);
    connect(ui->Button2, &QPushButton::clicked, this, [this] {
        if (m_dataLog.lines().isEmpty()) return;
        if (m_hub.confirm(this, tr("Delete the %1 line(s) of the data log? Unsaved lines "
                                   "are lost.")
                                    .arg(m_dataLog.lines().size())))
            m_dataLog.clear();
    });
    connect(ui->Button1, &QPushButton::clicked, this, [this] {
        if (m_dataLog.lines().isEmpty()) {
            m_hub.show(this, MessageKind::Information,
                       tr("The data log is empty: nothing to save."));
            return;
        }
        QString path;
        if (m_dataLog.save(&path)) m_hub.show(this, MessageKind::Information, tr("Saved ") + path);
    });
    connect(&m_dataLog, &DataLog::linesAppended, this, [this](const QStringList& lines) {
        for (const QString& l : lines)
            ui->mmLogo->appendPlainText(l);
    });
    connect(&m_dataLog, &DataLog::cleared, ui->mmLogo, &QPlainTextEdit::clear);
    connect(&m_dataLog, &DataLog::runningChanged, this, [this](bool) {
        ui->btnLogo->setText(m_dataLog.running() ? tr("Log 중지") : tr("Log 시작"));
    });
    connect(&m_dataLog, &DataLog::saved, this,
            [this](const QString& path) { ui->lbLogFile->setText(tr("Saved ") + path); });
    connect(&m_dataLog, &DataLog::saveFailed, this,
            [this](const QString& path, const QString& why) {
                ui->lbLogFile->setText(tr("Not saved: ") + path);
                m_hub.post(this, MessageKind::Warning,
                           tr("The data log could not be saved to %1: %2\nEvery line is kept "
                              "and logging goes on.")
                               .arg(path, why));
            });
    connect(&m_engine, &MonitorEngine::alarmTextChanged, &m_dataLog, &DataLog::alarmChanged);
}

void MainWindow::openAlarmHistory() {
    openHistory(TransferKind::Alarm);
}

void MainWindow::openEventLog() {
    openHistory(TransferKind::Event);
}

void MainWindow::openHistory(TransferKind kind) {
    if (!requireLink()) return;
    // Rows are placed only for the known system types: for any other nothing opens.
    if (!m_engine.OpenTransfer(kind)) return;
    std::unique_ptr<HistoryWindow> w;
    if (kind == TransferKind::Alarm)
        w = std::make_unique<AlarmHistoryWindow>(m_engine, m_hub, this);
    else
        w = std::make_unique<EventLogWindow>(m_engine, m_hub, this);
    w->startRequest();
    runModal(*w);
}

void MainWindow::advancePowerFlow() {
    m_page->advancePowerFlow(m_engine.image());
}

void MainWindow::blinkAlarmTestNotice() {
    m_page->blinkAlarmTestNotice();
}
