#include "ui/designer/TQXDesSettingsForm.h"

#include "labels/LayoutOperations.h"
#include "labels/render/QtTextMeasure.h"
#include "labels/render/SheetPreviewPainter.h"
#include "ui/designer/SettingsLabelTypePage.h"
#include "ui/designer/SettingsPaperPage.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace qx7 {

namespace {

// The pictures beside the two kinds of layout: a sheet of labels, a card.
SheetGeometry labelSheetPicture()
{
    SheetGeometry s;
    s.paperWidth = 210;
    s.paperLength = 297;
    s.topMargin = s.bottomMargin = 21.5;
    s.leftMargin = s.rightMargin = 7.2;
    s.columns = 2;
    s.rows = 6;
    s.columnSpace = 2.5;
    s.labelWidth = 96.5;
    s.labelHeight = 42.3;
    return s;
}

SheetGeometry cardPicture()
{
    SheetGeometry s;
    s.paper = PaperSize::Custom;
    s.landscape = true;
    s.paperWidth = 140;
    s.paperLength = 90;
    s.topMargin = s.bottomMargin = s.leftMargin = s.rightMargin = 6;
    s.labelWidth = 128;
    s.labelHeight = 78;
    return s;
}

} // namespace

TQXDesSettingsForm::TQXDesSettingsForm(const LabelLayout& layout, Mode mode, Prompter& prompter,
                                       QWidget* parent)
    : QWizard(parent), m_layout(layout), m_result(layout), m_mode(mode), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TQXDesSettingsForm"));
    setWizardStyle(QWizard::ClassicStyle);
    setWindowTitle(mode == Mode::NewLayout ? tr("New Layout Definition Wizard")
                                           : tr("Layout Settings"));
    setButtonText(QWizard::BackButton, tr("<< &Back"));
    setButtonText(QWizard::NextButton, tr("&Next >>"));
    setButtonText(QWizard::FinishButton, tr("&Finish"));
    setButtonText(QWizard::CancelButton, tr("&Cancel"));
    setButtonText(QWizard::HelpButton, tr("&Help"));
    setOption(QWizard::HaveHelpButton);
    connect(this, &QWizard::helpRequested, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kDesignerNewLayout), this); });
    // The settings of a layout can be taken from any page.
    setOption(QWizard::HaveFinishButtonOnEarlyPages, mode == Mode::Settings);

    const UnitContext ctx = layout.unitContext();
    m_typePage = new SettingsLabelTypePage(layout.Units, ctx, this);
    m_paperPage = new SettingsPaperPage(layout.Units, ctx, prompter, this);
    m_finishPage = new SettingsFinishPage(layout, this);
    if (mode == Mode::NewLayout) {
        setPage(NewLayoutPage, newLayoutPage());
        // A new layout gets the standard label unless the user says otherwise.
        m_finishPage->setActions({true, true, true});
    }
    setPage(LabelTypePage, m_typePage);
    setPage(PaperPage, m_paperPage);
    setPage(FinishPage, m_finishPage);

    connect(
        m_typePage, &SettingsLabelTypePage::sheetChosen, this,
        [this](const SheetGeometry& sheet) { m_paperPage->setGeometry(geometryOfSheet(sheet)); });
    connect(m_paperPage, &SettingsPaperPage::customised, m_typePage,
            &SettingsLabelTypePage::setCustomType);
    connect(m_paperPage, &SettingsPaperPage::geometryChanged, this,
            &TQXDesSettingsForm::showPictures);
    connect(this, &QWizard::currentIdChanged, this, &TQXDesSettingsForm::enterPage);

    m_paperPage->setGeometry(geometryFromPage(layout.Page, layout.Units, ctx));
    const bool standard =
        mode == Mode::Settings && layout.Page.PaperSize != PaperSize::Custom &&
        m_typePage->selectRemembered(layout.Page.LabelName, layout.Page.LabelType);
    if (mode == Mode::Settings && !standard)
        m_typePage->setCustomType();
    setStartId(mode == Mode::NewLayout ? NewLayoutPage : LabelTypePage);
    if (mode == Mode::Settings && !standard) {
        // A sheet of one's own opens on its sizes; "Label Type" stays one step back, as if
        // the user had come from there, so that another sheet can still be chosen.
        restart();
        next();
    }
    showPictures();
    resize(640, 460);
}

TQXDesSettingsForm::~TQXDesSettingsForm() = default;

QWizardPage* TQXDesSettingsForm::newLayoutPage()
{
    auto* page = new QWizardPage(this);
    page->setObjectName(QStringLiteral("newLayoutPage"));
    page->setTitle(tr("New Layout"));
    m_labels = new QRadioButton(tr("&Print on QSL labels"), page);
    m_labels->setObjectName(QStringLiteral("printOnLabels"));
    m_cards = new QRadioButton(tr("Print on &QSL cards"), page);
    m_cards->setObjectName(QStringLiteral("printOnCards"));
    auto* kind = new QButtonGroup(page);
    kind->addButton(m_labels);
    kind->addButton(m_cards);
    m_labels->setChecked(true);
    const auto picture = [page](const SheetGeometry& s) {
        auto* label = new QLabel(page);
        label->setPixmap(QPixmap::fromImage(sheetPreviewImage(s, 160, 180)));
        return label;
    };
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(tr("Select layout type:"), page), 0, 0, 1, 2);
    grid->addWidget(m_labels, 1, 0);
    grid->addWidget(m_cards, 1, 1);
    grid->addWidget(picture(labelSheetPicture()), 2, 0);
    grid->addWidget(picture(cardPicture()), 2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

int TQXDesSettingsForm::nextId() const
{
    switch (currentId()) {
    case NewLayoutPage:
        return m_cards->isChecked() ? PaperPage : LabelTypePage;
    case LabelTypePage:
        return PaperPage;
    case PaperPage:
        return FinishPage;
    default:
        return -1;
    }
}

void TQXDesSettingsForm::enterPage(int id)
{
    // "Label Type" is where the settings of a layout begin: nothing lies before it.
    if (m_mode == Mode::Settings) {
        QList<WizardButton> buttons{Stretch};
        if (id != LabelTypePage)
            buttons << BackButton;
        buttons << NextButton << FinishButton << CancelButton << HelpButton;
        setButtonLayout(buttons);
    }
    // The kind chosen on the first page decides what the geometry pages offer.
    if (m_mode != Mode::NewLayout || id == NewLayoutPage || id == FinishPage)
        return;
    const bool cards = m_cards->isChecked();
    if (cards != m_paperPage->cardMode()) {
        m_paperPage->setCardMode(cards);
        if (cards)
            m_typePage->setCustomType();
    }
    m_typePage->setEnabled(!cards);
}

void TQXDesSettingsForm::showPictures()
{
    const QPixmap picture = QPixmap::fromImage(sheetPreviewImage(
        sheetInMm(m_paperPage->geometry(), m_layout.Units, m_layout.unitContext()), 160, 180));
    m_typePage->setPreview(picture);
    m_finishPage->setPreview(picture);
}

void TQXDesSettingsForm::writeBack()
{
    LabelLayout& l = m_result;
    l = m_layout;
    l.ReportTitle.clear();
    applyGeometry(m_paperPage->geometry(), l.Page, l.Units, l.unitContext());
    m_finishPage->writeTo(l);
    if (m_typePage->standardType()) {
        l.Page.LabelName = m_typePage->maker();
        l.Page.LabelType = m_typePage->typeText();
    } else {
        l.Page.LabelName = kCustomMaker;
        l.Page.LabelType.clear();
    }
}

void TQXDesSettingsForm::accept()
{
    // Finish on an early page takes the geometry as the fields show it.
    if (currentId() == PaperPage && !m_paperPage->validatePage())
        return;
    writeBack();
    const FinishActions actions = m_finishPage->actions();
    if (actions.createTemplate)
        createLayoutTemplate(m_result, QtTextMeasure());
    if (actions.addMissingFields)
        addMissingFields(m_result, m_prompter);
    if (actions.adjustLines)
        adjustLines(m_result);
    QWizard::accept();
}

} // namespace qx7
