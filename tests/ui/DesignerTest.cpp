// The label designer walked with mouse and keys: place an element, nudge it, undo,
// save, reopen and find the same layout.

#include "core/Prompter.h"
#include "labels/QxdFile.h"
#include "labels/ShippedLayouts.h"
#include "ui/designer/TQXDesigner.h"
#include "ui/designer/TQXDesOptionsForm.h"

#include "DesignerFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

class DesignerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_EQ(installShippedLayouts(m_dir.path().toStdString()), 2);
        m_path = m_dir.filePath(kSampleLayoutName).toStdString();
        ASSERT_EQ(m_designer.openLayout(m_path), "");
        m_designer.show();
        m_designer.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_designer));
    }

    QTemporaryDir m_dir;
    std::string m_path;
    TQXDesigner m_designer;
};

TEST_F(DesignerTest, PlaceMoveUndoSaveAndReopenGiveTheSameLayout)
{
    const size_t before = m_designer.layout().Elements.size();
    ASSERT_GT(before, 0u);
    m_designer.addTextElement("Tnx QSO");
    ASSERT_EQ(m_designer.layout().Elements.size(), before + 1);
    const int added = m_designer.selectedElement();
    ASSERT_EQ(added, int(before));
    const LayoutElement placed = m_designer.layout().Elements[size_t(added)];

    // Two steps right and one down by the 1 mm grid, then a tenth with Ctrl.
    QTest::keyClick(&m_designer, Qt::Key_Right);
    QTest::keyClick(&m_designer, Qt::Key_Right);
    QTest::keyClick(&m_designer, Qt::Key_Down);
    QTest::keyClick(&m_designer, Qt::Key_Down, Qt::ControlModifier);
    const LayoutElement& moved = m_designer.layout().Elements[size_t(added)];
    EXPECT_NEAR(moved.left, placed.left + 2, 1e-9);
    EXPECT_NEAR(moved.top, placed.top + 1.1, 1e-9);

    // Ctrl+Z takes the steps back one by one; Ctrl+Shift+Z brings one again.
    QTest::keyClick(&m_designer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(m_designer.layout().Elements[size_t(added)].top, placed.top + 1, 1e-9);
    m_designer.undoStack()->undo();
    m_designer.undoStack()->undo();
    m_designer.undoStack()->undo();
    EXPECT_NEAR(m_designer.layout().Elements[size_t(added)].left, placed.left, 1e-9);
    m_designer.undoStack()->undo();
    EXPECT_EQ(m_designer.layout().Elements.size(), before);
    m_designer.undoStack()->redo();
    QTest::keyClick(&m_designer, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NEAR(m_designer.layout().Elements[size_t(added)].left, placed.left + 1, 1e-9);

    const std::string copy = m_dir.filePath("copy.qxd").toStdString();
    ASSERT_EQ(m_designer.saveLayoutAs(copy), "");
    LabelLayout reread;
    ASSERT_TRUE(loadLayout(copy, reread));
    EXPECT_EQ(reread.Elements, m_designer.layout().Elements);
    EXPECT_EQ(reread.Page, m_designer.layout().Page);

    TQXDesigner other;
    ASSERT_EQ(other.openLayout(copy), "");
    EXPECT_EQ(other.layout().Elements, m_designer.layout().Elements);
}

TEST_F(DesignerTest, DeleteAndDragAreUndoneAndDragSnapsToTheGrid)
{
    const LabelLayout original = m_designer.layout();
    m_designer.selectElement(0);
    QTest::keyClick(&m_designer, Qt::Key_Delete);
    EXPECT_EQ(m_designer.layout().Elements.size(), original.Elements.size() - 1);
    m_designer.undoStack()->undo();
    EXPECT_EQ(m_designer.layout().Elements, original.Elements);

    m_designer.setGridMm(2.0);
    m_designer.elementDragged(0, QPointF(10.7, 3.2));
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(m_designer.layout().Elements[0].left, 10.0);
    EXPECT_DOUBLE_EQ(m_designer.layout().Elements[0].top, 4.0);
    m_designer.undoStack()->undo();
    EXPECT_EQ(m_designer.layout().Elements, original.Elements);
    // One frame over every element, above the label picture.
    EXPECT_EQ(m_designer.view()->scene()->items().size(), original.Elements.size() + 1);
}

TEST_F(DesignerTest, ADamagedFileLeavesTheOpenLayoutAndSaysWhy)
{
    const std::string bad = m_dir.filePath("bad.qxd").toStdString();
    {
        std::FILE* f = std::fopen(bad.c_str(), "w");
        std::fputs("this is not a layout\n", f);
        std::fclose(f);
    }
    const LabelLayout before = m_designer.layout();
    EXPECT_NE(m_designer.openLayout(bad), "");
    EXPECT_EQ(m_designer.layout().Elements, before.Elements);
    EXPECT_EQ(m_designer.fileName(), m_path);
}

// Opening a layout runs the layout check: a sound one says nothing; one with an element
// outside the label and a missing picture names both, and the designer keeps the layout
// open for mending. Once mended, the check asked for finds no problems.
TEST_F(DesignerTest, OpeningALayoutChecksItSilentlyOrNamesTheFaults)
{
    SilentPrompter prompter;
    TQXDesigner designer;
    designer.setPrompter(prompter);
    ASSERT_EQ(designer.openLayout(m_path), "");
    EXPECT_TRUE(prompter.shown.empty());

    LabelLayout faulty = designer.layout();
    LayoutElement& far = faulty.Elements.front();
    far.left = faulty.labelWidthMm() + 5;
    LayoutElement& picture = faulty.addElement(ElementKind::Image);
    picture.imageFile = "gone.jpg";
    picture.width = picture.height = 5;
    const std::string farName = far.name, pictureName = picture.name;
    const std::string path = m_dir.filePath("faulty.qxd").toStdString();
    ASSERT_TRUE(saveLayout(path, faulty));
    ASSERT_EQ(designer.openLayout(path), "");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, PromptIcon::Warning);
    const std::string& text = prompter.shown[0].text;
    EXPECT_EQ(text.rfind("QX Police Warning: ", 0), 0u) << text;
    EXPECT_NE(text.find(farName + ": reaches beyond the label's right edge"), std::string::npos)
        << text;
    EXPECT_NE(text.find(pictureName + ": the picture cannot be read"), std::string::npos) << text;
    // Still open and editable: the faults are mended in the designer.
    EXPECT_EQ(designer.fileName(), path);
    EXPECT_EQ(designer.layout().Elements.size(), faulty.Elements.size());
    designer.selectElement(0);
    designer.moveSelected(-(faulty.labelWidthMm() + 5 - 1), 0);
    designer.selectElement(int(faulty.Elements.size()) - 1);
    designer.deleteSelected();
    EXPECT_EQ(designer.runLayoutCheck(true), 0);
    EXPECT_EQ(prompter.shown.back().text, "Layout Analyzer: No problems found.");
}

// The options dialog, walked with keys and the mouse: the grid arrows step half a
// millimetre; the mouse grid and the keyboard grid are set apart for each direction;
// hiding the frames greys out their colour and line; what OK gives reaches the surface.
TEST_F(DesignerTest, OptionsSetTheGridsTheFramesAndTheUnit)
{
    TQXDesOptionsForm form(m_designer.options());
    form.show();
    auto* gridX = form.findChild<QDoubleSpinBox*>("gridX");
    auto* gridY = form.findChild<QDoubleSpinBox*>("gridY");
    auto* keyX = form.findChild<QDoubleSpinBox*>("keyGridX");
    auto* keyY = form.findChild<QDoubleSpinBox*>("keyGridY");
    auto* frames = form.findChild<QCheckBox*>("showFrames");
    auto* color = form.findChild<QComboBox*>("frameColor");
    auto* inches = form.findChild<QRadioButton*>("unitInches");
    auto* showGrid = form.findChild<QCheckBox*>("showGrid");
    ASSERT_TRUE(gridX && gridY && keyX && keyY && frames && color && inches && showGrid);
    gridX->setFocus();
    QTest::keyClick(gridX, Qt::Key_Up);
    QTest::keyClick(gridX, Qt::Key_Up);
    gridY->selectAll();
    QTest::keyClicks(gridY, "3");
    keyX->selectAll();
    QTest::keyClicks(keyX, "1.5");
    keyY->selectAll();
    QTest::keyClicks(keyY, "0");
    EXPECT_TRUE(color->isEnabled());
    QTest::mouseClick(frames, Qt::LeftButton, {}, QPoint(5, frames->height() / 2));
    EXPECT_FALSE(color->isEnabled());
    QTest::mouseClick(inches, Qt::LeftButton, {}, QPoint(5, inches->height() / 2));
    QTest::mouseClick(showGrid, Qt::LeftButton, {}, QPoint(5, showGrid->height() / 2));
    const DesignerOptions o = form.options();
    EXPECT_DOUBLE_EQ(o.gridXMm, 2.0);
    EXPECT_DOUBLE_EQ(o.gridYMm, 3.0);
    EXPECT_DOUBLE_EQ(o.keyGridXMm, 1.5);
    EXPECT_DOUBLE_EQ(o.keyGridYMm, 0.0);
    EXPECT_FALSE(o.showFrames);
    EXPECT_FALSE(o.showGrid);
    EXPECT_EQ(o.unit, DesignUnit::Inches);
    EXPECT_TRUE(o.snap);

    m_designer.setOptions(o);
    // The mouse snaps to 2 mm across and 3 mm down.
    m_designer.elementDragged(0, QPointF(10.7, 4.2));
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(m_designer.layout().Elements[0].left, 10.0);
    EXPECT_DOUBLE_EQ(m_designer.layout().Elements[0].top, 3.0);
    // The keys move 1.5 mm across; a keyboard grid of 0 moves by the finest step.
    m_designer.selectElement(0);
    QTest::keyClick(&m_designer, Qt::Key_Right);
    EXPECT_NEAR(m_designer.layout().Elements[0].left, 11.5, 1e-9);
    QTest::keyClick(&m_designer, Qt::Key_Down);
    EXPECT_NEAR(m_designer.layout().Elements[0].top, 3.1, 1e-9);
    // Hidden frames draw nothing until selected; the status bar speaks inches.
    ASSERT_NE(m_designer.frameOf(1), nullptr);
    EXPECT_EQ(m_designer.frameOf(1)->pen().style(), Qt::NoPen);
    EXPECT_NE(m_designer.frameOf(0)->pen().style(), Qt::NoPen);
    const auto* status = m_designer.statusBar()->findChild<QLabel*>();
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith("Label 2.76 x 1.42 in")) << status->text().toStdString();
    EXPECT_TRUE(status->text().contains("grid 2.0 x 3.0 mm")) << status->text().toStdString();
    designertest::keepPicture(form, "designer-options");
}

} // namespace
} // namespace qx7
