#pragma once
// The property dialogs of the label's elements, one per kind: "Text field", "QSO Data
// field", "Expressions (Data field plus text)", "Memo", "Shape" and "Image", and the
// "Frame" dialog of an element's or the label's frame. Each edits a copy; the caller
// takes element() once the dialog was accepted.

#include "labels/FieldNames.h"
#include "labels/LabelLayout.h"

#include <QDialog>

#include <memory>
#include <string>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QVBoxLayout;

namespace qx7 {

class ColorButton;
class Prompter;
class TextStylePanel;

struct ElementDialogContext
{
    Prompter* prompter = nullptr;
    std::string layoutFolder; // where relative picture names are found
};

class ElementDialog : public QDialog
{
    Q_OBJECT
public:
    const LayoutElement& element() const { return m_element; }
    void accept() override;

protected:
    // `objectName` names the dialog for the tests and the help.
    ElementDialog(const LayoutElement& element, const QString& title, const char* objectName,
                  QWidget* parent);
    // Puts the dialog's values into the element; false keeps the dialog open.
    virtual bool store(LayoutElement& element) = 0;
    // The controls go here; OK and Cancel follow them.
    QVBoxLayout* body() const { return m_body; }
    // A control made from `args` with this dialog as its parent, named `name`.
    template <class Control, class... Args>
    Control* control(const char* name, Args&&... args)
    {
        auto* made = new Control(std::forward<Args>(args)..., this);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    }
    // The end of every element dialog: `fields` (when given), the text style panel (for
    // the kinds that have text), then OK and Cancel.
    void finish(QLayout* fields, TextStylePanel* style = nullptr);

    LayoutElement m_element;

private:
    void addButtons();

    QVBoxLayout* m_body;
};

// The dialog of the element's kind.
std::unique_ptr<ElementDialog> makeElementDialog(const LayoutElement& element,
                                                 const ElementDialogContext& context,
                                                 QWidget* parent = nullptr);

class TextFieldDialog : public ElementDialog
{
    Q_OBJECT
public:
    TextFieldDialog(const LayoutElement& element, QWidget* parent = nullptr);

private:
    bool store(LayoutElement& element) override;
    QComboBox* m_caption;
    TextStylePanel* m_style;
};

class ExpressionDialog : public ElementDialog
{
    Q_OBJECT
public:
    ExpressionDialog(const LayoutElement& element, Prompter& prompter, QWidget* parent = nullptr);
    // "&Validate": the expression against a record whose fields show their names.
    void validate();

private:
    bool store(LayoutElement& element) override;
    Prompter& m_prompter;
    QLineEdit* m_expression;
    QListWidget* m_fields;
    QLineEdit* m_rotation;
    TextStylePanel* m_style;
};

class MemoDialog : public ElementDialog
{
    Q_OBJECT
public:
    MemoDialog(const LayoutElement& element, QWidget* parent = nullptr);

private:
    bool store(LayoutElement& element) override;
    QPlainTextEdit* m_lines;
    TextStylePanel* m_style;
};

class DataFieldDialog : public ElementDialog
{
    Q_OBJECT
public:
    DataFieldDialog(const LayoutElement& element, QWidget* parent = nullptr);
    // The field the three groups name now.
    std::string fieldName() const;

private:
    bool store(LayoutElement& element) override;
    void choose(FieldChoice choice);
    FieldChoice m_choice;
    QListWidget* m_header;
    QListWidget* m_line;
    QListWidget* m_item;
    QListWidget* m_footer;
    QLabel* m_chosen;
    TextStylePanel* m_style;
};

class ShapeDialog : public ElementDialog
{
    Q_OBJECT
public:
    ShapeDialog(const LayoutElement& element, QWidget* parent = nullptr);

private:
    bool store(LayoutElement& element) override;
    QComboBox* m_shape;
    QComboBox* m_penStyle;
    ColorButton* m_penColor;
    QComboBox* m_penMode;
    QSpinBox* m_penWidth;
    QComboBox* m_brushStyle;
    ColorButton* m_brushColor;
};

class ImageDialog : public ElementDialog
{
    Q_OBJECT
public:
    ImageDialog(const LayoutElement& element, const ElementDialogContext& context,
                QWidget* parent = nullptr);

private:
    bool store(LayoutElement& element) override;
    ElementDialogContext m_context;
    QLineEdit* m_file;
    QCheckBox* m_center;
    QCheckBox* m_stretch;
};

// The frame edges, width, style and colour, and the background (of an element or the
// label band).
class FrameDialog : public QDialog
{
    Q_OBJECT
public:
    FrameDialog(const Frame& frame, const Color& background, QWidget* parent = nullptr);
    Frame frame() const;
    Color background() const;

private:
    QCheckBox* m_top;
    QCheckBox* m_bottom;
    QCheckBox* m_left;
    QCheckBox* m_right;
    QLineEdit* m_width;
    int m_oldWidth;
    QComboBox* m_style;
    ColorButton* m_color;
    ColorButton* m_background;
};

} // namespace qx7
