// Small painted widgets of the status page: lamp pairs, clickable labels, the power-flow picture.
#include "gui/shared/PaintedWidgets.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyleOption>
#include <algorithm>

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

void PlainFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Where the base style puts its frame: below the title line.
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    const int top = (box && box->title().isEmpty())
                        ? 3
                        : std::max(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                                   option->fontMetrics.height()) +
                              3;
    painter->save();
    painter->setPen(option->palette.window().color().darker(128));
    painter->setBrush(option->palette.window().color().lighter(103));
    painter->drawRect(option->rect.adjusted(0, top, -1, -1));
    painter->restore();
}

PowerFlowView::PowerFlowView(QWidget* parent) : QWidget(parent) {
    setAccessibleName(tr("Power flow"));
    setMinimumSize(400, 230);
    setAttribute(Qt::WA_OpaquePaintEvent); // the under layer covers every pixel
}

namespace {
const QColor kAcPulse(0xF5, 0x9E, 0x0B), kDcPulse(0x25, 0x63, 0xEB), kBattPulse(0x16, 0xA3, 0x4A);

// Where everything stands for a given size.
struct FlowGeometry {
    QRectF mains, rect, load, batt;
    QPointF bus, battCorner;
    QLineF strips[4]; // mains, rectifier, load, battery
    explicit FlowGeometry(QSizeF size) {
        const double w = size.width(), h = size.height();
        mains = QRectF(10, h * 0.18, 70, 46);
        rect = QRectF(w * 0.36, h * 0.14, 90, 56);
        load = QRectF(w - 90, h * 0.18, 80, 46);
        batt = QRectF(w * 0.36 + 10, h - 66, 70, 52);
        bus = QPointF(w * 0.36 + 45 + 90, h * 0.18 + 23);
        battCorner = QPointF(bus.x(), batt.center().y());
        strips[0] = QLineF(QPointF(mains.right(), mains.center().y()),
                           QPointF(rect.left(), mains.center().y()));
        strips[1] = QLineF(QPointF(rect.right(), bus.y()), bus);
        strips[2] = QLineF(bus, QPointF(load.left(), bus.y()));
        strips[3] = QLineF(bus, battCorner);
    }
    QRect stripArea(int i) const {
        return QRectF(strips[i].p1(), strips[i].p2())
            .normalized()
            .adjusted(-6, -6, 6, 6)
            .toAlignedRect();
    }
};

void drawBox(QPainter& p, const QRectF& r, const QString& text, QColor fill) {
    p.setPen(QPen(fill.darker(170), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r, 6, 6);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
}

// What strip i shows: its frame, whether pulses move on it, their colour.
struct StripLook {
    int frame = 0;
    bool active = false;
    QColor colour;
};
StripLook stripLook(const quma::FlowState& s, int i) {
    const bool mainsUp = s.ac != 0 || s.rect != 0;
    switch (i) {
    case 0:
        return {s.ac, true, kAcPulse};
    case 1:
        return {s.rect, mainsUp || s.flags != 0, kDcPulse};
    case 2:
        return {s.sys, true, kDcPulse};
    default:
        return {s.batt, s.showBattStrip && (s.showCharge || s.showDischarge), kBattPulse};
    }
}
} // namespace

void PowerFlowView::setFlow(const quma::FlowState& state) {
    const quma::FlowState old = m_state;
    m_state = state;
    if (old.showBattStrip != state.showBattStrip || old.showCharge != state.showCharge ||
        old.showDischarge != state.showDischarge) {
        update(); // the artwork changes: everything again
        return;
    }
    // Only the strips whose pulses moved are painted again.
    const FlowGeometry g(size());
    QRegion dirty;
    for (int i = 0; i < 4; ++i) {
        const StripLook a = stripLook(old, i), b = stripLook(state, i);
        if (a.active != b.active || (b.active && a.frame != b.frame)) dirty += g.stripArea(i);
    }
    if (!dirty.isEmpty()) update(dirty);
}

void PowerFlowView::renderLayers() {
    const qreal dpr = devicePixelRatioF();
    const FlowGeometry g(size());
    m_under = QPixmap(size() * dpr);
    m_under.setDevicePixelRatio(dpr);
    m_under.fill(QColor(0xF4, 0xF8, 0xFB));
    m_over = QPixmap(size() * dpr);
    m_over.setDevicePixelRatio(dpr);
    m_over.fill(Qt::transparent);
    const QPen conductor(QColor(0x9E, 0xA7, 0xB0), 6, Qt::SolidLine, Qt::RoundCap);
    {
        QPainter p(&m_under);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(conductor);
        for (int i = 0; i < (m_state.showBattStrip ? 4 : 3); ++i)
            p.drawLine(g.strips[i]);
    }
    QPainter p(&m_over);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_state.showBattStrip) {
        p.setPen(conductor);
        p.drawLine(g.battCorner, QPointF(g.batt.right(), g.battCorner.y()));
        drawBox(p, g.batt, "BATT", QColor(0xDC, 0xFC, 0xE7));
        // Image_BattCh / Image_BattDCh: an arrow into or out of the battery.
        if (m_state.showCharge || m_state.showDischarge) {
            const double x = g.batt.left() - 22, y = g.batt.center().y();
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
    drawBox(p, g.mains, "AC", QColor(0xFE, 0xF3, 0xC7));
    drawBox(p, g.rect, "PSU", QColor(0xDB, 0xEA, 0xFE));
    drawBox(p, g.load, "RRU", QColor(0xE0, 0xE7, 0xFF));
    // One pulse sprite per strip colour.
    for (int i = 0; i < 4; ++i) {
        QPixmap sprite(QSize(10, 10) * dpr);
        sprite.setDevicePixelRatio(dpr);
        sprite.fill(Qt::transparent);
        QPainter s(&sprite);
        s.setRenderHint(QPainter::Antialiasing);
        s.setPen(Qt::NoPen);
        s.setBrush(stripLook(m_state, i).colour);
        s.drawEllipse(QPointF(5, 5), 4.5, 4.5);
        m_pulses[i] = sprite;
    }
    m_layersFor = {size(), dpr, m_state.showBattStrip, m_state.showCharge, m_state.showDischarge};
}

void PowerFlowView::paintEvent(QPaintEvent* e) {
    const LayerKey key{size(), devicePixelRatioF(), m_state.showBattStrip, m_state.showCharge,
                       m_state.showDischarge};
    if (!(key == m_layersFor)) renderLayers();
    const qreal dpr = m_under.devicePixelRatio();
    QPainter p(this);
    // Only the parts of the layers that are asked for are copied, in bands of at most 64
    // lines: the raster engine spreads a taller blend over its thread pool, and waking two
    // threads ten times a second costs more than the copy itself.
    const auto layer = [&](const QPixmap& pm) {
        for (const QRect& r : e->region())
            for (int top = r.top(); top <= r.bottom(); top += 64) {
                const QRect band(r.left(), top, r.width(), std::min(64, r.bottom() + 1 - top));
                p.drawPixmap(band, pm, QRectF(band.topLeft() * dpr, band.size() * dpr));
            }
    };
    layer(m_under);
    // The pulses: four on each active strip, where its frame puts them; each a ready sprite.
    const FlowGeometry g(size());
    for (int i = 0; i < (m_state.showBattStrip ? 4 : 3); ++i) {
        const StripLook look = stripLook(m_state, i);
        if (!look.active) continue;
        const QPixmap& sprite = m_pulses[i];
        const QPointF half(sprite.width() / dpr / 2, sprite.height() / dpr / 2);
        const QPointF from = g.strips[i].p1(), d = g.strips[i].p2() - from;
        for (int k = 0; k < 4; ++k) {
            const double t = std::fmod(look.frame / 11.0 + k / 4.0, 1.0);
            p.drawPixmap(from + d * t - half, sprite);
        }
    }
    layer(m_over);
}
