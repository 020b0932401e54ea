// The measurement calibration dialog: reference values for each measured quantity.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class CalibrationDialog;
}

class CalibrationDialog : public ConfigDialog {
    Q_OBJECT
public:
    CalibrationDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~CalibrationDialog() override;
    void zeroCurrentReferences();
    void writeCheckedRows();

private:
    Ui::CalibrationDialog* ui;
};
