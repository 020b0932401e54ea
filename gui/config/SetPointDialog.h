// The operating and alarm set-point dialog: charge, voltage, current and temperature limits.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class SetPointDialog;
}

class SetPointDialog : public ConfigDialog {
    Q_OBJECT
public:
    SetPointDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~SetPointDialog() override;
    void loadDefaults();
    void checkAllRows();
    void writeCheckedRows();

private:
    void clampOnLeave(int row);
    Ui::SetPointDialog* ui;
    int m_chargeMode = 0;
};
