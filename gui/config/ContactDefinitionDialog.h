// The definition dialog of one alarm contact: which alarms drive it.
#pragma once

#include "gui/config/ConfigDialog.h"

namespace Ui {
class ContactDefinitionDialog;
}

class ContactDefinitionDialog : public ConfigDialog {
    Q_OBJECT
public:
    // index: 0, 2, ... 10, the offset of the contact's first word from register 80.
    ContactDefinitionDialog(quma::MonitorEngine& engine, MessageHub& hub, int index,
                            QWidget* parent = nullptr);
    ~ContactDefinitionDialog() override;
    void loadDefaults();
    void clearAlarmBoxes();
    void writeCheckedRows();

protected:
    void done(int result) override; // shown over the contact settings: polling stays suspended

private:
    Ui::ContactDefinitionDialog* ui;
    int m_index;
};
