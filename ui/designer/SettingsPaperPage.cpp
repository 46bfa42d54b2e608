#include "ui/designer/SettingsPaperPage.h"

#include "core/Prompter.h"
#include "labels/render/SheetPreviewPainter.h"
#include "ui/designer/WizardInput.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <utility>

namespace qx7 {

SheetGeometry sheetInMm(const CustomGeometry& g, LayoutUnit unit, const UnitContext& ctx)
{
    const auto mm = [&](double v) { return convertUnit(v, unit, LayoutUnit::Millimetres, ctx); };
    SheetGeometry s;
    s.paper = g.PaperSize;
    s.landscape = g.Orientation == PageOrientation::Landscape;
    s.paperWidth = mm(g.PageWidth);
    s.paperLength = mm(g.PageLength);
    s.topMargin = mm(g.TopMargin);
    s.bottomMargin = mm(g.BottomMargin);
    s.leftMargin = mm(g.LeftMargin);
    s.rightMargin = mm(g.RightMargin);
    s.columns = g.Columns;
    s.rows = g.Rows;
    s.columnSpace = mm(g.ColumnSpace);
    s.rowSpace = mm(g.RowSpace);
    s.labelWidth = mm(g.LabelWidth);
    s.labelHeight = mm(g.LabelHeight);
    return s;
}

CustomGeometry geometryOfSheet(const SheetGeometry& s)
{
    CustomGeometry g;
    g.PaperSize = s.paper;
    g.Orientation = s.landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
    g.PageWidth = s.paperWidth;
    g.PageLength = s.paperLength;
    g.TopMargin = s.topMargin;
    g.BottomMargin = s.bottomMargin;
    g.LeftMargin = s.leftMargin;
    g.RightMargin = s.rightMargin;
    g.LabelWidth = s.labelWidth;
    g.LabelHeight = s.labelHeight;
    g.Columns = std::max(s.columns, 1);
    g.Rows = std::max(s.rows, 1);
    g.ColumnSpace = s.columnSpace;
    g.RowSpace = s.rowSpace;
    return g;
}

SettingsPaperPage::SettingsPaperPage(LayoutUnit unit, const UnitContext& ctx, Prompter& prompter,
                                     QWidget* parent)
    : QWizardPage(parent), m_unit(unit), m_ctx(ctx), m_prompter(prompter)
{
    setObjectName(QStringLiteral("paperAndLabelSizePage"));
    setTitle(tr("Paper and Label Size"));
    buildLayout();
    connectSignals();
}

QLineEdit* SettingsPaperPage::addMeasure(Field field, const char* objectName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setValidator(measureValidator(edit));
    edit->setMaximumWidth(80);
    edit->setAlignment(Qt::AlignRight);
    m_measures[field] = edit;
    return edit;
}

QSpinBox* SettingsPaperPage::addCount(const char* objectName)
{
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString::fromLatin1(objectName));
    spin->setRange(1, 99);
    spin->setMaximumWidth(80);
    refuseAllButNonZeroDigits(spin);
    return spin;
}

void SettingsPaperPage::buildLayout()
{
    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("paperSize"));
    for (PaperSize size : selectablePaperSizes())
        m_paper->addItem(QString::fromStdString(paperSizeName(size)), static_cast<int>(size));
    m_portrait = new QRadioButton(tr("&Portrait"), this);
    m_portrait->setObjectName(QStringLiteral("portrait"));
    m_landscape = new QRadioButton(tr("&Landscape"), this);
    m_landscape->setObjectName(QStringLiteral("landscape"));
    auto* orientation = new QButtonGroup(this);
    orientation->addButton(m_portrait);
    orientation->addButton(m_landscape);
    m_columns = addCount("columns");
    m_rows = addCount("rows");
    m_labelWidthCaption = new QLabel(tr("Label width:"), this);
    m_labelHeightCaption = new QLabel(tr("Label height:"), this);
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("paperPreview"));
    m_preview->setFixedSize(160, 180);

    const QString unitText = QString::fromStdString(unitCaption(m_unit));
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel* caption, QWidget* left, QLabel* caption2, QWidget* right) {
        caption->setBuddy(left);
        grid->addWidget(caption, row, 0);
        grid->addWidget(left, row, 1);
        if (qobject_cast<QLineEdit*>(left))
            grid->addWidget(new QLabel(unitText, this), row, 2);
        if (caption2) {
            caption2->setBuddy(right);
            grid->addWidget(caption2, row, 3);
            grid->addWidget(right, row, 4);
            if (qobject_cast<QLineEdit*>(right))
                grid->addWidget(new QLabel(unitText, this), row, 5);
        }
        ++row;
    };
    const auto caption = [this](const QString& text) { return new QLabel(text, this); };
    QLabel* paperCaption = caption(tr("Paper si&ze:"));
    paperCaption->setBuddy(m_paper);
    grid->addWidget(paperCaption, row, 0);
    grid->addWidget(m_paper, row++, 1, 1, 2);
    addRow(caption(tr("Paper &width:")), addMeasure(Field::PaperWidth, "paperWidth"),
           caption(tr("Paper l&ength:")), addMeasure(Field::PaperLength, "paperLength"));
    auto* turn = new QHBoxLayout;
    turn->addWidget(m_portrait);
    turn->addWidget(m_landscape);
    turn->addStretch();
    grid->addWidget(caption(tr("Orientation:")), row, 0);
    grid->addLayout(turn, row++, 1, 1, 5);
    addRow(caption(tr("&Top margin:")), addMeasure(Field::Top, "topMargin"),
           caption(tr("&Bottom margin:")), addMeasure(Field::Bottom, "bottomMargin"));
    addRow(caption(tr("Le&ft margin:")), addMeasure(Field::Left, "leftMargin"),
           caption(tr("&Right margin:")), addMeasure(Field::Right, "rightMargin"));
    addRow(m_labelWidthCaption, addMeasure(Field::LabelWidth, "labelWidth"), m_labelHeightCaption,
           addMeasure(Field::LabelHeight, "labelHeight"));
    addRow(caption(tr("&Columns:")), m_columns, caption(tr("R&ows:")), m_rows);
    addRow(caption(tr("Column s&pace:")), addMeasure(Field::ColumnSpace, "columnSpace"),
           caption(tr("Ro&w space:")), addMeasure(Field::RowSpace, "rowSpace"));
    grid->setRowStretch(row, 1);

    auto* box = new QHBoxLayout(this);
    box->addLayout(grid, 1);
    box->addWidget(m_preview, 0, Qt::AlignTop);
}

void SettingsPaperPage::connectSignals()
{
    const auto kindOf = [](Field f) {
        switch (f) {
        case Field::LabelWidth:
        case Field::LabelHeight:
            return GeometryField::LabelSize;
        case Field::ColumnSpace:
        case Field::RowSpace:
            return GeometryField::Space;
        default:
            return GeometryField::Margin;
        }
    };
    for (auto [field, edit] : m_measures) {
        const GeometryField kind = kindOf(field);
        connect(edit, &QLineEdit::editingFinished, this, [this, kind] {
            if (!m_filling)
                fieldLeft(kind);
        });
        connect(edit, &QLineEdit::textEdited, edit, [edit] { useLocaleSeparator(edit); });
        if (field == Field::PaperWidth || field == Field::PaperLength)
            connect(edit, &QLineEdit::textEdited, this, &SettingsPaperPage::customised);
    }
    for (QSpinBox* spin : {m_columns, m_rows})
        connect(spin, &QSpinBox::valueChanged, this, [this] {
            if (!m_filling)
                fieldLeft(GeometryField::ColumnsRows);
        });
    connect(m_paper, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            paperChosen();
    });
    connect(m_landscape, &QRadioButton::toggled, this, [this] {
        if (!m_filling)
            orientationChosen();
    });
}

void SettingsPaperPage::setGeometry(const CustomGeometry& g)
{
    m_geometry = g;
    if (m_cards) {
        m_geometry.PaperSize = PaperSize::Custom;
        m_geometry.Columns = m_geometry.Rows = 1;
        m_geometry.ColumnSpace = m_geometry.RowSpace = 0;
    }
    showGeometry();
    emit geometryChanged();
}

void SettingsPaperPage::setCardMode(bool cards)
{
    m_cards = cards;
    m_labelWidthCaption->setText(cards ? tr("Printable width:") : tr("Label width:"));
    m_labelHeightCaption->setText(cards ? tr("Printable height:") : tr("Label height:"));
    CustomGeometry g = m_geometry;
    if (cards) {
        // A card is one printable area on a paper of its own size.
        g.PaperSize = PaperSize::Custom;
        g.Columns = g.Rows = 1;
        g.ColumnSpace = g.RowSpace = 0;
        recalculate(g, GeometryField::ColumnsRows, m_unit, m_ctx);
    }
    setGeometry(g);
}

void SettingsPaperPage::showGeometry()
{
    m_filling = true;
    m_paper->setCurrentIndex(m_paper->findData(static_cast<int>(m_geometry.PaperSize)));
    (m_geometry.Orientation == PageOrientation::Landscape ? m_landscape : m_portrait)
        ->setChecked(true);
    const std::pair<Field, double> values[] = {
        {Field::PaperWidth, m_geometry.PageWidth},    {Field::PaperLength, m_geometry.PageLength},
        {Field::Top, m_geometry.TopMargin},           {Field::Bottom, m_geometry.BottomMargin},
        {Field::Left, m_geometry.LeftMargin},         {Field::Right, m_geometry.RightMargin},
        {Field::LabelWidth, m_geometry.LabelWidth},   {Field::LabelHeight, m_geometry.LabelHeight},
        {Field::ColumnSpace, m_geometry.ColumnSpace}, {Field::RowSpace, m_geometry.RowSpace}};
    for (const auto& [field, value] : values)
        m_measures[field]->setText(measureText(value));
    m_columns->setValue(m_geometry.Columns);
    m_rows->setValue(m_geometry.Rows);
    m_filling = false;
    updateEnabledStates();
    m_preview->setPixmap(
        QPixmap::fromImage(sheetPreviewImage(sheetInMm(m_geometry, m_unit, m_ctx), 160, 180)));
}

void SettingsPaperPage::updateEnabledStates()
{
    const bool custom = m_geometry.PaperSize == PaperSize::Custom;
    m_paper->setEnabled(!m_cards);
    m_measures[Field::PaperWidth]->setEnabled(custom);
    m_measures[Field::PaperLength]->setEnabled(custom);
    m_columns->setEnabled(!m_cards);
    m_rows->setEnabled(!m_cards);
    // A single column has no space between columns (the same for rows).
    m_measures[Field::ColumnSpace]->setEnabled(!m_cards && m_geometry.Columns > 1);
    m_measures[Field::RowSpace]->setEnabled(!m_cards && m_geometry.Rows > 1);
}

void SettingsPaperPage::readFields(CustomGeometry& g) const
{
    const auto value = [this](Field f) { return measureValue(m_measures.at(f)->text()); };
    g.PageWidth = value(Field::PaperWidth);
    g.PageLength = value(Field::PaperLength);
    g.TopMargin = value(Field::Top);
    g.BottomMargin = value(Field::Bottom);
    g.LeftMargin = value(Field::Left);
    g.RightMargin = value(Field::Right);
    g.LabelWidth = value(Field::LabelWidth);
    g.LabelHeight = value(Field::LabelHeight);
    g.ColumnSpace = value(Field::ColumnSpace);
    g.RowSpace = value(Field::RowSpace);
    g.Columns = m_columns->value();
    g.Rows = m_rows->value();
}

void SettingsPaperPage::fieldLeft(GeometryField kind)
{
    CustomGeometry g = m_geometry;
    readFields(g);
    const GeometryResult result = recalculate(g, kind, m_unit, m_ctx);
    if (!result.ok) {
        // The fields stay as typed so the user sees what was refused.
        m_prompter.error(result.error);
        return;
    }
    m_geometry = g;
    showGeometry();
    if (result.changed)
        emit customised();
    emit geometryChanged();
}

void SettingsPaperPage::paperChosen()
{
    CustomGeometry g = m_geometry;
    readFields(g);
    g.PaperSize = static_cast<PaperSize>(m_paper->currentData().toInt());
    const GeometryResult result = recalculate(g, GeometryField::Paper, m_unit, m_ctx);
    if (!result.ok) {
        // The paper is taken; the labels are recomputed once the margins fit it.
        m_prompter.error(result.error);
        m_geometry.PaperSize = g.PaperSize;
        CustomGeometry sized = m_geometry;
        recalculate(sized, GeometryField::Paper, m_unit, m_ctx);
        m_geometry.PageWidth = sized.PageWidth;
        m_geometry.PageLength = sized.PageLength;
    } else {
        m_geometry = g;
        if (result.changed)
            emit customised();
    }
    showGeometry();
    emit geometryChanged();
}

void SettingsPaperPage::orientationChosen()
{
    CustomGeometry g = m_geometry;
    readFields(g);
    const auto turned =
        m_landscape->isChecked() ? PageOrientation::Landscape : PageOrientation::Portrait;
    if (turned == g.Orientation)
        return;
    // The paper turns with the page; the labels follow it.
    g.Orientation = turned;
    std::swap(g.PageWidth, g.PageLength);
    CustomGeometry recomputed = g;
    const GeometryResult result = recalculate(recomputed, GeometryField::Margin, m_unit, m_ctx);
    if (result.ok) {
        m_geometry = recomputed;
        if (result.changed)
            emit customised();
    } else {
        m_prompter.error(result.error);
        m_geometry = g;
    }
    showGeometry();
    emit geometryChanged();
}

bool SettingsPaperPage::validatePage()
{
    CustomGeometry g = m_geometry;
    readFields(g);
    const GeometryResult result = recalculate(g, GeometryField::Margin, m_unit, m_ctx);
    if (!result.ok) {
        m_prompter.error(result.error);
        return false;
    }
    m_geometry = g;
    showGeometry();
    emit geometryChanged();
    return true;
}

} // namespace qx7
