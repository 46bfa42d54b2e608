#include "ui/wizard/TQXToolsAdifForm.h"

#include "convert/readers/AdifReader.h"
#include "core/IniFile.h"
#include "core/Prompter.h"
#include "datamodule/TQXDM.h"
#include "ui/help/HelpTopics.h"
#include "ui/wizard/OptionButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx7 {

TQXToolsAdifForm::TQXToolsAdifForm(TQXDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TQXToolsAdifForm"));
    setWindowTitle(tr("ADIF Import Options"));
    auto* v = new QVBoxLayout(this);
    auto* text = new QLabel(
        tr("QX has a field (log column) for QSO comments (60 characters). This comment field "
           "can optionally be filled with an ADIF field (from your ADIF import file) that you "
           "select in the drop down list below."));
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    v->addWidget(text);
    m_choices = new QComboBox;
    m_choices->setObjectName(QStringLiteral("AdifComboBox"));
    for (std::string_view choice : adifCommentChoices())
        m_choices->addItem(QString::fromUtf8(choice.data(), static_cast<int>(choice.size())));
    // The item that holds the tag in force.
    const QString tag = QString::fromStdString(m_dm.AdifCommentTag);
    for (int i = 0; i < m_choices->count(); ++i)
        if (m_choices->itemText(i).contains(tag, Qt::CaseInsensitive)) {
            m_choices->setCurrentIndex(i);
            break;
        }
    v->addWidget(m_choices);
    v->addStretch();
    auto* buttons = optionButtons(*this, help::kAdifOptions);
    v->addWidget(buttons);
    connect(m_choices, &QComboBox::activated, this, [this](int index) { choose(index); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { save(); });
}

void TQXToolsAdifForm::choose(int index)
{
    if (index >= 0)
        m_dm.AdifCommentTag = commentTagOf(m_choices->itemText(index).toStdString());
}

void TQXToolsAdifForm::save()
{
    IniFile ini(m_dm.iniPath());
    ini.writeString("Convert", "AdifComment", m_dm.AdifCommentTag);
    if (!ini.save()) {
        m_dm.prompter().error("Cannot write " + m_dm.iniPath());
        return;
    }
    accept();
}

} // namespace qx7
