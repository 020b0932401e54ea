// The console as it is put together: the main window with the features that plug into it (the
// Trends tab, the Protocol pane with its recorder, the service report, the profile commands).
// The program and the window tests build this.
#pragma once

#include "core/battery/BatteryWatch.h"
#include "core/monitor/ProtocolMonitor.h"
#include "core/monitor/SessionFile.h"
#include "core/trend/TrendStore.h"
#include "gui/mainwin/MainWindow.h"

class BatteryTab;
class MessageHub;
class ProfileCommands;
class ProtocolPane;
class TrendView;
namespace quma {
class LinkSession;
class MonitorEngine;
class TrendRecorder;
} // namespace quma

class Console {
public:
    Console(quma::MonitorEngine& engine, quma::LinkSession& session, MessageHub& hub);

    MainWindow& window() { return m_window; }
    ProfileCommands& profiles() { return *m_profiles; }
    TrendView& trends() { return *m_trends; }
    ProtocolPane& protocolPane() { return *m_protocol; }
    quma::ProtocolMonitor& protocolMonitor() { return m_protocolMonitor; }
    quma::TrendRecorder& trendRecorder() { return *m_trendRecorder; }
    quma::TrendStore& trendStore() { return m_trendStore; }
    quma::BatteryWatch& battery() { return m_battery; }
    BatteryTab& batteryTab() { return *m_batteryTab; }

private:
    void retranslate();

    // What the window's parts read lives longer than the window.
    quma::TrendStore m_trendStore;
    quma::ProtocolMonitor m_protocolMonitor;
    quma::SessionRecorder m_recorder;
    quma::BatteryWatch m_battery;
    MainWindow m_window;
    // Owned by the window.
    quma::TrendRecorder* m_trendRecorder;
    TrendView* m_trends;
    BatteryTab* m_batteryTab;
    ProtocolPane* m_protocol;
    QAction* m_serviceReport;
    ProfileCommands* m_profiles;
};
