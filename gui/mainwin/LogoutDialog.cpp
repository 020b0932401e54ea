// The logout confirmation.
#include "gui/mainwin/LogoutDialog.h"

#include "ui_LogoutDialog.h"

LogoutDialog::LogoutDialog(QWidget* parent) : QDialog(parent), ui(new Ui::LogoutDialog) {
    ui->setupUi(this);
    connect(ui->BitBtnI_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtnI_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

LogoutDialog::~LogoutDialog() {
    delete ui;
}
