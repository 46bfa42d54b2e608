#include "ui/designer/ElementDialogs.h"

#include "core/Prompter.h"
#include "labels/Expression.h"
#include "ui/designer/TextStylePanel.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace qx7 {

ElementDialog::ElementDialog(const LayoutElement& element, const QString& title,
                             const char* objectName, QWidget* parent)
    : QDialog(parent), m_element(element)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(title);
    m_body = new QVBoxLayout(this);
}

void ElementDialog::finish(QLayout* fields, TextStylePanel* style)
{
    if (fields)
        m_body->addLayout(fields);
    if (style)
        m_body->addWidget(style);
    addButtons();
}

void ElementDialog::addButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    addHelpButton(*buttons, help::kDesignerElements);
    connect(buttons, &QDialogButtonBox::accepted, this, &ElementDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_body->addWidget(buttons);
}

void ElementDialog::accept()
{
    LayoutElement edited = m_element;
    if (!store(edited))
        return;
    m_element = std::move(edited);
    QDialog::accept();
}

std::unique_ptr<ElementDialog> makeElementDialog(const LayoutElement& element,
                                                 const ElementDialogContext& context,
                                                 QWidget* parent)
{
    switch (element.kind) {
    case ElementKind::Text:
        return std::make_unique<TextFieldDialog>(element, parent);
    case ElementKind::DataField:
        return std::make_unique<DataFieldDialog>(element, parent);
    case ElementKind::Expression:
        return std::make_unique<ExpressionDialog>(element, *context.prompter, parent);
    case ElementKind::Memo:
        return std::make_unique<MemoDialog>(element, parent);
    case ElementKind::Shape:
        return std::make_unique<ShapeDialog>(element, parent);
    case ElementKind::Image:
        return std::make_unique<ImageDialog>(element, context, parent);
    }
    return nullptr;
}

TextFieldDialog::TextFieldDialog(const LayoutElement& element, QWidget* parent)
    : ElementDialog(element, tr("Text field"), "TextFieldDialog", parent)
{
    m_caption = control<QComboBox>("caption");
    m_caption->setEditable(true);
    for (const char* text : {"To Radio", "confirms the following QSO(s):", "Date", "Time", "Band",
                             "MHz", "Mode", "2way", "RST"})
        m_caption->addItem(QString::fromLatin1(text));
    m_caption->setCurrentText(QString::fromStdString(element.caption));
    m_style = new TextStylePanel(element, {true, true, true}, this);
    auto* form = new QFormLayout;
    form->addRow(tr("&Text:"), m_caption);
    finish(form, m_style);
}

bool TextFieldDialog::store(LayoutElement& element)
{
    element.caption = m_caption->currentText().toStdString();
    m_style->store(element);
    return true;
}

ExpressionDialog::ExpressionDialog(const LayoutElement& element, Prompter& prompter,
                                   QWidget* parent)
    : ElementDialog(element, tr("Expressions (Data field plus text)"), "ExpressionDialog", parent),
      m_prompter(prompter)
{
    m_expression = control<QLineEdit>("expression", QString::fromStdString(element.expression));
    auto* validate = control<QPushButton>("validate", tr("&Validate"));
    m_fields = control<QListWidget>("fieldNames");
    m_fields->setToolTip(tr("Print Queue Fieldname"));
    for (const std::string& name : printQueueFieldNames())
        m_fields->addItem(QString::fromStdString(name));
    m_fields->setMaximumHeight(110);
    m_rotation = control<QLineEdit>("rotation", QString::number(element.rotation / 10.0));
    m_rotation->setMaximumWidth(80);
    m_style = new TextStylePanel(element, {true, false, true}, this);

    auto* line = new QHBoxLayout;
    line->addWidget(m_expression, 1);
    line->addWidget(validate);
    auto* form = new QFormLayout;
    auto* caption = new QLabel(tr("E&xpression:"), this);
    caption->setBuddy(m_expression);
    form->addRow(caption, line);
    form->addRow(QString(), new QLabel(tr("Examples:  MYCALL+' confirms the following QSO(s):'"
                                          "    COPY(A_DATE, 1, 4)"),
                                       this));
    form->addRow(tr("&Fieldname:"), m_fields);
    form->addRow(tr("&Rotation:"), m_rotation);
    finish(form, m_style);

    connect(validate, &QPushButton::clicked, this, &ExpressionDialog::validate);
    connect(m_fields, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_expression->setText(m_expression->text() + QLatin1Char(' ') + item->text());
    });
}

void ExpressionDialog::validate()
{
    LabelRecord record;
    for (const std::string& name : printQueueFieldNames())
        record.set(name, name);
    const ExpressionCheck check =
        validateExpression(m_expression->text().trimmed().toStdString(), record);
    m_prompter.ask(check.ok ? PromptIcon::Information : PromptIcon::Warning, check.message,
                   PromptButton::Ok);
}

bool ExpressionDialog::store(LayoutElement& element)
{
    element.expression = m_expression->text().toStdString();
    element.mask.clear();
    m_style->store(element);
    // A rotation that is not a number leaves the one there was.
    bool ok = false;
    const double degrees = m_rotation->text().trimmed().replace(',', '.').toDouble(&ok);
    if (ok && std::isfinite(degrees))
        element.rotation = int(std::lround(degrees * 10));
    return true;
}

MemoDialog::MemoDialog(const LayoutElement& element, QWidget* parent)
    : ElementDialog(element, tr("Memo"), "MemoDialog", parent)
{
    QStringList lines;
    for (const std::string& l : element.lines)
        lines << QString::fromStdString(l);
    m_lines = control<QPlainTextEdit>("lines", lines.join(QLatin1Char('\n')));
    m_style = new TextStylePanel(element, {false, false, true}, this);
    body()->addWidget(new QLabel(tr("&Lines:"), this));
    body()->addWidget(m_lines, 1);
    finish(nullptr, m_style);
}

bool MemoDialog::store(LayoutElement& element)
{
    element.lines.clear();
    const QString text = m_lines->toPlainText();
    if (!text.isEmpty())
        for (const QString& l : text.split(QLatin1Char('\n')))
            element.lines.push_back(l.toStdString());
    m_style->store(element);
    return true;
}

} // namespace qx7
