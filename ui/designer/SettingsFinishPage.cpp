#include "ui/designer/SettingsFinishPage.h"

#include "ui/designer/WizardInput.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qx7 {

namespace {

QString joinLines(const std::vector<std::string>& lines)
{
    QStringList out;
    for (const std::string& l : lines)
        out << QString::fromStdString(l);
    return out.join(QLatin1Char('\n'));
}

} // namespace

SettingsFinishPage::SettingsFinishPage(const LabelLayout& layout, QWidget* parent)
    : QWizardPage(parent), m_unit(layout.Units), m_ctx(layout.unitContext())
{
    setObjectName(QStringLiteral("finishPage"));
    setTitle(tr("Finish"));
    m_qsoLines = new QSpinBox(this);
    m_qsoLines->setObjectName(QStringLiteral("qsoLines"));
    m_qsoLines->setRange(1, 16);
    m_qsoLines->setMaximumWidth(80);
    m_qsoLines->setValue(std::clamp(int(layout.Page.QSOLines), 1, 16));
    m_footerLines = new QSpinBox(this);
    m_footerLines->setObjectName(QStringLiteral("footerLines"));
    m_footerLines->setRange(0, 3);
    m_footerLines->setMaximumWidth(80);
    m_footerLines->setValue(std::clamp(int(layout.Page.FooterLines), 0, 3));
    const auto measure = [this](const char* name, double tenths) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setValidator(measureValidator(edit));
        edit->setMaximumWidth(80);
        edit->setAlignment(Qt::AlignRight);
        edit->setText(measureText(fromTenthsMm(tenths, m_unit, m_ctx)));
        connect(edit, &QLineEdit::textEdited, edit, [edit] { useLocaleSeparator(edit); });
        connect(edit, &QLineEdit::editingFinished, edit,
                [edit] { edit->setText(measureText(measureValue(edit->text()))); });
        return edit;
    };
    m_qsoSpace = measure("qsoLineSpace", layout.Page.QSOLineSpace);
    m_footerSpace = measure("footerLineSpace", layout.Page.FooterLineSpace);
    m_description = new QPlainTextEdit(joinLines(layout.Description), this);
    m_description->setObjectName(QStringLiteral("description"));
    m_template = new QCheckBox(tr("Create layout te&mplate"), this);
    m_template->setObjectName(QStringLiteral("createTemplate"));
    m_addMissing = new QCheckBox(tr("&Add missing fields automatically"), this);
    m_addMissing->setObjectName(QStringLiteral("addMissingFields"));
    m_adjust = new QCheckBox(tr("A&djust all QSO and footer lines"), this);
    m_adjust->setObjectName(QStringLiteral("adjustLines"));
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("finishPreview"));
    m_preview->setFixedSize(160, 180);

    const QString unit = QString::fromStdString(unitCaption(m_unit));
    const auto withUnit = [this, &unit](QWidget* w) {
        auto* row = new QHBoxLayout;
        row->addWidget(w);
        row->addWidget(new QLabel(unit, this));
        row->addStretch();
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(tr("Number of &QSO lines:"), m_qsoLines);
    form->addRow(tr("&Number of footer lines:"), m_footerLines);
    const auto spaceRow = [this, form, &withUnit](const QString& text, QLineEdit* edit) {
        auto* caption = new QLabel(text, this);
        caption->setBuddy(edit);
        form->addRow(caption, withUnit(edit));
    };
    spaceRow(tr("Space betw. Q&SO lines:"), m_qsoSpace);
    spaceRow(tr("Space betw. foo&ter lines:"), m_footerSpace);
    auto* describe = new QLabel(tr("&Layout description and notes:"), this);
    describe->setBuddy(m_description);
    auto* actions = new QGroupBox(tr("Actions after finish:"), this);
    auto* actionsBox = new QVBoxLayout(actions);
    actionsBox->addWidget(m_template);
    actionsBox->addWidget(m_addMissing);
    actionsBox->addWidget(m_adjust);
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(describe);
    left->addWidget(m_description, 1);
    left->addWidget(actions);
    auto* box = new QHBoxLayout(this);
    box->addLayout(left, 1);
    box->addWidget(m_preview, 0, Qt::AlignTop);

    // A new template brings every line, so completing and aligning come with it.
    connect(m_template, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            m_addMissing->setChecked(true);
            m_adjust->setChecked(true);
        }
        m_addMissing->setEnabled(!on);
        m_adjust->setEnabled(!on);
    });
}

void SettingsFinishPage::writeTo(LabelLayout& layout) const
{
    layout.Page.QSOLines = static_cast<std::uint16_t>(m_qsoLines->value());
    layout.Page.FooterLines = static_cast<std::uint16_t>(m_footerLines->value());
    layout.Page.QSOLineSpace = toTenthsMm(measureValue(m_qsoSpace->text()), m_unit, m_ctx);
    layout.Page.FooterLineSpace = toTenthsMm(measureValue(m_footerSpace->text()), m_unit, m_ctx);
    layout.Description.clear();
    const QString text = m_description->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n')))
            layout.Description.push_back(line.toStdString());
}

FinishActions SettingsFinishPage::actions() const
{
    return {m_template->isChecked(), m_addMissing->isChecked(), m_adjust->isChecked()};
}

void SettingsFinishPage::setActions(const FinishActions& actions)
{
    m_template->setChecked(actions.createTemplate);
    if (!actions.createTemplate) {
        m_addMissing->setChecked(actions.addMissingFields);
        m_adjust->setChecked(actions.adjustLines);
    }
}

void SettingsFinishPage::setPreview(const QPixmap& picture)
{
    m_preview->setPixmap(picture);
}

} // namespace qx7
