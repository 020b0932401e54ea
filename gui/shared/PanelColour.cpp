// A lamp's colour on a label.
#include "gui/shared/PanelColour.h"

void PanelColour::setColor(quint32 rgb) {
    if (m_applied && rgb == m_rgb) return;
    m_rgb = rgb;
    apply();
}

void PanelColour::setTextColour(std::optional<QColor> colour) {
    if (m_applied && colour == m_text) return;
    m_text = colour;
    apply();
}

void PanelColour::apply() {
    m_applied = true;
    if (!m_label) return;
    const bool dark = ((m_rgb >> 16 & 0xFF) * 3 + (m_rgb >> 8 & 0xFF) * 6 + (m_rgb & 0xFF)) < 1200;
    QPalette p = m_label->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(m_rgb));
    p.setColor(QPalette::WindowText, m_text.value_or(dark ? Qt::white : Qt::black));
    m_label->setAutoFillBackground(true);
    m_label->setFrameShape(QFrame::Box);
    m_label->setPalette(p);
}
