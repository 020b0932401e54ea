// The event-log window ("Event Data").
#pragma once

#include "gui/history/HistoryWindow.h"

namespace Ui {
class EventLogWindow;
}

// "Event Data": the event log.
class EventLogWindow : public HistoryWindow {
    Q_OBJECT
public:
    EventLogWindow(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~EventLogWindow() override;

private:
    Ui::EventLogWindow* ui;
};
