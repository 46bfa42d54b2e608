// The "QSO Data field" dialog: which print-queue field a data field shows, chosen in
// three groups (header, QSO line and item, footer line); choosing in one clears the
// others, and the name the choice makes is shown.

#include "ui/designer/ElementDialogs.h"
#include "ui/designer/TextStylePanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qx7 {

namespace {

const char* const kHeaderTexts[] = {"Call sign of QSO partner", "QSL manager", "My own call sign",
                                    "Number of QSOs/label"};
const char* const kItemTexts[] = {"QSO Date",
                                  "QSO Time",
                                  "Band (m) or Freq (MHz)",
                                  "Mode",
                                  "Sub-Mode",
                                  "RST sent",
                                  "RST received",
                                  "Comment",
                                  "Exact frequency",
                                  "\"PSE/TNX QSL\" text",
                                  "Call heard (SWL cards)"};

QListWidget* choiceList(QWidget* parent, const char* name, const QStringList& items)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(items);
    return list;
}

void showChoice(QListWidget* list, int row)
{
    const QSignalBlocker quiet(list);
    list->clearSelection();
    list->setCurrentRow(row, row >= 0 ? QItemSelectionModel::ClearAndSelect
                                      : QItemSelectionModel::Clear);
    if (row < 0)
        list->setCurrentItem(nullptr);
}

} // namespace

DataFieldDialog::DataFieldDialog(const LayoutElement& element, QWidget* parent)
    : ElementDialog(element, tr("QSO Data field"), "DataFieldDialog", parent)
{
    QStringList headers, lines, items, footers;
    for (const char* t : kHeaderTexts)
        headers << QString::fromLatin1(t);
    for (int n = 1; n <= kMaxQsoLines; ++n)
        lines << QStringLiteral("%1  (%2)").arg(QChar('A' + n - 1)).arg(n);
    for (const char* t : kItemTexts)
        items << QString::fromLatin1(t);
    for (int n = 1; n <= kMaxFooterLines; ++n)
        footers << QStringLiteral("#%1").arg(n);
    m_header = choiceList(this, "headerFields", headers);
    m_line = choiceList(this, "qsoLine", lines);
    m_item = choiceList(this, "qsoItem", items);
    m_footer = choiceList(this, "footerLine", footers);
    m_chosen = control<QLabel>("chosenField");
    m_style = new TextStylePanel(element, {true, false, true}, this);

    auto* header = new QGroupBox(tr("Header section"), this);
    (new QVBoxLayout(header))->addWidget(m_header);
    auto* qso = new QGroupBox(tr("QSO lines section"), this);
    auto* qsoGrid = new QGridLayout(qso);
    qsoGrid->addWidget(new QLabel(tr(" for QSO line #: "), qso), 0, 0);
    qsoGrid->addWidget(m_line, 1, 0);
    qsoGrid->addWidget(m_item, 0, 1, 2, 1);
    auto* footer = new QGroupBox(tr("Footer section"), this);
    auto* footerBox = new QVBoxLayout(footer);
    footerBox->addWidget(new QLabel(tr(" Footer line: "), footer));
    footerBox->addWidget(m_footer);
    auto* groups = new QHBoxLayout;
    groups->addWidget(header, 3);
    groups->addWidget(qso, 4);
    groups->addWidget(footer, 1);
    m_item->setMinimumWidth(170);
    m_line->setMaximumWidth(90);
    m_header->setMaximumHeight(120);
    auto* chosen = new QHBoxLayout;
    chosen->addWidget(new QLabel(tr("Field:"), this));
    chosen->addWidget(m_chosen, 1);
    body()->addLayout(groups, 1);
    finish(chosen, m_style);

    // Only a selection chooses: a list that merely takes the focus picks nothing.
    const auto onChoice = [this](QListWidget* list, auto make) {
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list, make] {
            const QList<QListWidgetItem*> picked = list->selectedItems();
            if (!picked.isEmpty())
                choose(make(list->row(picked.front())));
        });
    };
    onChoice(m_header, [this](int row) {
        return FieldChoice{FieldChoice::Group::Header, row, m_choice.line, m_choice.item,
                           m_choice.footer};
    });
    // A line without an item shows the date; an item without a line is on line A.
    onChoice(m_line, [this](int row) {
        const int item = m_choice.group == FieldChoice::Group::QsoLine ? m_choice.item : 0;
        return FieldChoice{FieldChoice::Group::QsoLine, m_choice.header, row + 1, item,
                           m_choice.footer};
    });
    onChoice(m_item, [this](int row) {
        const int line = m_choice.group == FieldChoice::Group::QsoLine ? m_choice.line : 1;
        return FieldChoice{FieldChoice::Group::QsoLine, m_choice.header, line, row,
                           m_choice.footer};
    });
    onChoice(m_footer, [this](int row) {
        return FieldChoice{FieldChoice::Group::Footer, m_choice.header, m_choice.line,
                           m_choice.item, row + 1};
    });
    choose(decodeFieldName(element.dataField));
    resize(720, 560);
}

void DataFieldDialog::choose(FieldChoice choice)
{
    m_choice = choice;
    const bool header = choice.group == FieldChoice::Group::Header;
    const bool line = choice.group == FieldChoice::Group::QsoLine;
    const bool footer = choice.group == FieldChoice::Group::Footer;
    showChoice(m_header, header ? choice.header : -1);
    showChoice(m_line, line ? choice.line - 1 : -1);
    showChoice(m_item, line ? choice.item : -1);
    showChoice(m_footer, footer ? choice.footer - 1 : -1);
    m_chosen->setText(QString::fromStdString(fieldName()));
}

std::string DataFieldDialog::fieldName() const
{
    return fieldNameOf(m_choice);
}

bool DataFieldDialog::store(LayoutElement& element)
{
    element.dataField = fieldName();
    element.caption = element.dataField;
    // The display mask of a field does not survive a new choice.
    element.mask.clear();
    m_style->store(element);
    return true;
}

} // namespace qx7
