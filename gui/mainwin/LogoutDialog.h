// The logout confirmation.
#pragma once

#include <QDialog>

namespace Ui {
class LogoutDialog;
}

class LogoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit LogoutDialog(QWidget* parent = nullptr);
    ~LogoutDialog() override;

private:
    Ui::LogoutDialog* ui;
};
