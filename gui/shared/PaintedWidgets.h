// Small painted widgets of the status page: lamp pairs, clickable labels, the power-flow picture.
#pragma once

#include "core/monitor/PowerFlow.h"

#include <QLabel>
#include <QPixmap>
#include <QProxyStyle>
#include <QWidget>

// A status lamp: the normal ("Nor") or the alarm ("Arm") picture, one at a time.
class LampPair : public QWidget {
    Q_OBJECT
public:
    explicit LampPair(QWidget* parent = nullptr);
    void setAlarm(bool alarm);
    bool isAlarm() const { return m_alarm; }
    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_alarm = false;
};

// A label that reacts to a click (contact names, the hidden firmware-counter corner).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// The status page's group boxes: a frame drawn as a plain rectangle. The usual frame is a
// stretched image, blended again (on the raster engine's thread pool, for a tall box) whenever
// a value inside it changes.
class PlainFrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

// The power-flow picture: mains to rectifier, rectifier to load, and the battery, each strip
// showing one of eleven frames; the battery arrows show charging or discharging.
class PowerFlowView : public QWidget {
    Q_OBJECT
public:
    explicit PowerFlowView(QWidget* parent = nullptr);
    void setFlow(const quma::FlowState& state);
    const quma::FlowState& flow() const { return m_state; }
    QSize sizeHint() const override { return {420, 230}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // The artwork that does not move is drawn once into two layers, under and over the pulses.
    void renderLayers();
    struct LayerKey {
        QSize size;
        qreal dpr = 0;
        bool battStrip = false, charge = false, discharge = false;
        bool operator==(const LayerKey&) const = default;
    };

    quma::FlowState m_state;
    QPixmap m_under, m_over;
    QPixmap m_pulses[4];
    LayerKey m_layersFor;
};
