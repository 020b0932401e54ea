// The login dialog and the logout confirmation.
#pragma once

#include <QDialog>

class TMessenger;
namespace Ui {
class TfrmRecControl;
class TForm3;
} // namespace Ui

class TfrmRecControl : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kPassword = "vroom8315";

    TfrmRecControl(TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmRecControl() override;

private:
    bool passwordAccepted();
    void bbtnOKClick();
    void PW_InputKeyPress();

    Ui::TfrmRecControl* ui;
    TMessenger& m_messenger;
};

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

private:
    Ui::TForm3* ui;
};
