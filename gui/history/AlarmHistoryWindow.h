// The alarm-history window ("Event Log Data").
#pragma once

#include "gui/history/HistoryWindow.h"

namespace Ui {
class AlarmHistoryWindow;
}

// "Event Log Data": the alarm history.
class AlarmHistoryWindow : public HistoryWindow {
    Q_OBJECT
public:
    AlarmHistoryWindow(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~AlarmHistoryWindow() override;

private:
    Ui::AlarmHistoryWindow* ui;
};
