// The history clearing dialog: empties the alarm history or the event log.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class HistoryClearDialog;
}

class HistoryClearDialog : public ConfigDialog {
    Q_OBJECT
public:
    HistoryClearDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~HistoryClearDialog() override;
    void clearChosenLog();

private:
    Ui::HistoryClearDialog* ui;
};
