// The print options and the preview, walked as a user does: start position, page range
// and order chosen with keys and mouse, the preview showing the real sheets.

#include "labels/MemoryLabelSource.h"
#include "labels/QxdFile.h"
#include "labels/ShippedLayouts.h"
#include "ui/designer/TQXDesPrintOptionsForm.h"
#include "ui/designer/TQXPreviewWindow.h"
#include "ui/designer/UsedPositionMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

MemoryLabelSource queue(int n)
{
    std::vector<LabelRecord> records;
    for (int i = 1; i <= n; ++i) {
        LabelRecord r;
        r.set("HISCALL", "K" + std::to_string(100 + i) + "X");
        r.set("A_DATE", "2024-01-01");
        records.push_back(std::move(r));
    }
    return MemoryLabelSource(std::move(records));
}

class PrintOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_EQ(installShippedLayouts(m_dir.path().toStdString()), 2);
        std::string error;
        ASSERT_TRUE(
            openLayoutFile(m_dir.filePath(kSampleLayoutName).toStdString(), m_layout, &error))
            << error;
    }

    // True when the label cell at `position` (from 1) of the page picture has dark ink.
    bool cellInked(const QImage& page, int position) const
    {
        const TQRPage& p = m_layout.Page;
        const int column = (position - 1) / p.Rows, row = (position - 1) % p.Rows;
        const double perMm = page.width() / (p.Width / 10.0);
        const double x0 = (p.LeftMargin / 10 + column * m_layout.labelWidthMm()) * perMm;
        const double y0 = (p.TopMargin / 10 + row * m_layout.labelHeightMm()) * perMm;
        const double w = m_layout.labelWidthMm() * perMm, h = m_layout.labelHeightMm() * perMm;
        for (int y = int(y0) + 2; y < int(y0 + h) - 2; ++y)
            for (int x = int(x0) + 2; x < int(x0 + w) - 2; ++x)
                if (qGray(page.pixel(x, y)) < 100)
                    return true;
        return false;
    }

    QTemporaryDir m_dir;
    LabelLayout m_layout;
};

TEST_F(PrintOptionsTest, OptionsChosenWithKeysReachTheRunAndThePdfPrinterIsAlwaysThere)
{
    TQXDesPrintOptionsForm form(m_layout.Page, {"Office"}, "Office");
    form.show();
    auto* startAt = form.findChild<QSpinBox*>("startAt");
    auto* pageFrom = form.findChild<QSpinBox*>("pageFrom");
    auto* pageTo = form.findChild<QSpinBox*>("pageTo");
    auto* printer = form.findChild<QComboBox*>("printer");
    ASSERT_TRUE(startAt && pageFrom && pageTo && printer);
    EXPECT_EQ(startAt->maximum(), 24);
    ASSERT_EQ(printer->count(), 2);
    EXPECT_EQ(printer->itemText(1), "PDF file");

    startAt->setFocus();
    startAt->selectAll();
    QTest::keyClicks(startAt, "5");
    pageTo->selectAll();
    QTest::keyClicks(pageTo, "3");
    // A "from" beyond "to" drags "to" along, so the range never prints nothing.
    pageFrom->selectAll();
    QTest::keyClicks(pageFrom, "4");
    QTest::mouseClick(form.findChild<QCheckBox*>("reverse"), Qt::LeftButton);
    printer->setFocus();
    QTest::keyClick(printer, Qt::Key_Down);
    QTest::mouseClick(form.findChild<QPushButton*>("previewButton"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(form.previewRequested());

    const PrintOptions o = form.options();
    EXPECT_EQ(o.startAt, 5);
    EXPECT_EQ(o.pageFrom, 4);
    EXPECT_EQ(o.pageTo, 4);
    EXPECT_TRUE(o.reverse);
    EXPECT_EQ(o.printer, "PDF file");
    TQRPage page = m_layout.Page;
    o.applyTo(page);
    EXPECT_EQ(page.StartAt, 5);
    EXPECT_EQ(page.PageFrom, 4);
    EXPECT_TRUE(page.Reverse);

    // A start beyond the sheet (a layout changed since) is held to its last label.
    PrintOptions far;
    far.startAt = 99;
    o.applyTo(page);
    far.applyTo(page);
    EXPECT_EQ(page.StartAt, 24);
}

// 30 labels from position 5: the first sheet has positions 1-4 empty, the second the
// last 10 labels; Next page and Page Up walk them.
TEST_F(PrintOptionsTest, PreviewShowsTheRealSheetsFromTheStartPosition)
{
    MemoryLabelSource q = queue(30);
    m_layout.Page.StartAt = 5;
    TQXPreviewWindow preview(m_layout, m_dir.path().toStdString(), q);
    preview.show();
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    ASSERT_TRUE(preview.error().empty()) << preview.error();
    ASSERT_EQ(preview.pageCount(), 2);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(q.markCalls(), 0);
    EXPECT_FALSE(preview.findChild<QLabel*>("pagePicture")->pixmap().isNull());
    const QImage first = preview.pageImage(preview.currentPage());
    ASSERT_FALSE(first.isNull());
    for (int position = 1; position <= 4; ++position)
        EXPECT_FALSE(cellInked(first, position)) << position;
    for (int position = 5; position <= 24; ++position)
        EXPECT_TRUE(cellInked(first, position)) << position;
    EXPECT_EQ(preview.findChild<QLabel*>("pageStatus")->text(), "Page 1 of 2");

    QTest::mouseClick(preview.findChild<QPushButton*>("nextPage"), Qt::LeftButton);
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_FALSE(preview.findChild<QPushButton*>("nextPage")->isEnabled());
    const QImage second = preview.pageImage(preview.currentPage());
    for (int position = 1; position <= 24; ++position)
        EXPECT_EQ(cellInked(second, position), position <= 10) << position;
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.currentPage(), 1);

    // Only the chosen sheets: the second alone.
    m_layout.Page.PageFrom = 2;
    TQXPreviewWindow secondOnly(m_layout, m_dir.path().toStdString(), q);
    EXPECT_EQ(secondOnly.pageCount(), 1);
}

// The used labels are clicked on the sheet's picture; the preview leaves exactly those
// empty on the first sheet and fills the rest.
TEST_F(PrintOptionsTest, UsedLabelsClickedOnTheSheetAreLeftEmpty)
{
    TQXDesPrintOptionsForm form(m_layout.Page, {}, "PDF file");
    form.show();
    auto* map = form.findChild<UsedPositionMap*>("usedPositions");
    ASSERT_NE(map, nullptr);
    for (int position : {1, 3, 9, 3})
        QTest::mouseClick(map, Qt::LeftButton, {}, map->cellCentre(position));
    const PrintOptions o = form.options();
    EXPECT_EQ(o.usedPositions, (std::vector<int>{1, 9}));
    o.applyTo(m_layout.Page);
    EXPECT_EQ(m_layout.Page.UsedPositions, (std::vector<int>{1, 9}));

    MemoryLabelSource q = queue(5);
    TQXPreviewWindow preview(m_layout, m_dir.path().toStdString(), q);
    ASSERT_EQ(preview.pageCount(), 1);
    const QImage page = preview.pageImage(1);
    for (int position = 1; position <= 10; ++position)
        EXPECT_EQ(cellInked(page, position), position >= 2 && position <= 6) << position;
}

int redPixels(const QImage& page)
{
    int n = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            n += qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
        }
    return n;
}

// A manager text longer than its field would be cut on the paper: the preview frames
// that label in red and says which element it was; labels that fit are not marked.
TEST_F(PrintOptionsTest, PreviewMarksLabelsWhoseTextWasCut)
{
    MemoryLabelSource fits = queue(3);
    TQXPreviewWindow clean(m_layout, m_dir.path().toStdString(), fits);
    EXPECT_EQ(clean.cutLabelCount(), 0);
    EXPECT_TRUE(clean.findChild<QLabel*>("cutLabels")->isHidden());
    EXPECT_EQ(redPixels(clean.pageImage(1)), 0);

    std::vector<LabelRecord> records;
    for (int i = 1; i <= 3; ++i) {
        LabelRecord r;
        r.set("HISCALL", "K" + std::to_string(100 + i) + "X");
        r.set("MANAGER",
              i == 2 ? "via a manager whose name and address never fit on any label" : "W1AW");
        records.push_back(std::move(r));
    }
    MemoryLabelSource q(std::move(records));
    TQXPreviewWindow preview(m_layout, m_dir.path().toStdString(), q);
    preview.show();
    ASSERT_EQ(preview.cutLabelCount(), 1);
    const LayoutElement* manager = m_layout.findDataField("MANAGER");
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(preview.cutLabelTexts(),
              QStringList{QStringLiteral("Page 1, column 1, row 2: %1")
                              .arg(QString::fromStdString(manager->name))});
    auto* note = preview.findChild<QLabel*>("cutLabels");
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), "1 label(s) with text cut off (framed in red)");
    EXPECT_GT(redPixels(preview.pageImage(1)), 0);
    EXPECT_EQ(q.markCalls(), 0);
}

// The call field holds 16 characters; both shipped layouts print such a call whole.
TEST_F(PrintOptionsTest, ShippedLayoutsPrintASixteenCharacterCallWhole)
{
    for (const char* name : {kSampleLayoutName, kCardLayoutName}) {
        SCOPED_TRACE(name);
        LabelLayout layout;
        ASSERT_TRUE(openLayoutFile(m_dir.filePath(QLatin1String(name)).toStdString(), layout));
        std::vector<LabelRecord> records;
        for (const char* call : {"VP2MWW/DL1WWW/MM", "HB0/DL1ABCD/QRPP", "3D2/YB0ECT/ABCD"}) {
            LabelRecord r;
            r.set("HISCALL", call);
            r.set("MYCALL", call);
            records.push_back(std::move(r));
        }
        MemoryLabelSource q(std::move(records));
        TQXPreviewWindow preview(layout, m_dir.path().toStdString(), q);
        EXPECT_EQ(preview.cutLabelCount(), 0) << preview.cutLabelTexts().join(" / ").toStdString();
    }
}

} // namespace
} // namespace qx7
