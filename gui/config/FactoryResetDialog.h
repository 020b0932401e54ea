// The factory reset dialog: returns the controller to its factory settings.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class FactoryResetDialog;
}

class FactoryResetDialog : public ConfigDialog {
    Q_OBJECT
public:
    FactoryResetDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~FactoryResetDialog() override;
    void resetToFactory();

private:
    Ui::FactoryResetDialog* ui;
};
