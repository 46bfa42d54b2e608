// The layout settings wizard walked as a user walks it: a new layout on a sheet from the
// catalogue, and one on a QSL card of one's own size; each saved, reloaded and found
// the same. Refused geometries say why and change nothing.

#include "DesignerFixture.h"
#include "labels/QxdFile.h"
#include "ui/designer/TQXDesSettingsForm.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace designertest;

// Types into a measure field and leaves it.
void enter(QWidget& page, const char* field, const QString& text)
{
    auto* edit = child<QLineEdit>(page, field);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
}

class DesignerWizardTest : public DesignerFixture
{
protected:
    // The wizard the designer opens is handed to `walk`, which returns the answer.
    void walkWizard(std::function<int(TQXDesSettingsForm&)> walk)
    {
        m_designer.setDialogRunner([walk](QDialog& d) {
            auto* wizard = qobject_cast<TQXDesSettingsForm*>(&d);
            EXPECT_NE(wizard, nullptr);
            if (!wizard)
                return int(QDialog::Rejected);
            wizard->show();
            return walk(*wizard);
        });
    }

    // Saves, reads the file back, and opens it in a designer of its own.
    void expectSameAfterReload(const char* name)
    {
        const std::string path = m_dir.filePath(QLatin1String(name)).toStdString();
        ASSERT_EQ(m_designer.saveLayoutAs(path), "");
        LabelLayout reread;
        ASSERT_TRUE(loadLayout(path, reread));
        EXPECT_EQ(reread.Page, m_designer.layout().Page);
        EXPECT_EQ(reread.Elements, m_designer.layout().Elements);
        TQXDesigner other;
        other.setPrompter(m_prompter);
        ASSERT_EQ(other.openLayout(path), "");
        EXPECT_EQ(other.layout().Page, m_designer.layout().Page);
        EXPECT_EQ(other.layout().Elements, m_designer.layout().Elements);
    }

    std::vector<std::string> shownTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& s : m_prompter.shown)
            texts.push_back(s.text);
        return texts;
    }
};

TEST_F(DesignerWizardTest, NewLayoutOnACatalogueSheetIsSavedAndReloaded)
{
    walkWizard([](TQXDesSettingsForm& w) {
        EXPECT_EQ(w.windowTitle(), "New Layout Definition Wizard");
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::NewLayoutPage);
        keepPicture(w, "designer-wizard-new");
        w.next();
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::LabelTypePage);
        auto* makers = child<QComboBox>(w, "LabelFormatComboBox");
        auto* types = child<QListWidget>(w, "LabelFormatListBox");
        EXPECT_EQ(makers->itemText(0), "Custom");
        EXPECT_TRUE(types->isHidden());
        makers->setCurrentText(QStringLiteral("AOne"));
        EXPECT_FALSE(types->isHidden());
        const auto found = types->findItems(QStringLiteral("28171 ("), Qt::MatchStartsWith);
        EXPECT_EQ(found.size(), 1);
        if (found.empty())
            return int(QDialog::Rejected);
        types->setCurrentItem(found.front());
        EXPECT_EQ(found.front()->text(), "28171 (90.2 x 42.3)");
        EXPECT_TRUE(child<QRadioButton>(w, "standardType")->isChecked());
        keepPicture(w, "designer-wizard-label-type");

        w.next();
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::PaperPage);
        EXPECT_EQ(child<QComboBox>(w, "paperSize")->currentText(), "A4");
        EXPECT_EQ(child<QSpinBox>(w, "columns")->value(), 2);
        EXPECT_EQ(child<QSpinBox>(w, "rows")->value(), 6);
        EXPECT_EQ(child<QLineEdit>(w, "labelWidth")->text(), "90.20");
        EXPECT_EQ(child<QLineEdit>(w, "columnSpace")->text(), "2.50");
        EXPECT_EQ(child<QLineEdit>(w, "topMargin")->text(), "20.00");
        keepPicture(w, "designer-wizard-paper");

        w.next();
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::FinishPage);
        child<QSpinBox>(w, "qsoLines")->setValue(4);
        child<QSpinBox>(w, "footerLines")->setValue(1);
        EXPECT_TRUE(child<QCheckBox>(w, "createTemplate")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(w, "addMissingFields")->isEnabled());
        keepPicture(w, "designer-wizard-finish");
        w.accept();
        return w.result();
    });
    ASSERT_TRUE(m_designer.newLayout());

    const LabelLayout& l = m_designer.layout();
    EXPECT_EQ(m_designer.fileName(), "");
    EXPECT_EQ(m_designer.windowTitle(), "QX QSL Label Designer");
    EXPECT_TRUE(m_designer.isModified());
    EXPECT_EQ(l.Page.LabelName, "AOne");
    EXPECT_EQ(l.Page.LabelType, "28171 (90.2 x 42.3)");
    EXPECT_EQ(l.Page.PaperSize, PaperSize::A4);
    EXPECT_EQ(l.Page.Columns, 2);
    EXPECT_EQ(l.Page.Rows, 6);
    EXPECT_NEAR(l.Page.TopMargin, 200.0, 1e-6);
    EXPECT_NEAR(l.Page.LeftMargin, 165.0, 1e-6);
    EXPECT_NEAR(l.Page.ColumnSpace, 25.0, 1e-6);
    EXPECT_NEAR(l.labelWidthMm(), 90.2, 1e-6);
    EXPECT_NEAR(l.labelHeightMm(), 42.3, 1e-6);
    // The template made the label: 4 QSO lines and one footer line.
    EXPECT_NE(l.findDataField("D_DATE"), nullptr);
    EXPECT_EQ(l.findDataField("E_DATE"), nullptr);
    EXPECT_NE(l.findDataField("FOOTER1"), nullptr);
    EXPECT_NE(l.findDataField("HISCALL"), nullptr);

    expectSameAfterReload("aone.qxd");
    EXPECT_EQ(m_designer.windowTitle(), "QX Label Designer  [aone.qxd]");

    // The settings of the saved layout open on its sheet.
    walkWizard([](TQXDesSettingsForm& w) {
        EXPECT_EQ(w.windowTitle(), "Layout Settings");
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::LabelTypePage);
        EXPECT_EQ(child<QComboBox>(w, "LabelFormatComboBox")->currentText(), "AOne");
        EXPECT_EQ(child<QListWidget>(w, "LabelFormatListBox")->currentItem()->text(),
                  "28171 (90.2 x 42.3)");
        w.reject();
        return w.result();
    });
    EXPECT_FALSE(m_designer.layoutSettings());
}

TEST_F(DesignerWizardTest, NewCardLayoutOfItsOwnSizeIsSavedAndReloaded)
{
    walkWizard([](TQXDesSettingsForm& w) {
        child<QRadioButton>(w, "printOnCards")->setChecked(true);
        w.next();
        // Cards go straight to the size: one printable area on a custom paper.
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::PaperPage);
        EXPECT_EQ(child<QComboBox>(w, "paperSize")->currentText(), "Custom");
        EXPECT_FALSE(child<QComboBox>(w, "paperSize")->isEnabled());
        EXPECT_FALSE(child<QSpinBox>(w, "columns")->isEnabled());
        EXPECT_FALSE(child<QLineEdit>(w, "rowSpace")->isEnabled());
        EXPECT_TRUE(child<QLineEdit>(w, "paperWidth")->isEnabled());
        QWidget& page = *w.currentPage();
        enter(page, "paperWidth", "140");
        enter(page, "paperLength", "90");
        enter(page, "topMargin", "5");
        enter(page, "bottomMargin", "5");
        enter(page, "leftMargin", "6,5");
        enter(page, "rightMargin", "6.5");
        EXPECT_EQ(child<QLineEdit>(w, "labelWidth")->text(), "127.00");
        EXPECT_EQ(child<QLineEdit>(w, "labelHeight")->text(), "80.00");
        keepPicture(w, "designer-wizard-card");
        w.next();
        child<QCheckBox>(w, "createTemplate")->setChecked(false);
        child<QCheckBox>(w, "addMissingFields")->setChecked(false);
        w.accept();
        return w.result();
    });
    ASSERT_TRUE(m_designer.newLayout());
    const LabelLayout& l = m_designer.layout();
    EXPECT_EQ(l.Page.PaperSize, PaperSize::Custom);
    EXPECT_EQ(l.Page.Columns, 1);
    EXPECT_EQ(l.Page.Rows, 1);
    EXPECT_EQ(l.Page.ColumnSpace, 0.0);
    EXPECT_EQ(l.Page.RowSpace, 0.0);
    EXPECT_NEAR(l.Page.Width, 1400.0, 1e-6);
    EXPECT_NEAR(l.Page.Length, 900.0, 1e-6);
    EXPECT_NEAR(l.labelWidthMm(), 127.0, 1e-6);
    EXPECT_NEAR(l.labelHeightMm(), 80.0, 1e-6);
    EXPECT_EQ(l.Page.LabelName, "Custom");
    EXPECT_TRUE(l.Elements.empty());
    expectSameAfterReload("card.qxd");
}

TEST_F(DesignerWizardTest, RefusedGeometryIsReportedAndCountsTakeOnlyNonZeroDigits)
{
    LabelLayout layout;
    TQXDesSettingsForm w(layout, TQXDesSettingsForm::Mode::Settings, m_prompter);
    w.show();
    ASSERT_EQ(w.currentId(), TQXDesSettingsForm::PaperPage); // no sheet remembered
    QWidget& page = *w.currentPage();
    enter(page, "topMargin", "150");
    enter(page, "bottomMargin", "150");
    ASSERT_EQ(shownTexts(), std::vector<std::string>{"Error: Margins greater than page size!"});
    // The fields stay as typed; the label keeps the size it had.
    EXPECT_EQ(child<QLineEdit>(w, "bottomMargin")->text(), "150");
    EXPECT_EQ(child<QLineEdit>(w, "labelHeight")->text(), "137.00");
    // Next refuses too, with the same message.
    w.next();
    EXPECT_EQ(w.currentId(), TQXDesSettingsForm::PaperPage);
    EXPECT_EQ(m_prompter.shown.size(), 2u);
    enter(page, "bottomMargin", "10");

    auto* columns = child<QSpinBox>(w, "columns");
    columns->setFocus();
    QTest::keyClick(columns, Qt::Key_0);
    QTest::keyClick(columns, Qt::Key_Backspace);
    EXPECT_EQ(columns->value(), 1);
    EXPECT_FALSE(child<QLineEdit>(w, "columnSpace")->isEnabled());
    QTest::keyClick(columns, Qt::Key_Up);
    EXPECT_EQ(columns->value(), 2);
    EXPECT_TRUE(child<QLineEdit>(w, "columnSpace")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(w, "labelWidth")->text(), "95.00");
    enter(page, "columnSpace", "190");
    EXPECT_EQ(m_prompter.shown.back().text, "Error: Space greater than label size!");
    EXPECT_EQ(child<QLineEdit>(w, "labelWidth")->text(), "95.00");
}

// The settings of a layout on a sheet of its own open on "Paper and Label Size"; Back
// still leads to "Label Type", where a catalogue sheet can be chosen instead, and there
// is no Back on "Label Type" itself.
TEST_F(DesignerWizardTest, SettingsOpenedOnThePaperPageGoBackToLabelType)
{
    LabelLayout card;
    card.Page.PaperSize = PaperSize::Custom;
    card.Page.Width = 1400;
    card.Page.Length = 900;
    card.Page.LabelName = "Custom";
    const std::string path = m_dir.filePath("own.qxd").toStdString();
    ASSERT_TRUE(saveLayout(path, card));
    ASSERT_EQ(m_designer.openLayout(path), "");
    m_designer.show();
    walkWizard([](TQXDesSettingsForm& w) {
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::PaperPage);
        QAbstractButton* back = w.button(QWizard::BackButton);
        EXPECT_TRUE(back->isVisible());
        EXPECT_TRUE(back->isEnabled());
        EXPECT_EQ(back->text(), "<< &Back");
        QTest::mouseClick(back, Qt::LeftButton);
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::LabelTypePage);
        EXPECT_FALSE(w.button(QWizard::BackButton)->isVisible());
        // Choosing a catalogue sheet there is taken by the paper page.
        auto* maker = child<QComboBox>(w, "LabelFormatComboBox");
        maker->setCurrentIndex(maker->findText("AOne"));
        auto* types = child<QListWidget>(w, "LabelFormatListBox");
        const auto found = types->findItems("28171", Qt::MatchStartsWith);
        EXPECT_EQ(found.size(), 1);
        if (found.size() == 1)
            types->setCurrentItem(found[0]);
        QTest::mouseClick(w.button(QWizard::NextButton), Qt::LeftButton);
        EXPECT_EQ(w.currentId(), TQXDesSettingsForm::PaperPage);
        EXPECT_EQ(child<QLineEdit>(w, "labelWidth")->text(), "90.20");
        w.accept();
        return w.result();
    });
    ASSERT_TRUE(m_designer.layoutSettings());
    EXPECT_EQ(m_designer.layout().Page.LabelName, "AOne");
    EXPECT_NEAR(m_designer.layout().labelWidthMm(), 90.2, 1e-6);
}

} // namespace
} // namespace qx7
