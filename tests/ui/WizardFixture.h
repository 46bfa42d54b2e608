#pragma once
// The Tools Wizard on a fresh home, with helpers that work its pages with mouse and keys
// and run the same conversion the way qx7cli runs it.

#include "ui/wizard/TQXToolsForm.h"

#include "convert/engine/ConversionMacro.h"
#include "convert/engine/LogTypes.h"
#include "core/IniFile.h"
#include "UiFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace wizardtest {

namespace fs = std::filesystem;
using uitest::UiHome;

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string adifField(const std::string& name, const std::string& value)
{
    return "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
}

// An ADIF log of `count` QSOs; every `badEvery`-th has no call (0: none bad).
inline std::string makeAdif(int count, int badEvery = 0, const std::string& sent = "N")
{
    std::string text = "made for the wizard tests <eoh>\n";
    for (int i = 0; i < count; ++i) {
        char call[16], time[8], date[16];
        std::snprintf(call, sizeof call, "DL%dAB", i % 10);
        std::snprintf(time, sizeof time, "%02d%02d", (i / 60) % 24, i % 60);
        std::snprintf(date, sizeof date, "202401%02d", 1 + i / 1440);
        const bool bad = badEvery > 0 && i % badEvery == badEvery - 1;
        text += adifField("call", bad ? "" : std::string(call) + std::to_string(i));
        text += adifField("qso_date", date) + adifField("time_on", time);
        text += adifField("band", i % 2 ? "40m" : "20m") + adifField("mode", "SSB");
        text += adifField("rst_sent", "59") + adifField("rst_rcvd", "57");
        text += adifField("qsl_sent", sent) + "<eor>\n";
    }
    return text;
}

class ToolsWizard : public ::testing::Test
{
protected:
    ToolsWizard() : home(prompter), wizard(std::make_unique<TQXToolsForm>(*home.dm))
    {
        wizard->show();
        wizard->setErrorLogViewer([this](const QString& path) { viewed = path; });
    }

    TQXDM& dm() { return *home.dm; }
    std::string tmp(const std::string& name) { return dm().QXTmpPath + "/" + name; }
    void writeTmp(const std::string& name, const std::string& text)
    {
        std::ofstream(tmp(name), std::ios::binary) << text;
    }

    template <class W>
    W* child(const char* name)
    {
        auto* w = wizard->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name)
    {
        auto* b = child<QPushButton>(name);
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // A click on the box itself, not on the empty space right of its text.
    void tick(QAbstractButton* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    void chooseType(const char* box, int code)
    {
        auto* combo = child<QComboBox>(box);
        const int row = combo->findData(code);
        ASSERT_GE(row, 0);
        combo->setCurrentIndex(row);
    }
    void typeInto(const char* edit, const QString& text)
    {
        auto* e = child<QLineEdit>(edit);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    // "Add Log..." answering the file dialog with `files`.
    void addLogs(int type, const QStringList& files)
    {
        chooseType("InputLogTypeBox", type);
        wizard->setFileChooser(
            [files](const QString&, const QString&, const QString&, bool) { return files; });
        click("AddLogButton");
    }
    // From the first page to the output page with these inputs.
    void walkToOutput(int type, const QStringList& files)
    {
        click("ChooseNextButton");
        ASSERT_EQ(wizard->page(), TQXToolsForm::InputPage);
        addLogs(type, files);
        click("InputNextButton");
        ASSERT_EQ(wizard->page(), TQXToolsForm::OutputPage);
    }
    void setOutput(int type, const QString& file, const QString& call = {})
    {
        chooseType("OutputLogTypeBox", type);
        typeInto("FileNameEdit", file);
        if (!call.isEmpty())
            typeInto("CallEdit", call);
    }
    // qx7cli convert with these words, on the same home.
    int cli(const std::vector<std::string>& words)
    {
        std::ostringstream out, err;
        const auto request = parseConvertArgs(words, err);
        EXPECT_TRUE(request) << err.str();
        if (!request)
            return 2;
        NullProgress quiet;
        ConversionEngine engine(dm(), quiet, prompter);
        const int code = runConvertRequest(engine, dm(), *request, out, err);
        cliProtocol = out.str();
        return code;
    }
    std::string logFile(const std::string& name, const char* ext)
    {
        return dm().QXLogPath + "/" + name + ext;
    }

    SilentPrompter prompter;
    UiHome home;
    std::unique_ptr<TQXToolsForm> wizard;
    QString viewed;
    std::string cliProtocol;
};

} // namespace wizardtest
} // namespace qx7
