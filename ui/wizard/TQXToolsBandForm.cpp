#include "ui/wizard/TQXToolsBandForm.h"

#include "ui/wizard/OptionButtons.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qx7 {

TQXToolsBandForm::TQXToolsBandForm(int bandMode, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TQXToolsBandForm"));
    setWindowTitle(tr("Band/frequency field contains"));
    auto* v = new QVBoxLayout(this);
    auto* group = new QGroupBox;
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto* g = new QVBoxLayout(group);
    const QString texts[] = {tr("band or freq &information (m/MHz)"),
                             tr("&band information only (m)"),
                             tr("&frequency information only  (MHz)")};
    for (int i = 0; i < 3; ++i) {
        m_choices[i] = new QRadioButton(texts[i]);
        m_choices[i]->setObjectName(QStringLiteral("BandChoice%1").arg(i));
        g->addWidget(m_choices[i]);
    }
    const int index = bandMode + 1;
    m_choices[index >= 0 && index <= 2 ? index : 0]->setChecked(true);
    v->addWidget(group);
    auto* buttons = optionButtons(*this);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

int TQXToolsBandForm::bandMode() const
{
    for (int i = 0; i < 3; ++i)
        if (m_choices[i]->isChecked())
            return i - 1;
    return -1;
}

int TQXToolsBandForm::edit(int bandMode, QWidget* parent)
{
    TQXToolsBandForm dlg(bandMode, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.bandMode() : bandMode;
}

} // namespace qx7
