#include "ui/designer/TQXDesOptionsForm.h"

#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace qx7 {

TQXDesOptionsForm::TQXDesOptionsForm(double gridMm, bool snap, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TQXDesOptionsForm"));
    setWindowTitle(tr("QX Label Designer Options"));
    m_grid = new QDoubleSpinBox(this);
    m_grid->setObjectName(QStringLiteral("gridSize"));
    m_grid->setRange(0.1, 20.0);
    m_grid->setDecimals(1);
    // The grid-size arrows step half a millimetre, the usual grain of label layouts.
    m_grid->setSingleStep(0.5);
    m_grid->setSuffix(tr(" mm"));
    m_grid->setValue(gridMm);
    m_snap = new QCheckBox(tr("&Snap to grid"), this);
    m_snap->setObjectName(QStringLiteral("snapToGrid"));
    m_snap->setChecked(snap);
    auto* form = new QFormLayout;
    form->addRow(tr("&Grid size:"), m_grid);
    form->addRow(QString(), m_snap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    addHelpButton(*buttons, help::kDesignerOptions);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(buttons);
}

double TQXDesOptionsForm::gridMm() const
{
    return m_grid->value();
}

bool TQXDesOptionsForm::snap() const
{
    return m_snap->isChecked();
}

} // namespace qx7
