// The read-only view of one alarm contact's alarm set.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QDialog>

namespace Ui {
class ContactAlarmView;
}

// The nine alarms a contact can be driven by: check box name, word (0 first, 1 second), mask.
struct ContactAlarmBox {
    const char* name;
    int word;
    int mask;
};
extern const ContactAlarmBox kContactAlarmBoxes[9];

class ContactAlarmView : public QDialog {
    Q_OBJECT
public:
    // index: 0, 2, 4, ... 10, the offset of the contact's first word from register 80; the
    // contact's name titles the alarm group.
    ContactAlarmView(const quma::RegisterImage& snapshot, int index,
                     const QString& contactName = {}, QWidget* parent = nullptr);
    ~ContactAlarmView() override;

private:
    Ui::ContactAlarmView* ui;
};
