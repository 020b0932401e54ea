// The console as it is put together.
#include "gui/console/Console.h"

#include "core/monitor/MonitorEngine.h"
#include "core/trend/TrendRecorder.h"
#include "gui/battery/BatteryTab.h"
#include "gui/monitor/ProtocolPane.h"
#include "gui/profile/ProfileCommands.h"
#include "gui/report/ServiceReportDialog.h"
#include "gui/shared/MessageHub.h"
#include "gui/trend/TrendView.h"

#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

using namespace quma;

Console::Console(MonitorEngine& engine, LinkSession& session, MessageHub& hub)
    : m_window(engine, session, hub) {
    MainWindow& w = m_window;
    // Trends: every decoded poll is a sample; the tab sits beside Status and log.
    m_trendRecorder = new TrendRecorder(engine, m_trendStore, &w);
    m_trends = new TrendView(m_trendStore, hub, &w);
    w.pages()->addTab(m_trends, QString());
    QObject::connect(m_trendRecorder, &TrendRecorder::sampleAdded, m_trends,
                     &TrendView::sampleAdded);
    QObject::connect(&engine, &MonitorEngine::statusRefreshed, m_trends,
                     [this, &engine] { m_trends->setPlant(engine.modelName().trimmed()); });

    // Battery: discharge tests and the cells, from the same polls.
    m_battery.attach(engine);
    QString settingsError;
    m_battery.setSettings(LoadBatterySettings(&settingsError));
    m_batteryTab = new BatteryTab(engine, m_battery, hub, &w);
    m_batteryTab->setLinkCheck([this] { return m_window.requireLink(); });
    w.pages()->addTab(m_batteryTab, QString());
    QObject::connect(&w, &MainWindow::linkLost, &m_battery, [this] {
        m_battery.linkLost();
        m_battery.forgetPlant();
    });

    // The Protocol pane: docked below, shown by its menu command; the monitor and the recorder
    // see every frame of the link.
    m_protocolMonitor.attach(engine.link());
    m_recorder.attach(engine.link());
    m_protocol = new ProtocolPane(m_protocolMonitor, m_recorder, hub, &w);
    w.addDockWidget(Qt::BottomDockWidgetArea, m_protocol);
    m_protocol->hide();
    QAction* showProtocol = m_protocol->toggleViewAction();
    showProtocol->setObjectName("mProtocolMonitor");
    showProtocol->setShortcut(QKeySequence("Ctrl+Shift+P"));
    w.viewMenu()->addSeparator();
    w.viewMenu()->addAction(showProtocol);

    // The service report: beside the histories it gathers.
    m_serviceReport = new QAction(&w);
    m_serviceReport->setObjectName("mServiceReport");
    w.logMenu()->addSeparator();
    w.logMenu()->addAction(m_serviceReport);
    w.addDataCommand(m_serviceReport); // like the other data commands, until the first reply
    QObject::connect(m_serviceReport, &QAction::triggered, &w, [this, &engine, &hub] {
        if (!m_window.requireLink()) return;
        ServiceReportDialog dialog(engine, m_trendStore, hub, &m_window);
        QList<std::pair<int, double>> flagged;
        for (int cell : m_battery.cells().flagged())
            flagged.append({cell, m_battery.cells().deviations()[std::size_t(cell - 1)]});
        dialog.setFlaggedCells(flagged);
        m_window.runModal(dialog);
    });

    m_profiles = new ProfileCommands(engine, hub, &w);
    const auto profileCommand = [this](const char* action, void (ProfileCommands::*command)()) {
        QObject::connect(m_window.findChild<QAction*>(action), &QAction::triggered, m_profiles,
                         [this, command] {
                             if (m_window.requireLink()) (m_profiles->*command)();
                         });
    };
    profileCommand("mProfileSave", &ProfileCommands::save);
    profileCommand("mProfileCompare", &ProfileCommands::compareWithPlant);
    profileCommand("mProfileRestore", &ProfileCommands::restore);
    // Two files compare without a controller.
    QObject::connect(w.findChild<QAction*>("mProfileCompareFiles"), &QAction::triggered, m_profiles,
                     &ProfileCommands::compareFiles);
    QObject::connect(&w, &MainWindow::linkLost, m_profiles, &ProfileCommands::linkLost);

    retranslate();
    if (!settingsError.isEmpty())
        QTimer::singleShot(0, &w, [&hub, &w, settingsError] {
            hub.show(&w, MessageKind::Warning, settingsError);
        });
    QObject::connect(&w, &MainWindow::retranslated, &w, [this] { retranslate(); });
}

void Console::retranslate() {
    QTabWidget* pages = m_window.pages();
    pages->setTabText(pages->indexOf(m_trends), MainWindow::tr("Trends"));
    pages->setTabText(pages->indexOf(m_batteryTab), MainWindow::tr("Battery"));
    m_batteryTab->retranslate();
    m_protocol->toggleViewAction()->setText(MainWindow::tr("프로토콜 모니터 (Protocol)"));
    m_serviceReport->setText(MainWindow::tr("서비스 리포트 (Service report)..."));
}
