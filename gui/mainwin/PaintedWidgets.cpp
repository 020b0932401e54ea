// Small painted widgets of the status page: lamp pairs, clickable labels, the power-flow picture.
#include "gui/mainwin/PaintedWidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

LampPair::LampPair(QWidget* parent) : QWidget(parent) {
    setFixedSize(16, 16);
    setAccessibleDescription("normal");
}

void LampPair::setAlarm(bool alarm) {
    if (alarm == m_alarm) return;
    m_alarm = alarm;
    setAccessibleDescription(alarm ? "alarm" : "normal");
    update();
}

void LampPair::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const QColor base = m_alarm ? QColor(0xD3, 0x2F, 0x2F) : QColor(0x2E, 0x9D, 0x3A);
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.7);
    g.setColorAt(0, base.lighter(170));
    g.setColorAt(1, base);
    p.setBrush(g);
    p.setPen(QPen(base.darker(160), 1));
    p.drawEllipse(r);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(e);
}

PowerFlowView::PowerFlowView(QWidget* parent) : QWidget(parent) {
    setAccessibleName("Power flow");
    setMinimumSize(400, 230);
}

void PowerFlowView::setFlow(const quma::FlowState& state) {
    m_state = state;
    update();
}

namespace {
// A conductor with pulses moving along it: frame 0..10 sets where the pulses stand.
void drawStrip(QPainter& p, QPointF from, QPointF to, int frame, bool active, QColor colour) {
    p.setPen(QPen(QColor(0x9E, 0xA7, 0xB0), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    if (!active) return;
    const QPointF d = to - from;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int k = 0; k < 4; ++k) {
        const double t = std::fmod(frame / 11.0 + k / 4.0, 1.0);
        p.drawEllipse(from + d * t, 4.5, 4.5);
    }
}

void drawBox(QPainter& p, const QRectF& r, const QString& text, QColor fill) {
    p.setPen(QPen(fill.darker(170), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r, 6, 6);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
}
} // namespace

void PowerFlowView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0xF4, 0xF8, 0xFB));
    const double w = width(), h = height();
    const QRectF mains(10, h * 0.18, 70, 46);
    const QRectF rect(w * 0.36, h * 0.14, 90, 56);
    const QRectF load(w - 90, h * 0.18, 80, 46);
    const QRectF batt(w * 0.36 + 10, h - 66, 70, 52);
    const QPointF bus(w * 0.36 + 45 + 90, h * 0.18 + 23);

    const bool mainsUp = m_state.ac != 0 || m_state.rect != 0;
    drawStrip(p, {mains.right(), mains.center().y()}, {rect.left(), mains.center().y()}, m_state.ac,
              true, QColor(0xF5, 0x9E, 0x0B));
    drawStrip(p, {rect.right(), bus.y()}, bus, m_state.rect, mainsUp || m_state.flags,
              QColor(0x25, 0x63, 0xEB));
    drawStrip(p, bus, {load.left(), bus.y()}, m_state.sys, true, QColor(0x25, 0x63, 0xEB));
    if (m_state.showBattStrip) {
        const QPointF top(bus.x(), bus.y());
        const QPointF down(bus.x(), batt.center().y());
        drawStrip(p, top, down, m_state.batt, m_state.showCharge || m_state.showDischarge,
                  QColor(0x16, 0xA3, 0x4A));
        p.setPen(QPen(QColor(0x9E, 0xA7, 0xB0), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(down, {batt.right(), down.y()});
        drawBox(p, batt, "BATT", QColor(0xDC, 0xFC, 0xE7));
        // Image_BattCh / Image_BattDCh: an arrow into or out of the battery.
        if (m_state.showCharge || m_state.showDischarge) {
            const double x = batt.left() - 22, y = batt.center().y();
            QPainterPath arrow;
            const double dir = m_state.showCharge ? 1 : -1;
            arrow.moveTo(x, y + 14 * dir);
            arrow.lineTo(x - 8, y);
            arrow.lineTo(x + 8, y);
            arrow.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(m_state.showCharge ? QColor(0x16, 0xA3, 0x4A) : QColor(0xDC, 0x26, 0x26));
            p.drawRect(QRectF(x - 3, y - 14 * dir, 6, 14 * dir));
            p.drawPath(arrow);
        }
    }
    drawBox(p, mains, "AC", QColor(0xFE, 0xF3, 0xC7));
    drawBox(p, rect, "PSU", QColor(0xDB, 0xEA, 0xFE));
    drawBox(p, load, "RRU", QColor(0xE0, 0xE7, 0xFF));
}
