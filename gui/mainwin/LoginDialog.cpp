// The login dialog and the logout confirmation.
#include "gui/mainwin/LoginDialog.h"

#include "gui/mainwin/MessageHub.h"
#include "ui_LoginDialog.h"
#include "ui_LogoutDialog.h"

TfrmRecControl::TfrmRecControl(TMessenger& messenger, QWidget* parent)
    : QDialog(parent), ui(new Ui::TfrmRecControl), m_messenger(messenger) {
    ui->setupUi(this);
    ui->PW_Input->setAccessibleName("Password");
    connect(ui->bbtnOK, &QPushButton::clicked, this, &TfrmRecControl::bbtnOKClick);
    connect(ui->PW_Input, &QLineEdit::returnPressed, this, &TfrmRecControl::PW_InputKeyPress);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmRecControl::~TfrmRecControl() {
    delete ui;
}

bool TfrmRecControl::passwordAccepted() {
    if (ui->PW_Input->text() == kPassword) return true;
    m_messenger.show(this, quma::MessageKind::Plain, " Please try again ");
    return false;
}

// The button always ends the dialog, accepted or not.
void TfrmRecControl::bbtnOKClick() {
    if (passwordAccepted())
        accept();
    else
        reject();
}

// Enter with a wrong password leaves the dialog open for another try.
void TfrmRecControl::PW_InputKeyPress() {
    if (passwordAccepted()) accept();
}

TForm3::TForm3(QWidget* parent) : QDialog(parent), ui(new Ui::TForm3) {
    ui->setupUi(this);
    connect(ui->BitBtnI_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtnI_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TForm3::~TForm3() {
    delete ui;
}
