// Editing a label with the mouse and the element dialogs: resizing by a handle, lining
// elements up, placing every kind of element through its dialog, changing one by a
// double click; each an undo step, and the saved layout read back the same.

#include "DesignerFixture.h"
#include "labels/QxdFile.h"
#include "labels/ShippedLayouts.h"
#include "ui/designer/ElementDialogs.h"
#include "ui/designer/TextStylePanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace designertest;

// A mouse event sent straight to the view, as a hand on the mouse makes it.
void mouse(QGraphicsView* view, QEvent::Type type, QPointF scenePos,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* port = view->viewport();
    const QPointF at = view->mapFromScene(scenePos);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, at, port->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(port, &event);
}

void drag(QGraphicsView* view, QPointF from, QPointF to)
{
    mouse(view, QEvent::MouseButtonPress, from);
    mouse(view, QEvent::MouseMove, (from + to) / 2);
    mouse(view, QEvent::MouseMove, to);
    mouse(view, QEvent::MouseButtonRelease, to);
    QCoreApplication::processEvents();
}

class DesignerEditTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        ASSERT_EQ(installShippedLayouts(m_dir.path().toStdString()), 2);
        m_path = m_dir.filePath(kSampleLayoutName).toStdString();
        ASSERT_EQ(m_designer.openLayout(m_path), "");
        m_designer.resize(1000, 700);
        m_designer.show();
        QCoreApplication::processEvents();
    }

    QPointF centreOf(int index) const
    {
        return m_designer.frameOf(index)->handleCentre(ElementFrame::None);
    }

    std::string m_path;
};

TEST_F(DesignerEditTest, HandlesResizeAndTheMouseSelectsEachAnUndoStep)
{
    const LabelLayout original = m_designer.layout();
    m_designer.setGridMm(1.0);
    QGraphicsView* view = m_designer.view();
    mouse(view, QEvent::MouseButtonPress, centreOf(0));
    mouse(view, QEvent::MouseButtonRelease, centreOf(0));
    ASSERT_EQ(m_designer.selection(), std::vector<int>{0});

    // The bottom right handle, 5 mm right and 2 mm down (scene pixels at zoom 1).
    const QPointF corner = m_designer.frameOf(0)->handleCentre(ElementFrame::BottomRight);
    drag(view, corner, corner + QPointF(5 * kDesignPixelsPerMm, 2 * kDesignPixelsPerMm));
    const LayoutElement& e = m_designer.layout().Elements[0];
    const LayoutElement& before = original.Elements[0];
    EXPECT_NEAR(e.left, before.left, 1e-9);
    EXPECT_NEAR(e.top, before.top, 1e-9);
    EXPECT_NEAR(e.left + e.width, std::round(before.left + before.width + 5), 1e-9);
    EXPECT_NEAR(e.top + e.height, std::round(before.top + before.height + 2), 1e-9);
    EXPECT_EQ(m_designer.undoStack()->count(), 1);

    // The left handle moves the left edge and keeps the right one.
    const double right = e.left + e.width;
    const QPointF left = m_designer.frameOf(0)->handleCentre(ElementFrame::Left);
    drag(view, left, left + QPointF(-3 * kDesignPixelsPerMm, 0));
    EXPECT_NEAR(m_designer.layout().Elements[0].left + m_designer.layout().Elements[0].width, right,
                1e-9);
    EXPECT_EQ(m_designer.undoStack()->count(), 2);

    // A drag of the body moves it.
    const QPointF body = centreOf(0);
    const double leftBefore = m_designer.layout().Elements[0].left;
    drag(view, body, body + QPointF(4 * kDesignPixelsPerMm, 0));
    EXPECT_NEAR(m_designer.layout().Elements[0].left, std::round(leftBefore + 4), 1e-9);

    m_designer.undoStack()->undo();
    m_designer.undoStack()->undo();
    m_designer.undoStack()->undo();
    EXPECT_EQ(m_designer.layout().Elements, original.Elements);
    m_designer.undoStack()->redo();
    EXPECT_NEAR(m_designer.layout().Elements[0].left + m_designer.layout().Elements[0].width,
                std::round(before.left + before.width + 5), 1e-9);
    keepPicture(m_designer, "designer-resize");
}

TEST_F(DesignerEditTest, ShiftClickCollectsASelectionThatAlignsAndUndoes)
{
    const LabelLayout original = m_designer.layout();
    ASSERT_GE(original.Elements.size(), 3u);
    QGraphicsView* view = m_designer.view();
    mouse(view, QEvent::MouseButtonPress, centreOf(0));
    mouse(view, QEvent::MouseButtonRelease, centreOf(0));
    for (int i : {1, 2}) {
        mouse(view, QEvent::MouseButtonPress, centreOf(i), Qt::ShiftModifier);
        mouse(view, QEvent::MouseButtonRelease, centreOf(i), Qt::ShiftModifier);
    }
    ASSERT_EQ(m_designer.selection(), (std::vector<int>{0, 1, 2}));
    const auto& els = original.Elements;
    const double leftmost = std::min({els[0].left, els[1].left, els[2].left});
    const double rightmost = std::max(
        {els[0].left + els[0].width, els[1].left + els[1].width, els[2].left + els[2].width});

    const std::pair<const char*, std::function<void(const LabelLayout&)>> checks[] = {
        {"align-left",
         [&](const LabelLayout& l) {
             for (int i : {0, 1, 2})
                 EXPECT_NEAR(l.Elements[size_t(i)].left, leftmost, 1e-9) << i;
         }},
        {"align-right",
         [&](const LabelLayout& l) {
             for (int i : {0, 1, 2})
                 EXPECT_NEAR(l.Elements[size_t(i)].left + l.Elements[size_t(i)].width, rightmost,
                             1e-9)
                     << i;
         }},
        {"align-hcenter",
         [&](const LabelLayout& l) {
             for (int i : {0, 1, 2})
                 EXPECT_NEAR(l.Elements[size_t(i)].left + l.Elements[size_t(i)].width / 2,
                             (leftmost + rightmost) / 2, 1e-9)
                     << i;
         }},
        {"align-label-vcenter", [&](const LabelLayout& l) {
             double top = 1e9, bottom = -1e9;
             for (int i : {0, 1, 2}) {
                 top = std::min(top, l.Elements[size_t(i)].top);
                 bottom =
                     std::max(bottom, l.Elements[size_t(i)].top + l.Elements[size_t(i)].height);
             }
             EXPECT_NEAR(top, l.labelHeightMm() - bottom, 1e-9);
         }}};
    for (const auto& [action, check] : checks) {
        SCOPED_TRACE(action);
        auto* a = m_designer.findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr);
        a->trigger();
        check(m_designer.layout());
        // Only the selection moved.
        for (size_t i = 3; i < els.size(); ++i)
            EXPECT_EQ(m_designer.layout().Elements[i], els[i]);
        m_designer.undoStack()->undo();
        EXPECT_EQ(m_designer.layout().Elements, els);
        m_designer.undoStack()->redo();
        check(m_designer.layout());
        m_designer.undoStack()->undo();
    }
    // A click beside every element clears the selection.
    mouse(view, QEvent::MouseButtonPress, QPointF(-5, -5));
    EXPECT_TRUE(m_designer.selection().empty());
}

// Fills each kind's dialog as a user would and answers OK.
int fillDialog(QDialog& d, const QString& picture)
{
    d.show();
    const QString kind = d.objectName();
    if (kind == "TextFieldDialog") {
        EXPECT_EQ(d.windowTitle(), "Text field");
        child<QComboBox>(d, "caption")->setCurrentText(QStringLiteral("Tnx for the QSO"));
        child<QCheckBox>(d, "bold")->setChecked(true);
        child<QSpinBox>(d, "rotation")->setValue(90);
        keepPicture(d, "designer-text-field");
    } else if (kind == "DataFieldDialog") {
        EXPECT_EQ(d.windowTitle(), "QSO Data field");
        // A new data field starts on the partner's call; the line and item make C_MODE.
        EXPECT_EQ(child<QLabel>(d, "chosenField")->text(), "HISCALL");
        child<QListWidget>(d, "qsoLine")->setCurrentRow(2);
        EXPECT_EQ(child<QLabel>(d, "chosenField")->text(), "C_DATE");
        child<QListWidget>(d, "qsoItem")->setCurrentRow(3);
        EXPECT_EQ(child<QLabel>(d, "chosenField")->text(), "C_MODE");
        EXPECT_EQ(child<QListWidget>(d, "headerFields")->currentRow(), -1);
        child<QComboBox>(d, "alignment")->setCurrentText(QStringLiteral("Right"));
        keepPicture(d, "designer-data-field");
    } else if (kind == "ExpressionDialog") {
        EXPECT_EQ(d.windowTitle(), "Expressions (Data field plus text)");
        auto* text = child<QLineEdit>(d, "expression");
        text->setText(QStringLiteral("COPY(A_DATE, 1, 4)+' '+"));
        auto* fields = child<QListWidget>(d, "fieldNames");
        QListWidgetItem* item = fields->findItems(QStringLiteral("MYCALL"), Qt::MatchExactly).at(0);
        emit fields->itemDoubleClicked(item);
        EXPECT_EQ(text->text(), "COPY(A_DATE, 1, 4)+' '+ MYCALL");
        child<QPushButton>(d, "validate")->click();
        child<QLineEdit>(d, "rotation")->setText(QStringLiteral("12.34"));
        keepPicture(d, "designer-expression");
    } else if (kind == "MemoDialog") {
        EXPECT_EQ(d.windowTitle(), "Memo");
        child<QPlainTextEdit>(d, "lines")->setPlainText(QStringLiteral("73 and good DX\nde DL0QX"));
        child<QCheckBox>(d, "wordWrap")->setChecked(true);
    } else if (kind == "ShapeDialog") {
        EXPECT_EQ(d.windowTitle(), "Shape");
        child<QComboBox>(d, "shape")->setCurrentText(QStringLiteral("Circle"));
        child<QSpinBox>(d, "penWidth")->setValue(3);
        child<ColorButton>(d, "brushColor")->setColor(Color::fromRgb(255, 200, 0));
        child<QComboBox>(d, "brushStyle")->setCurrentIndex(0);
        keepPicture(d, "designer-shape");
    } else if (kind == "ImageDialog") {
        EXPECT_EQ(d.windowTitle(), "Image");
        child<QLineEdit>(d, "imageFile")->setText(picture);
        child<QCheckBox>(d, "stretch")->setChecked(true);
    } else {
        ADD_FAILURE() << kind.toStdString();
        return QDialog::Rejected;
    }
    static_cast<ElementDialog&>(d).accept();
    return d.result();
}

TEST_F(DesignerEditTest, EveryKindPlacedThroughItsDialogIsSavedAndReloaded)
{
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    ASSERT_TRUE(logo.save(m_dir.filePath("logo.png")));
    m_designer.setDialogRunner(
        [](QDialog& d) { return fillDialog(d, QStringLiteral("logo.png")); });
    const size_t before = m_designer.layout().Elements.size();
    const ElementKind kinds[] = {ElementKind::Text, ElementKind::DataField, ElementKind::Expression,
                                 ElementKind::Memo, ElementKind::Shape,     ElementKind::Image};
    double y = 3;
    for (ElementKind kind : kinds) {
        ASSERT_TRUE(m_designer.addElement(kind, QPointF(60, y))) << elementKindName(kind);
        y += 6;
    }
    const LabelLayout& l = m_designer.layout();
    ASSERT_EQ(l.Elements.size(), before + 6);
    const LayoutElement& text = l.Elements[before];
    EXPECT_EQ(text.caption, "Tnx for the QSO");
    EXPECT_TRUE(text.font.bold);
    EXPECT_EQ(text.rotation, 900);
    EXPECT_EQ(text.left, 60);
    const LayoutElement& data = l.Elements[before + 1];
    EXPECT_EQ(data.dataField, "C_MODE");
    EXPECT_EQ(data.caption, "C_MODE");
    EXPECT_EQ(data.alignment, TextAlignment::Right);
    const LayoutElement& expr = l.Elements[before + 2];
    EXPECT_EQ(expr.expression, "COPY(A_DATE, 1, 4)+' '+ MYCALL");
    EXPECT_EQ(expr.rotation, 123);
    ASSERT_FALSE(m_prompter.shown.empty());
    EXPECT_EQ(m_prompter.shown.back().icon, PromptIcon::Information);
    EXPECT_NE(m_prompter.shown.back().text.find("No Error in expression!"), std::string::npos);
    EXPECT_NE(m_prompter.shown.back().text.find("A_DA MYCALL"), std::string::npos);
    const LayoutElement& memo = l.Elements[before + 3];
    EXPECT_EQ(memo.lines, (std::vector<std::string>{"73 and good DX", "de DL0QX"}));
    EXPECT_TRUE(memo.wordWrap);
    const LayoutElement& shape = l.Elements[before + 4];
    EXPECT_EQ(shape.shape, ShapeKind::Circle);
    EXPECT_EQ(shape.penWidth, 3);
    EXPECT_EQ(shape.brushColor, Color::fromRgb(255, 200, 0));
    EXPECT_EQ(shape.brushStyle, BrushStyle::Solid);
    const LayoutElement& image = l.Elements[before + 5];
    EXPECT_EQ(image.imageFile, "logo.png");
    EXPECT_TRUE(image.stretch);
    EXPECT_EQ(m_designer.undoStack()->count(), 6);
    keepPicture(m_designer, "designer-elements");

    const std::string path = m_dir.filePath("all-kinds.qxd").toStdString();
    ASSERT_EQ(m_designer.saveLayoutAs(path), "");
    LabelLayout reread;
    ASSERT_TRUE(loadLayout(path, reread));
    EXPECT_EQ(reread.Elements, m_designer.layout().Elements);
    TQXDesigner other;
    other.setPrompter(m_prompter);
    ASSERT_EQ(other.openLayout(path), "");
    EXPECT_EQ(other.layout().Elements, m_designer.layout().Elements);

    // Undo takes them away one by one.
    for (int i = 0; i < 6; ++i)
        m_designer.undoStack()->undo();
    EXPECT_EQ(m_designer.layout().Elements.size(), before);
}

TEST_F(DesignerEditTest, DoubleClickOpensTheDialogAndCancelChangesNothing)
{
    const LabelLayout original = m_designer.layout();
    int asked = 0;
    QString seen;
    bool acceptIt = false;
    m_designer.setDialogRunner([&](QDialog& d) {
        ++asked;
        seen = d.windowTitle();
        if (!acceptIt)
            return int(QDialog::Rejected);
        if (auto* caption = d.findChild<QComboBox*>(QStringLiteral("caption")))
            caption->setCurrentText(QStringLiteral("Changed"));
        if (auto* expression = d.findChild<QLineEdit*>(QStringLiteral("expression")))
            expression->setText(QStringLiteral("'Changed'"));
        static_cast<ElementDialog&>(d).accept();
        return d.result();
    });
    int index = -1;
    for (size_t i = 0; i < original.Elements.size(); ++i)
        if (original.Elements[i].kind == ElementKind::Text ||
            original.Elements[i].kind == ElementKind::Expression) {
            index = int(i);
            break;
        }
    ASSERT_GE(index, 0);
    QGraphicsView* view = m_designer.view();
    const QPoint at = view->mapFromScene(centreOf(index));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(seen.isEmpty());
    EXPECT_EQ(m_designer.layout(), original);
    EXPECT_EQ(m_designer.undoStack()->count(), 0);

    acceptIt = true;
    m_designer.selectElement(index);
    m_designer.findChild<QAction*>(QStringLiteral("propertiesAction"))->trigger();
    EXPECT_EQ(asked, 2);
    const LayoutElement& e = m_designer.layout().Elements[size_t(index)];
    EXPECT_TRUE(e.caption == "Changed" || e.expression == "'Changed'");
    m_designer.undoStack()->undo();
    EXPECT_EQ(m_designer.layout(), original);
}

TEST_F(DesignerEditTest, APictureThatCannotBeReadIsNamedAndNotKept)
{
    ASSERT_TRUE(QFile(m_dir.filePath("broken.jpg")).open(QIODevice::WriteOnly));
    m_designer.setDialogRunner(
        [](QDialog& d) { return fillDialog(d, QStringLiteral("broken.jpg")); });
    ASSERT_TRUE(m_designer.addElement(ElementKind::Image, QPointF(5, 5)));
    EXPECT_EQ(m_designer.layout().Elements.back().imageFile, "");
    ASSERT_FALSE(m_prompter.shown.empty());
    EXPECT_EQ(m_prompter.shown.back().icon, PromptIcon::Error);
    EXPECT_NE(m_prompter.shown.back().text.find("broken.jpg"), std::string::npos);
}

} // namespace
} // namespace qx7
