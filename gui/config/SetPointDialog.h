// The operating and alarm set-point dialog: charge, voltage, current and temperature limits.
#pragma once

#include "gui/config/ConfigDialog.h"

#include <QMap>

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
    // Leaving a field clamps its value into the row's range; the field is marked and OK asks
    // before writing a changed value.
    void clampOnLeave(int row);
    void edited(int row);
    void markClamped(int row, bool clamped, const QString& typed = {});
    bool confirmClamped();
    QMap<int, QString> m_clamped; // row -> the text typed before it was clamped
    Ui::SetPointDialog* ui;
    int m_chargeMode = 0;
};
