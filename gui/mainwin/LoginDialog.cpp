// The login dialog: the password that unlocks connecting and the controller commands.
#include "gui/mainwin/LoginDialog.h"

#include "gui/shared/MessageHub.h"
#include "ui_LoginDialog.h"

LoginDialog::LoginDialog(MessageHub& hub, QWidget* parent)
    : QDialog(parent), ui(new Ui::LoginDialog), m_hub(hub) {
    ui->setupUi(this);
    ui->PW_Input->setAccessibleName("Password");
    connect(ui->bbtnOK, &QPushButton::clicked, this, &LoginDialog::confirmPassword);
    connect(ui->PW_Input, &QLineEdit::returnPressed, this, &LoginDialog::passwordEntered);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

LoginDialog::~LoginDialog() {
    delete ui;
}

bool LoginDialog::passwordMatches() {
    if (ui->PW_Input->text() == kPassword) return true;
    m_hub.show(this, quma::MessageKind::Plain, tr(" Please try again "));
    return false;
}

// The button always ends the dialog, accepted or not.
void LoginDialog::confirmPassword() {
    if (passwordMatches())
        accept();
    else
        reject();
}

// Enter with a wrong password leaves the dialog open for another try.
void LoginDialog::passwordEntered() {
    if (passwordMatches()) accept();
}
