// The print options and the preview, walked as a user does: start position, page range
// and order chosen with keys and mouse, the preview showing the real sheets.

#include "core/IniFile.h"
#include "labels/MemoryLabelSource.h"
#include "labels/PrinterCalibration.h"
#include "labels/QxdFile.h"
#include "labels/ShippedLayouts.h"
#include "labels/UsedPositions.h"
#include "ui/designer/PrinterCalibrationDialog.h"
#include "ui/designer/TQXDesPrintOptionsForm.h"
#include "ui/designer/TQXPreviewWindow.h"
#include "ui/designer/UsedPositionMap.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>

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

// Each shortcut letter leads to one control only: two with the same Alt letter leave
// the user cycling between them.
TEST_F(PrintOptionsTest, EveryShortcutLetterIsTakenOnceAndReachesItsField)
{
    TQXDesPrintOptionsForm form(m_layout.Page, {"Office"}, "Office");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    std::map<QChar, QString> letters;
    const auto take = [&](const QString& text) {
        const qsizetype amp = text.indexOf('&');
        if (amp < 0 || amp + 1 >= text.size())
            return;
        const QChar letter = text.at(amp + 1).toLower();
        EXPECT_FALSE(letters.count(letter))
            << text.toStdString() << " and " << letters[letter].toStdString();
        letters[letter] = text;
    };
    for (const QLabel* label : form.findChildren<QLabel*>())
        take(label->text());
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>())
        take(button->text());
    EXPECT_GE(letters.size(), 9u);

    QTest::keyClick(&form, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.findChild<QSpinBox*>("pageFrom"));
    QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.findChild<QComboBox*>("printer"));
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
    // Only the page shown is drawn; a page turned back to is not drawn again.
    EXPECT_EQ(preview.pagesDrawn(), 1);
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
    EXPECT_EQ(preview.pagesDrawn(), 2);

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

void keepScreenshot(QWidget& w, const char* name)
{
    QCoreApplication::processEvents();
    const QPixmap picture = w.grab();
    EXPECT_GT(picture.width(), 200) << name;
    const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(picture.save(QDir(dir).filePath(QLatin1String(name) + ".png"))) << name;
    }
}

// Runs `walk` on the calibration dialog once `button` has opened it (it is modal).
void walkCalibration(QPushButton* button,
                     const std::function<void(PrinterCalibrationDialog&)>& walk)
{
    bool walked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PrinterCalibrationDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        walk(*dialog);
        walked = true;
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(walked);
}

void typeInto(QDoubleSpinBox* box, const char* text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// The printer's calibration from the print options: only for a system printer; a value
// out of range is refused with the reason and stores nothing; OK stores per printer and
// sheet type; the test sheet goes to the chosen printer; Clear removes the entry.
TEST_F(PrintOptionsTest, CalibrateAPrinterFromThePrintOptions)
{
    const std::string iniPath = m_dir.filePath("qx7.ini").toStdString();
    const std::string sheet = calibrationSheetName(m_layout.Page);
    ASSERT_FALSE(sheet.empty());
    const std::string key = "Office|" + sheet;
    TQXDesPrintOptionsForm form(m_layout.Page, {"Office"}, "Office");
    form.useSettingsFile(iniPath);
    std::vector<std::string> testSheets;
    form.setTestSheetPrinter([&](const std::string& printer) {
        testSheets.push_back(printer);
        return std::string();
    });
    form.show();
    auto* printer = form.findChild<QComboBox*>("printer");
    auto* calibrate = form.findChild<QPushButton*>("calibrate");
    ASSERT_TRUE(printer && calibrate);
    EXPECT_TRUE(calibrate->isEnabled());
    printer->setFocus();
    QTest::keyClick(printer, Qt::Key_Down);
    ASSERT_EQ(printer->currentText(), "PDF file");
    EXPECT_FALSE(calibrate->isEnabled());
    EXPECT_FALSE(form.findChild<QPushButton*>("printerSetup")->isEnabled());
    QTest::keyClick(printer, Qt::Key_Up);
    ASSERT_TRUE(calibrate->isEnabled());

    walkCalibration(calibrate, [&](PrinterCalibrationDialog& d) {
        auto* x = d.findChild<QDoubleSpinBox*>("offsetX");
        auto* y = d.findChild<QDoubleSpinBox*>("offsetY");
        auto* sy = d.findChild<QDoubleSpinBox*>("scaleY");
        ASSERT_TRUE(x && y && sy);
        EXPECT_EQ(x->value(), 0);
        EXPECT_EQ(sy->value(), 1);
        QTest::mouseClick(d.findChild<QPushButton*>("printTestSheet"), Qt::LeftButton);
        EXPECT_EQ(testSheets, std::vector<std::string>{"Office"});
        // 60 mm is a measurement in the wrong unit: refused, dialog stays, nothing kept.
        typeInto(x, "60");
        QTest::keyClick(x, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.message().toStdString(),
                  calibrationProblem("Office", PrinterCalibration{60, 0, 1, 1}));
        EXPECT_FALSE(IniFile(iniPath).valueExists(kCalibrationSection, key));
        typeInto(x, "1.5");
        typeInto(y, "-0.5");
        typeInto(sy, "1.02");
        keepScreenshot(d, "printer-calibration");
        QTest::keyClick(sy, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(IniFile(iniPath).readString(kCalibrationSection, key, ""), "1.5;-0.5;1;1.02");

    // Shown again next time; Clear removes it and shows the identity.
    walkCalibration(calibrate, [&](PrinterCalibrationDialog& d) {
        EXPECT_EQ(d.findChild<QDoubleSpinBox*>("offsetX")->value(), 1.5);
        EXPECT_EQ(d.findChild<QDoubleSpinBox*>("scaleY")->value(), 1.02);
        QTest::mouseClick(d.findChild<QPushButton*>("clearCalibration"), Qt::LeftButton);
        EXPECT_EQ(d.findChild<QDoubleSpinBox*>("offsetX")->value(), 0);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_FALSE(IniFile(iniPath).valueExists(kCalibrationSection, key));
    EXPECT_FALSE(IniFile(iniPath).sectionExists(kCalibrationSection) &&
                 !IniFile(iniPath).sectionKeys(kCalibrationSection).empty());

    // A test sheet that did not print says why.
    form.setTestSheetPrinter([](const std::string&) { return std::string("queue paused"); });
    walkCalibration(calibrate, [&](PrinterCalibrationDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>("printTestSheet"), Qt::LeftButton);
        EXPECT_TRUE(d.message().contains("queue paused"));
    });
}

// The labels clicked as used are remembered per sheet type; they come back on the next
// opening, Clear empties the map, and the page count allows for them.
TEST_F(PrintOptionsTest, UsedLabelsAreRememberedPerSheetTypeAndCounted)
{
    const std::string iniPath = m_dir.filePath("qx7.ini").toStdString();
    const std::string sheet = calibrationSheetName(m_layout.Page);
    {
        IniFile ini(iniPath);
        rememberUsedPositions(ini, sheet, {2, 5});
        rememberUsedPositions(ini, "Other 1234", {1});
        ASSERT_TRUE(ini.save());
    }
    TQXDesPrintOptionsForm form(m_layout.Page, {}, "PDF file");
    form.useSettingsFile(iniPath);
    form.setLabelCount(24);
    form.show();
    auto* map = form.findChild<UsedPositionMap*>("usedPositions");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->usedPositions(), (std::vector<int>{2, 5}));
    // 22 free on the first sheet, 2 on the next.
    EXPECT_EQ(form.sheetCount(), 2);
    EXPECT_TRUE(form.findChild<QLabel*>("sheetCount")->text().contains("2 page(s)"));
    auto* pageTo = form.findChild<QSpinBox*>("pageTo");
    EXPECT_EQ(pageTo->maximum(), 2);
    EXPECT_EQ(form.options().pageTo, 2);
    QTest::mouseClick(form.findChild<QPushButton*>("clearUsed"), Qt::LeftButton);
    EXPECT_TRUE(map->usedPositions().empty());
    EXPECT_EQ(form.sheetCount(), 1);
    EXPECT_TRUE(form.findChild<QLabel*>("sheetCount")->text().contains("1 page(s)"));
    EXPECT_EQ(pageTo->maximum(), 1);
    QTest::mouseClick(map, Qt::LeftButton, {}, map->cellCentre(24));
    EXPECT_EQ(form.sheetCount(), 2);
    EXPECT_EQ(form.options().pageTo, 2);
}

// The printer's setup dialog: its choices reach the options of a system printer, and
// choosing another printer forgets them.
TEST_F(PrintOptionsTest, PrinterSetupChoicesReachTheRun)
{
    TQXDesPrintOptionsForm form(m_layout.Page, {"Office", "Shack"}, "Office");
    PrinterSettings chosen;
    chosen.duplex = PrinterSettings::Duplex::LongSide;
    chosen.grayscale = true;
    std::string askedFor;
    form.setPrinterSetup([&](const std::string& printer, PrinterSettings& s) {
        askedFor = printer;
        s = chosen;
        return true;
    });
    form.show();
    auto* setup = form.findChild<QPushButton*>("printerSetup");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(form.options().printerSettings.empty());
    QTest::mouseClick(setup, Qt::LeftButton);
    EXPECT_EQ(askedFor, "Office");
    EXPECT_EQ(form.options().printerSettings, chosen);
    auto* printer = form.findChild<QComboBox*>("printer");
    printer->setFocus();
    QTest::keyClick(printer, Qt::Key_Down);
    EXPECT_TRUE(form.options().printerSettings.empty());
    // A cancelled setup keeps what there was.
    QTest::mouseClick(setup, Qt::LeftButton);
    form.setPrinterSetup([](const std::string&, PrinterSettings& s) {
        s = {};
        return false;
    });
    QTest::mouseClick(setup, Qt::LeftButton);
    EXPECT_EQ(form.options().printerSettings, chosen);
}

} // namespace
} // namespace qx7
