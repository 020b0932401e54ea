// A lamp's colour on a label.
#pragma once

#include "core/link/ComSignal.h"

#include <QColor>
#include <QLabel>
#include <optional>

// Colours a label's background: the lamps' control. The colours go into the label's palette,
// and only when they change, so a lamp that blinks repaints itself and nothing else.
class PanelColour : public quma::IColorSetter {
public:
    explicit PanelColour(QLabel* label) : m_label(label) {}
    void setColor(quint32 rgb) override;
    quint32 colour() const { return m_rgb; }
    // The caption colour; without one it is black or white, whichever reads on the background.
    void setTextColour(std::optional<QColor> colour);

private:
    void apply();

    QLabel* m_label;
    quint32 m_rgb = 0;
    bool m_applied = false;
    std::optional<QColor> m_text;
};
