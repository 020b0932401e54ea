// The alarm contact settings: the six contacts, their rest state and the output type.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class ContactSettingsDialog;
}

class ContactSettingsDialog : public ConfigDialog {
    Q_OBJECT
public:
    ContactSettingsDialog(quma::MonitorEngine& engine, MessageHub& hub, QWidget* parent = nullptr);
    ~ContactSettingsDialog() override;
    void writeCheckedRows();

signals:
    void contactChosen(int index);

private:
    Ui::ContactSettingsDialog* ui;
};
