// The clock dialog: the controller's date and time.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class ClockDialog;
}

class ClockDialog : public ConfigDialog {
    Q_OBJECT
public:
    ClockDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~ClockDialog() override;
    void showLaptopTime();
    void yearChanged();
    void monthChanged();
    void writeClock();

private:
    Ui::ClockDialog* ui;
};
