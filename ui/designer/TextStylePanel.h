#pragma once
// The part every text element's dialog shares: font, alignment, background, and how
// the element sizes itself (autosize width, autostretch height, word-wrap), with the
// rotation where the kind has one. Also the colour button the dialogs use.

#include "labels/LayoutElement.h"

#include <QPushButton>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QSpinBox;

namespace qx7 {

// Shows a colour and asks for another one when pressed.
class ColorButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);
    Color color() const { return m_color; }
    void setColor(const Color& color);

private:
    Color m_color;
};

class TextStylePanel : public QWidget
{
    Q_OBJECT
public:
    struct Offer
    {
        bool transparent = true;
        bool rotation = false;
        bool autoStretch = true;
    };
    TextStylePanel(const LayoutElement& element, Offer offer, QWidget* parent = nullptr);

    // Writes the panel's values into `element` (what the panel does not offer stays).
    void store(LayoutElement& element) const;

private:
    Offer m_offer;
    struct Shown
    {
        QString family;
        double size;
        int rotation;
    } m_shown;
    QFontComboBox* m_family;
    QDoubleSpinBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    ColorButton* m_fontColor;
    QComboBox* m_alignment;
    ColorButton* m_background;
    QCheckBox* m_transparent;
    QCheckBox* m_autoSize;
    QCheckBox* m_autoStretch;
    QCheckBox* m_wordWrap;
    QSpinBox* m_rotation;
};

} // namespace qx7
