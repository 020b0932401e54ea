// The alarm test dialog: drives the alarm outputs for a check on site.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class AlarmTestDialog;
}

class AlarmTestDialog : public ConfigDialog {
    Q_OBJECT
public:
    AlarmTestDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~AlarmTestDialog() override;
    void writeCheckedRows();

private:
    Ui::AlarmTestDialog* ui;
};
