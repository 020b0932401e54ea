// The login dialog: the password that unlocks connecting and the controller commands.
#pragma once

#include <QDialog>

class MessageHub;
namespace Ui {
class LoginDialog;
} // namespace Ui

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kPassword = "vroom8315";

    LoginDialog(MessageHub& hub, QWidget* parent = nullptr);
    ~LoginDialog() override;

private:
    bool passwordMatches();
    void confirmPassword();
    void passwordEntered();

    Ui::LoginDialog* ui;
    MessageHub& m_hub;
};
