// The login dialog and the logout confirmation.
#pragma once

#include <QDialog>

class MessageHub;
namespace Ui {
class LoginDialog;
class LogoutDialog;
} // namespace Ui

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kPassword = "vroom8315";

    LoginDialog(MessageHub& messenger, QWidget* parent = nullptr);
    ~LoginDialog() override;

private:
    bool passwordAccepted();
    void bbtnOKClick();
    void PW_InputKeyPress();

    Ui::LoginDialog* ui;
    MessageHub& m_messenger;
};

class LogoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit LogoutDialog(QWidget* parent = nullptr);
    ~LogoutDialog() override;

private:
    Ui::LogoutDialog* ui;
};
