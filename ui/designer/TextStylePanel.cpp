#include "ui/designer/TextStylePanel.h"

#include "labels/render/LabelRenderer.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace qx7 {

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent)
{
    setMinimumWidth(60);
    setMaximumWidth(140);
    connect(this, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(toQColor(m_color), this);
        if (chosen.isValid())
            setColor(Color::fromRgb(chosen.red(), chosen.green(), chosen.blue()));
    });
    setColor(m_color);
}

void ColorButton::setColor(const Color& color)
{
    m_color = color;
    const QColor c = toQColor(color);
    setText(QString::fromStdString(colorText(color)));
    setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                      .arg(c.name(), c.lightness() < 128 ? QStringLiteral("white")
                                                         : QStringLiteral("black")));
}

TextStylePanel::TextStylePanel(const LayoutElement& e, Offer offer, QWidget* parent)
    : QWidget(parent), m_offer(offer)
{
    const auto check = [this](const QString& text, const char* name, bool on) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(on);
        return box;
    };
    m_family = new QFontComboBox(this);
    m_family->setObjectName(QStringLiteral("fontFamily"));
    m_family->setCurrentFont(QFont(QString::fromStdString(e.font.family)));
    m_size = new QDoubleSpinBox(this);
    m_size->setObjectName(QStringLiteral("fontSize"));
    m_size->setRange(1, 200);
    m_size->setDecimals(1);
    m_size->setValue(e.font.pointSize);
    m_bold = check(tr("&Bold"), "bold", e.font.bold);
    m_italic = check(tr("&Italic"), "italic", e.font.italic);
    m_underline = check(tr("&Underlined"), "underline", e.font.underline);
    m_fontColor = new ColorButton(this);
    m_fontColor->setObjectName(QStringLiteral("fontColor"));
    m_fontColor->setColor(e.font.color);
    m_alignment = new QComboBox(this);
    m_alignment->setObjectName(QStringLiteral("alignment"));
    for (TextAlignment a : {TextAlignment::Left, TextAlignment::Right, TextAlignment::Centered})
        m_alignment->addItem(QString::fromLatin1(alignmentName(a)), int(a));
    m_alignment->setCurrentIndex(m_alignment->findData(int(e.alignment)));
    m_background = new ColorButton(this);
    m_background->setObjectName(QStringLiteral("background"));
    m_background->setColor(e.background);
    m_transparent = check(tr("&Transparent"), "transparent", e.transparent);
    m_autoSize = check(tr("Auto&size width"), "autoSize", e.autoSize);
    m_autoStretch = check(tr("Autostretch &height"), "autoStretch", e.autoStretch);
    m_wordWrap = check(tr("&Word-wrap"), "wordWrap", e.wordWrap);
    m_rotation = new QSpinBox(this);
    m_rotation->setObjectName(QStringLiteral("rotation"));
    m_rotation->setRange(0, 360);
    m_rotation->setSuffix(tr(" °"));
    m_rotation->setValue(int(std::lround(e.rotation / 10.0)));
    m_shown = {m_family->currentText(), m_size->value(), m_rotation->value()};

    auto* font = new QHBoxLayout;
    font->addWidget(m_family, 1);
    font->addWidget(m_size);
    auto* look = new QHBoxLayout;
    look->addWidget(m_bold);
    look->addWidget(m_italic);
    look->addWidget(m_underline);
    look->addStretch();
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    auto* fontCaption = new QLabel(tr("&Font:"), this);
    fontCaption->setBuddy(m_family);
    form->addRow(fontCaption, font);
    form->addRow(QString(), look);
    form->addRow(tr("Font &colour:"), m_fontColor);
    form->addRow(tr("&Alignment:"), m_alignment);
    form->addRow(tr("Bac&kground:"), m_background);
    auto* sizing = new QGridLayout;
    sizing->addWidget(m_transparent, 0, 0);
    sizing->addWidget(m_wordWrap, 0, 1);
    sizing->addWidget(m_autoSize, 1, 0);
    sizing->addWidget(m_autoStretch, 1, 1);
    form->addRow(QString(), sizing);
    form->addRow(tr("&Rotation:"), m_rotation);
    m_transparent->setVisible(offer.transparent);
    m_autoStretch->setVisible(offer.autoStretch);
    m_rotation->setVisible(offer.rotation);
    form->labelForField(m_rotation)->setVisible(offer.rotation);
}

void TextStylePanel::store(LayoutElement& e) const
{
    // A value the controls can only show rounded (a font this machine lacks, a size
    // with more decimals) stays as it is unless the user changes it.
    if (m_family->currentText() != m_shown.family)
        e.font.family = m_family->currentFont().family().toStdString();
    if (m_size->value() != m_shown.size)
        e.font.pointSize = m_size->value();
    e.font.bold = m_bold->isChecked();
    e.font.italic = m_italic->isChecked();
    e.font.underline = m_underline->isChecked();
    e.font.color = m_fontColor->color();
    e.alignment = static_cast<TextAlignment>(m_alignment->currentData().toInt());
    e.background = m_background->color();
    e.autoSize = m_autoSize->isChecked();
    e.wordWrap = m_wordWrap->isChecked();
    if (m_offer.transparent)
        e.transparent = m_transparent->isChecked();
    if (m_offer.autoStretch)
        e.autoStretch = m_autoStretch->isChecked();
    if (m_offer.rotation && m_rotation->value() != m_shown.rotation)
        e.rotation = m_rotation->value() * 10;
}

} // namespace qx7
