// The explorer tool window of the Tools Wizard's input page: it opens on the folder the
// chosen type last read from, lists only that type's files, and hands files to the input
// list by Enter and by dragging, through the same checks as "Add Log...".

#include "ui/wizard/LogExplorerWindow.h"

#include "convert/specs/ImportSpecFile.h"
#include "WizardFixture.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QTreeView>
#include <QUrl>

namespace qx7 {
namespace {

using namespace wizardtest;

class WizardExplorer : public ToolsWizard
{
protected:
    WizardExplorer()
    {
        imports = dm().QXTmpPath + "/imports";
        fs::create_directories(imports);
        const auto put = [this](const std::string& name, const std::string& text) {
            std::ofstream(imports + "/" + name, std::ios::binary) << text;
        };
        put("first.adi", makeAdif(5));
        put("second.ADI", makeAdif(7));
        put("third.adi", makeAdif(3));
        put("notes.txt", makeAdif(2)); // ADIF inside, but not the ADIF extension
        put("club.csv", "Call,Date\nDL1ABC,20240105\n");
        IniFile ini(dm().iniPath());
        SaveImportPath(ini, LogType::Adif, imports, "");
        SaveImportPath(ini, LogType::Cabrillo, imports + "/gone", "");
        ini.save();
        // The folders were remembered before the wizard opened.
        wizard = std::make_unique<TQXToolsForm>(*home.dm);
        wizard->show();
    }

    LogExplorerWindow* explorer() { return wizard->explorer(); }
    QString folder(const std::string& path)
    {
        return QDir::cleanPath(QString::fromStdString(path));
    }
    QStringList inputs()
    {
        QStringList names;
        for (const TQXLogSpec& spec : wizard->run().logs())
            names << QFileInfo(QString::fromStdString(spec.FileName)).fileName();
        return names;
    }
    void selectFile(const QString& name)
    {
        auto* list = explorer()->fileList();
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found.front());
    }
    // Drops `data` on the wizard's input list, as the window system delivers a drag that
    // ends there (the list passes drops on to the wizard).
    void dropOnInputList(const QMimeData& data)
    {
        auto* list = child<QListWidget>("FileList");
        const QPointF at = list->mapTo(wizard.get(), list->rect().center());
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(wizard.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(wizard.get(), &drop);
    }

    std::string imports;
};

TEST_F(WizardExplorer, ListsTheTypesFilesAndAddsThemByEnterAndByDragging)
{
    click("ChooseNextButton");
    chooseType("InputLogTypeBox", LogType::Adif);
    ASSERT_FALSE(explorer()->isVisible());
    click("ExplorerWindowButton");
    ASSERT_TRUE(explorer()->isVisible());
    EXPECT_TRUE(child<QPushButton>("ExplorerWindowButton")->isChecked());

    // The remembered folder, only ".adi" files whatever the case of their extension.
    EXPECT_EQ(explorer()->folder(), folder(imports));
    EXPECT_EQ(explorer()->mask(), "*.adi");
    EXPECT_EQ(explorer()->fileNames(), QStringList({"first.adi", "second.ADI", "third.adi"}));

    // Enter on a file adds it as "Add Log..." does.
    selectFile("first.adi");
    QTest::keyClick(explorer()->fileList(), Qt::Key_Return);
    EXPECT_EQ(inputs(), QStringList({"first.adi"}));
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "5 QSOs");
    EXPECT_TRUE(child<QPushButton>("InputNextButton")->isEnabled());
    // Once only.
    QTest::keyClick(explorer()->fileList(), Qt::Key_Return);
    EXPECT_EQ(inputs(), QStringList({"first.adi"}));

    // Dragged onto the input list: the drag carries file URLs like a file manager's.
    selectFile("second.ADI");
    std::unique_ptr<QMimeData> drag(explorer()->selectionMimeData());
    ASSERT_TRUE(drag->hasFormat("text/uri-list"));
    ASSERT_EQ(drag->urls().size(), 1);
    EXPECT_EQ(drag->urls().front().toLocalFile(), QString::fromStdString(imports + "/second.ADI"));
    dropOnInputList(*drag);
    EXPECT_EQ(inputs(), QStringList({"first.adi", "second.ADI"}));
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "12 QSOs");
    EXPECT_TRUE(prompter.shown.empty());

    // A double-click adds too.
    auto* list = explorer()->fileList();
    const QRect third = list->visualItemRect(list->findItems("third.adi", Qt::MatchExactly)[0]);
    // Through the window, where the clicks become a double-click as the system's would.
    const QPoint at = list->viewport()->mapTo(explorer(), third.center());
    QTest::mouseDClick(explorer()->windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(inputs(), QStringList({"first.adi", "second.ADI", "third.adi"}));
    EXPECT_EQ(child<QLabel>("TotalLabel")->text(), "15 QSOs");

    // A file of another extension dragged as an ADIF file meets the same check as in the
    // file dialog, although its content is ADIF.
    QMimeData wrong;
    wrong.setUrls({QUrl::fromLocalFile(QString::fromStdString(imports + "/notes.txt"))});
    wrong.setData(LogExplorerWindow::kLogTypeMime, QByteArray::number(LogType::Adif));
    dropOnInputList(wrong);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown.front().text, "Wrong file extension: txt\nChange it to: adi");
    EXPECT_EQ(inputs().size(), 3);
}

TEST_F(WizardExplorer, FollowsTheInputType)
{
    writeTmp("contest.csv", "Call,Date\nK1A,20240107\n");
    click("ChooseNextButton");
    chooseType("InputLogTypeBox", LogType::Adif);
    click("ExplorerWindowButton");
    EXPECT_EQ(explorer()->fileNames(), QStringList({"first.adi", "second.ADI", "third.adi"}));

    // A type without a remembered folder opens the temporary folder with its own mask.
    chooseType("InputLogTypeBox", 34);
    EXPECT_EQ(explorer()->mask(), "*.csv");
    EXPECT_EQ(explorer()->folder(), folder(dm().QXTmpPath));
    EXPECT_TRUE(explorer()->fileNames().contains("contest.csv"));
    for (const QString& name : explorer()->fileNames())
        EXPECT_TRUE(name.endsWith(".csv", Qt::CaseInsensitive)) << name.toStdString();

    // A remembered folder that is gone: the temporary folder too.
    chooseType("InputLogTypeBox", LogType::Cabrillo);
    EXPECT_EQ(explorer()->mask(), "*.LOG");
    EXPECT_EQ(explorer()->folder(), folder(dm().QXTmpPath));

    // QX7 logs: the log folder, and the folder cannot be changed.
    chooseType("InputLogTypeBox", LogType::Qx7);
    EXPECT_EQ(explorer()->mask(), "*.qx7");
    EXPECT_EQ(explorer()->folder(), folder(dm().QXLogPath));
    EXPECT_FALSE(explorer()->findChild<QTreeView*>("ExplorerFolderTree")->isEnabled());

    // Back to ADIF: its folder again, the folder tree free.
    chooseType("InputLogTypeBox", LogType::Adif);
    EXPECT_EQ(explorer()->folder(), folder(imports));
    EXPECT_TRUE(explorer()->findChild<QTreeView*>("ExplorerFolderTree")->isEnabled());

    // It belongs to the input page: leaving the page closes it and releases the button.
    click("InputBackButton");
    EXPECT_FALSE(explorer()->isVisible());
    click("ChooseNextButton");
    EXPECT_FALSE(child<QPushButton>("ExplorerWindowButton")->isChecked());
    click("ExplorerWindowButton");
    EXPECT_TRUE(explorer()->isVisible());
    click("ExplorerWindowButton");
    EXPECT_FALSE(explorer()->isVisible());
}

// The explorer keeps the size the user gave it from one wizard to the next, also when
// it was closed before the wizard.
TEST_F(WizardExplorer, KeepsItsSizeFromOneWizardToTheNext)
{
    click("ChooseNextButton");
    click("ExplorerWindowButton");
    ASSERT_TRUE(explorer()->isVisible());
    explorer()->resize(410, 333); // what dragging its frame does
    QCoreApplication::processEvents();
    wizard->close();
    {
        const IniFile ini(dm().iniPath());
        EXPECT_EQ(ini.readInteger("Convert", "ExplorerWidth", 0), 410);
        EXPECT_EQ(ini.readInteger("Convert", "ExplorerHeight", 0), 333);
    }

    wizard = std::make_unique<TQXToolsForm>(*home.dm);
    wizard->show();
    click("ChooseNextButton");
    click("ExplorerWindowButton");
    EXPECT_EQ(explorer()->size(), QSize(410, 333));
    explorer()->resize(380, 300);
    explorer()->close(); // its own close button, before the wizard closes
    EXPECT_FALSE(child<QPushButton>("ExplorerWindowButton")->isChecked());
    wizard->close();

    wizard = std::make_unique<TQXToolsForm>(*home.dm);
    wizard->show();
    click("ChooseNextButton");
    click("ExplorerWindowButton");
    EXPECT_EQ(explorer()->size(), QSize(380, 300));
}

// The picture for the documentation: the input page with the explorer beside it.
TEST_F(WizardExplorer, Screenshot)
{
    click("ChooseNextButton");
    chooseType("InputLogTypeBox", LogType::Adif);
    click("ExplorerWindowButton");
    selectFile("first.adi");
    QTest::keyClick(explorer()->fileList(), Qt::Key_Return);
    selectFile("second.ADI");
    QTest::qWait(300); // the folder tree fills and sorts in the background
    const QPixmap page = wizard->grab();
    const QPixmap tool = explorer()->grab();
    ASSERT_FALSE(page.isNull());
    ASSERT_FALSE(tool.isNull());
    const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QPixmap both(page.width() + 12 + tool.width(), std::max(page.height(), tool.height()));
    both.fill(Qt::darkGray);
    QPainter paint(&both);
    paint.drawPixmap(0, 0, page);
    paint.drawPixmap(page.width() + 12, 0, tool);
    paint.end();
    QDir().mkpath(dir);
    EXPECT_TRUE(both.save(QDir(dir).filePath("tools-wizard-explorer.png")));
}

} // namespace
} // namespace qx7
