#include "ui/designer/SettingsLabelTypePage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qx7 {

SettingsLabelTypePage::SettingsLabelTypePage(LayoutUnit unit, const UnitContext& ctx,
                                             QWidget* parent)
    : QWizardPage(parent), m_unit(unit), m_ctx(ctx)
{
    setObjectName(QStringLiteral("labelTypePage"));
    setTitle(tr("Label Type"));
    m_standard = new QRadioButton(tr("&Standard Type"), this);
    m_standard->setObjectName(QStringLiteral("standardType"));
    m_custom = new QRadioButton(tr("C&ustom Type"), this);
    m_custom->setObjectName(QStringLiteral("customType"));
    auto* kind = new QButtonGroup(this);
    kind->addButton(m_standard);
    kind->addButton(m_custom);
    m_makers = new QComboBox(this);
    m_makers->setObjectName(QStringLiteral("LabelFormatComboBox"));
    for (const std::string& maker : SheetCatalogue::builtIn().makerChoices())
        m_makers->addItem(QString::fromStdString(maker));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LabelFormatListBox"));
    m_listCaption = new QLabel(tr("T&ype:"), this);
    m_listCaption->setBuddy(m_list);
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("labelTypePreview"));
    m_preview->setFixedSize(160, 180);

    auto* makerCaption = new QLabel(tr("Label &Manufacturer:"), this);
    makerCaption->setBuddy(m_makers);
    auto* choose = new QVBoxLayout;
    choose->addWidget(m_standard);
    choose->addWidget(m_custom);
    choose->addWidget(makerCaption);
    choose->addWidget(m_makers);
    choose->addWidget(m_listCaption);
    choose->addWidget(m_list, 1);
    auto* box = new QHBoxLayout(this);
    box->addLayout(choose, 1);
    box->addWidget(m_preview, 0, Qt::AlignTop);

    m_custom->setChecked(true);
    m_list->hide();
    m_listCaption->hide();
    connect(m_makers, &QComboBox::currentIndexChanged, this, &SettingsLabelTypePage::makerChosen);
    connect(m_list, &QListWidget::currentRowChanged, this, &SettingsLabelTypePage::typeChosen);
    connect(m_standard, &QRadioButton::clicked, this, [this] {
        m_makers->setEnabled(true);
        m_list->setEnabled(true);
    });
    connect(m_custom, &QRadioButton::clicked, this, &SettingsLabelTypePage::setCustomType);
}

void SettingsLabelTypePage::makerChosen()
{
    const std::string maker = m_makers->currentText().toStdString();
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    m_types.clear();
    if (m_makers->currentIndex() > 0) {
        const char sep = QLocale().decimalPoint().at(0).toLatin1();
        m_types = SheetCatalogue::builtIn().typesOf(maker, m_unit, m_ctx, sep);
        for (const SheetType& t : m_types)
            m_list->addItem(QString::fromStdString(t.listText));
    }
    // The list shows only when the maker has sheets.
    m_list->setVisible(!m_types.empty());
    m_listCaption->setVisible(!m_types.empty());
}

void SettingsLabelTypePage::typeChosen()
{
    const int row = m_list->currentRow();
    if (m_makers->currentIndex() <= 0 || row < 0 || row >= int(m_types.size()))
        return;
    LabelFormatRec rec;
    if (!parseLabelFormatRow(m_types[size_t(row)].row, rec, m_unit, m_ctx))
        return;
    m_standard->setChecked(true);
    m_makers->setEnabled(true);
    emit sheetChosen(applySheet(rec, m_unit, m_ctx));
}

bool SettingsLabelTypePage::selectRemembered(const std::string& labelName,
                                             const std::string& labelType)
{
    const auto found = SheetCatalogue::builtIn().find(labelName, labelType, m_unit, m_ctx,
                                                      QLocale().decimalPoint().at(0).toLatin1());
    if (!found)
        return false;
    m_makers->setCurrentText(QString::fromStdString(found->maker));
    if (!found->typeIndex)
        return false;
    m_list->setCurrentRow(int(*found->typeIndex));
    return true;
}

bool SettingsLabelTypePage::standardType() const
{
    return m_standard->isChecked();
}

std::string SettingsLabelTypePage::maker() const
{
    return m_makers->currentText().toStdString();
}

std::string SettingsLabelTypePage::typeText() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item && m_makers->currentIndex() > 0 ? item->text().toStdString() : std::string();
}

void SettingsLabelTypePage::setCustomType()
{
    m_custom->setChecked(true);
    {
        const QSignalBlocker quiet(m_makers);
        m_makers->setCurrentIndex(0);
    }
    makerChosen();
    m_makers->setEnabled(false);
    m_list->setEnabled(false);
}

void SettingsLabelTypePage::setPreview(const QPixmap& picture)
{
    m_preview->setPixmap(picture);
}

} // namespace qx7
