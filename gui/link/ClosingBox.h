// The closing box shown while a TCP link is closed at exit.
#pragma once

#include <QDialog>

class QTimer;
namespace Ui {
class ClosingBox;
}

class ClosingBox : public QDialog {
    Q_OBJECT
public:
    explicit ClosingBox(QWidget* parent = nullptr);
    ~ClosingBox() override;
    void start();

private:
    Ui::ClosingBox* ui;
    QTimer* m_timer;
    int m_counter = 0;
};
