// The closing box shown while a TCP link is closed at exit.
#include "gui/link/ClosingBox.h"

#include "ui_ClosingBox.h"

#include <QTimer>

ClosingBox::ClosingBox(QWidget* parent)
    : QDialog(parent), ui(new Ui::ClosingBox), m_timer(new QTimer(this)) {
    ui->setupUi(this);
    m_timer->setInterval(300);
    connect(m_timer, &QTimer::timeout, this, [this] {
        ++m_counter;
        ui->ProgressBar1->setValue(std::min(100, m_counter + 10));
    });
}

ClosingBox::~ClosingBox() {
    delete ui;
}

void ClosingBox::start() {
    m_counter = 0;
    m_timer->start();
    show();
}
