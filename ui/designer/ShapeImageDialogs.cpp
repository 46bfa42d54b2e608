// The "Shape" and "Image" dialogs, and the "Frame" dialog of an element or the label.

#include "core/Prompter.h"
#include "ui/designer/ElementDialogs.h"
#include "ui/designer/TextStylePanel.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qx7 {

namespace {

template <class Enum>
QComboBox* enumChoice(QWidget* parent, const char* name, int count, const char* (*text)(Enum),
                      Enum current)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < count; ++i)
        box->addItem(QString::fromLatin1(text(static_cast<Enum>(i))), i);
    box->setCurrentIndex(static_cast<int>(current));
    return box;
}

template <class Enum>
Enum chosen(const QComboBox* box)
{
    return static_cast<Enum>(box->currentData().toInt());
}

ColorButton* colorChoice(QWidget* parent, const char* name, const Color& color)
{
    auto* button = new ColorButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setColor(color);
    return button;
}

} // namespace

ShapeDialog::ShapeDialog(const LayoutElement& element, QWidget* parent)
    : ElementDialog(element, tr("Shape"), "ShapeDialog", parent)
{
    m_shape = enumChoice(this, "shape", 6, shapeName, element.shape);
    m_penStyle = enumChoice(this, "penStyle", 7, penStyleName, element.penStyle);
    m_penColor = colorChoice(this, "penColor", element.penColor);
    m_penMode = enumChoice(this, "penMode", 10, penModeName, element.penMode);
    m_penWidth = control<QSpinBox>("penWidth");
    m_penWidth->setRange(1, 99);
    m_penWidth->setValue(std::max(1, element.penWidth));
    m_brushStyle = enumChoice(this, "brushStyle", 8, brushStyleName, element.brushStyle);
    m_brushColor = colorChoice(this, "brushColor", element.brushColor);
    auto* form = new QFormLayout;
    form->addRow(tr("&Shape:"), m_shape);
    form->addRow(tr("&Pen style:"), m_penStyle);
    form->addRow(tr("Pen &colour:"), m_penColor);
    form->addRow(tr("Pen &mode:"), m_penMode);
    form->addRow(tr("Pen &width:"), m_penWidth);
    form->addRow(tr("&Brush style:"), m_brushStyle);
    form->addRow(tr("Brush c&olour:"), m_brushColor);
    finish(form);
}

bool ShapeDialog::store(LayoutElement& element)
{
    element.shape = chosen<ShapeKind>(m_shape);
    element.penStyle = chosen<PenStyle>(m_penStyle);
    element.penColor = m_penColor->color();
    element.penMode = chosen<PenMode>(m_penMode);
    element.penWidth = m_penWidth->value();
    element.brushStyle = chosen<BrushStyle>(m_brushStyle);
    element.brushColor = m_brushColor->color();
    return true;
}

ImageDialog::ImageDialog(const LayoutElement& element, const ElementDialogContext& context,
                         QWidget* parent)
    : ElementDialog(element, tr("Image"), "ImageDialog", parent), m_context(context)
{
    m_file = control<QLineEdit>("imageFile", QString::fromStdString(element.imageFile));
    m_file->setMaxLength(255);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    m_center = control<QCheckBox>("center", tr("Center &picture"));
    m_center->setChecked(element.center);
    m_stretch = control<QCheckBox>("stretch", tr("&Stretch picture"));
    m_stretch->setChecked(element.stretch);
    auto* file = new QHBoxLayout;
    file->addWidget(m_file, 1);
    file->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(tr("&File:"), file);
    form->addRow(QString(), m_center);
    form->addRow(QString(), m_stretch);
    finish(form);
    resize(520, sizeHint().height());
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Image"), QString::fromStdString(m_context.layoutFolder),
            tr("Pictures (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf)"));
        if (path.isEmpty())
            return;
        // A picture beside the layout is kept by its name, so the two can move together.
        const QDir folder(QString::fromStdString(m_context.layoutFolder));
        const QString relative = folder.relativeFilePath(path);
        m_file->setText(relative.startsWith(QLatin1String("..")) ? path : relative);
    });
}

bool ImageDialog::store(LayoutElement& element)
{
    element.imageFile = m_file->text().trimmed().toStdString();
    element.center = m_center->isChecked();
    element.stretch = m_stretch->isChecked();
    if (element.imageFile.empty())
        return true;
    QFileInfo info(QString::fromStdString(element.imageFile));
    if (info.isRelative())
        info.setFile(QDir(QString::fromStdString(m_context.layoutFolder)), info.filePath());
    QImageReader reader(info.filePath());
    if (!reader.canRead()) {
        // The element keeps no name of a picture that cannot be shown.
        if (m_context.prompter)
            m_context.prompter->error("Cannot load the picture " + element.imageFile + ": " +
                                      reader.errorString().toStdString());
        element.imageFile.clear();
    }
    return true;
}

FrameDialog::FrameDialog(const Frame& frame, const Color& background, QWidget* parent)
    : QDialog(parent), m_oldWidth(frame.width)
{
    setObjectName(QStringLiteral("FrameDialog"));
    setWindowTitle(tr("Frame"));
    const auto edge = [this](const QString& text, const char* name, bool on) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(on);
        return box;
    };
    m_top = edge(tr("&Top"), "frameTop", frame.top);
    m_bottom = edge(tr("&Bottom"), "frameBottom", frame.bottom);
    m_left = edge(tr("&Left"), "frameLeft", frame.left);
    m_right = edge(tr("&Right"), "frameRight", frame.right);
    m_width = new QLineEdit(QString::number(frame.width), this);
    m_width->setObjectName(QStringLiteral("frameWidth"));
    m_width->setMaximumWidth(60);
    m_style = enumChoice(this, "frameStyle", 7, frameStyleName, frame.style);
    m_color = colorChoice(this, "frameColor", frame.color);
    m_background = colorChoice(this, "frameBackground", background);
    auto* edges = new QGridLayout;
    edges->addWidget(m_top, 0, 0);
    edges->addWidget(m_bottom, 0, 1);
    edges->addWidget(m_left, 1, 0);
    edges->addWidget(m_right, 1, 1);
    auto* form = new QFormLayout;
    form->addRow(tr("Edges:"), edges);
    form->addRow(tr("&Width (0-99):"), m_width);
    form->addRow(tr("&Style:"), m_style);
    form->addRow(tr("&Colour:"), m_color);
    form->addRow(tr("Bac&kground:"), m_background);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    addHelpButton(*buttons, help::kDesignerElements);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(buttons);
}

Frame FrameDialog::frame() const
{
    Frame f;
    f.top = m_top->isChecked();
    f.bottom = m_bottom->isChecked();
    f.left = m_left->isChecked();
    f.right = m_right->isChecked();
    // A width that is not a number from 0 to 99 leaves the one there was.
    bool ok = false;
    const int width = m_width->text().trimmed().toInt(&ok);
    f.width = ok && width >= 0 && width <= 99 ? width : m_oldWidth;
    f.style = chosen<FrameStyle>(m_style);
    f.color = m_color->color();
    return f;
}

Color FrameDialog::background() const
{
    return m_background->color();
}

} // namespace qx7
