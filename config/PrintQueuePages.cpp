#include "config/PrintQueuePages.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace qx7 {

HandlingPage::HandlingPage(QWidget* parent) : ConfigPage(QStringLiteral("config01"), parent)
{
    setObjectName(QStringLiteral("handlingPage"));
    m_confirmF2 = addCheck(tr("Confirmation prompt &before F2/F3"), "confirmF2Check");
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("Show a continue/discontinue prompt after # &pages:"), this);
    m_pages = new QLineEdit(this);
    m_pages->setObjectName(QStringLiteral("pageConfEdit"));
    m_pages->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    m_pages->setMaximumWidth(60);
    label->setBuddy(m_pages);
    row->addWidget(label);
    row->addWidget(m_pages);
    row->addWidget(new QLabel(tr("(or 0 for no prompt)"), this));
    row->addStretch();
    box()->addLayout(row);
    watch(m_pages);
    m_clearSearch = addCheck(tr("Clear search &fields after F2/F3"), "clearSearchCheck");
}

void HandlingPage::load(const TQXDM& dm, const IniFile&)
{
    m_confirmF2->setChecked(dm.ConfirmF2);
    m_pages->setText(QString::number(dm.PageConf));
    m_clearSearch->setChecked(dm.ClearSearchFields);
}

void HandlingPage::apply(TQXDM& dm) const
{
    dm.ConfirmF2 = m_confirmF2->isChecked();
    dm.PageConf = m_pages->text().toInt(); // an empty field means no prompt
    dm.ClearSearchFields = m_clearSearch->isChecked();
}

void HandlingPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeBool("System", "ClearSearchFields", dm.ClearSearchFields);
    ini.writeBool("System", "ConfirmF2", dm.ConfirmF2);
    ini.writeInteger("Sort", "PageConf", dm.PageConf);
}

ConfirmQsosPage::ConfirmQsosPage(QWidget* parent) : ConfigPage(QStringLiteral("config02"), parent)
{
    setObjectName(QStringLiteral("confirmPage"));
    m_again = addCheck(tr("Confirm QSOs again, if previously confirmed"), "cfmAgnQCheck");
    m_all = addCheck(tr("Confirm all QSOs, regardless of the 'QSL Sent' status"), "cfmAllQCheck");
    m_newBands = addCheck(tr("Confirm only new bands"), "cfmNewBCheck");
    m_newModes = addCheck(tr("Confirm only new modes"), "cfmNewMCheck");
    m_allExceptY =
        addCheck(tr("Confirm all QSOs with no QSL sent status \"Y\""), "cfmAllExceptYCheck");
    m_firstFirst = addCheck(
        tr("Print first QSO's first, if you had several QSOs with a station on the same band"),
        "priFiFoCheck");
    connect(m_allExceptY, &QCheckBox::toggled, this, &ConfirmQsosPage::followAllExceptY);
}

void ConfirmQsosPage::followAllExceptY()
{
    // The four boxes keep their values; they only do not count while this one is ticked.
    for (QCheckBox* c : {m_again, m_all, m_newBands, m_newModes})
        c->setEnabled(!m_allExceptY->isChecked());
}

void ConfirmQsosPage::load(const TQXDM& dm, const IniFile&)
{
    m_again->setChecked(dm.CfmAgnQ);
    m_all->setChecked(dm.CfmAllQ);
    m_newBands->setChecked(dm.CfmNewB);
    m_newModes->setChecked(dm.CfmNewM);
    m_allExceptY->setChecked(dm.CfmAllExceptY);
    m_firstFirst->setChecked(dm.PriFiFo);
    followAllExceptY();
}

void ConfirmQsosPage::apply(TQXDM& dm) const
{
    dm.CfmAgnQ = m_again->isChecked();
    dm.CfmAllQ = m_all->isChecked();
    dm.CfmNewB = m_newBands->isChecked();
    dm.CfmNewM = m_newModes->isChecked();
    dm.CfmAllExceptY = m_allExceptY->isChecked();
    dm.PriFiFo = m_firstFirst->isChecked();
}

void ConfirmQsosPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeBool("Sort", "CfmAgnQ", dm.CfmAgnQ);
    ini.writeBool("Sort", "CfmAllQ", dm.CfmAllQ);
    ini.writeBool("Sort", "CfmNewB", dm.CfmNewB);
    ini.writeBool("Sort", "CfmNewM", dm.CfmNewM);
    ini.writeBool("Sort", "CfmAllExceptY", dm.CfmAllExceptY);
    ini.writeBool("Sort", "PriFiFo", dm.PriFiFo);
}

SortingPage::SortingPage(QWidget* parent) : ConfigPage(QStringLiteral("config03"), parent)
{
    setObjectName(QStringLiteral("sortingPage"));
    m_qsoOrder =
        addRadioGroup(tr(" If you have more than one &QSO to print on a label, sort them...  "),
                      {tr("by bands"), tr("by modes"), tr("chronological")}, "sortTyp");
    m_queueOrder =
        addRadioGroup(tr(" Sort order of the Print Queue "),
                      {tr("&First in, first out - recommended for incoming direct QSL cards"),
                       tr("&Alphabetical - recommended for outgoing bureau QSL cards")},
                      "indexOnQXPQ");
    m_merge = addCheck(tr("&Merge QSOs in print queue and/or from different logs into one label"),
                       "mergeLabelsCheck");
}

void SortingPage::load(const TQXDM& dm, const IniFile&)
{
    if (auto* b = m_qsoOrder->button(std::clamp(dm.SortTyp, 1, 3) - 1))
        b->setChecked(true);
    if (auto* b = m_queueOrder->button(dm.IndexOnQXPQ == 1 ? 1 : 0))
        b->setChecked(true);
    m_merge->setChecked(dm.MergeLabels);
}

void SortingPage::apply(TQXDM& dm) const
{
    dm.SortTyp = m_qsoOrder->checkedId() + 1;
    // The setter switches the open queue to the new order at once.
    const int order = m_queueOrder->checkedId();
    if (order != dm.IndexOnQXPQ)
        dm.setIndexOnQXPQ(order);
    dm.MergeLabels = m_merge->isChecked();
}

void SortingPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeInteger("Sort", "SortTyp", dm.SortTyp);
    ini.writeInteger("Sort", "IndexOnQXPQ", dm.IndexOnQXPQ);
    ini.writeBool("System", "MergeLabels", dm.MergeLabels);
}

EmptyPage::EmptyPage(QWidget* parent) : ConfigPage(QStringLiteral("config04"), parent)
{
    setObjectName(QStringLiteral("emptyPage"));
    m_autoDelete =
        addCheck(tr("&Automatically delete Print Queue after printing?"), "autoDeleteCheck");
}

void EmptyPage::load(const TQXDM& dm, const IniFile&)
{
    m_autoDelete->setChecked(dm.AutoDeleteQXPQ);
}

void EmptyPage::apply(TQXDM& dm) const
{
    dm.AutoDeleteQXPQ = m_autoDelete->isChecked();
}

void EmptyPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeBool("Sort", "AutoDeleteQXPQ", dm.AutoDeleteQXPQ);
}

} // namespace qx7
