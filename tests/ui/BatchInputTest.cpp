// Batch input in the windows: request lists pasted, read from a file or fetched from a
// web server on this machine, imported, checked against an open log and queued.

#include "UiFixture.h"

#include "datamodule/BatchRun.h"
#include "store/BatchFile.h"
#include "ui/batch/BatchFrames.h"
#include "ui/batch/BatchInputWindow.h"
#include "ui/batch/TQXBatchInputForm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

using namespace uitest;

// A one-page web server on 127.0.0.1: every request gets `status` and `body`.
class TinyHttpServer
{
public:
    TinyHttpServer(QByteArray status, QByteArray type, QByteArray body)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this, status, type, body] {
            QTcpSocket* s = m_server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [s, status, type, body] {
                if (!s->readAll().contains("\r\n\r\n"))
                    return;
                s->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                         "\r\nContent-Length: " + QByteArray::number(body.size()) +
                         "\r\nConnection: close\r\n\r\n" + body);
                s->disconnectFromHost();
            });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString url(const QString& path = QStringLiteral("/requests")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

private:
    QTcpServer m_server;
};

bool fetch(TQXBatchInputForm& form, const QString& url)
{
    QSignalSpy done(&form, &TQXBatchInputForm::fetchFinished);
    form.urlSource()->setChecked(true);
    form.sourceEdit()->setText(url);
    QTest::mouseClick(form.browseButton(), Qt::LeftButton);
    return done.wait(10000);
}

QString counter(TQXBatchInputForm& form, int n)
{
    return form.counterLabel(n)->text();
}

TEST(BatchInputForm, AWebPageBecomesTheImportListAndFailuresKeepIt)
{
    YesPrompter prompter;
    UiHome home(prompter);
    TQXBatchInputForm form(*home.dm);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QX Batch Input Maintenance"));
    EXPECT_TRUE(form.urlSource()->isChecked()); // the Internet is preselected
    EXPECT_FALSE(form.importButton()->isEnabled());

    TinyHttpServer page("200 OK", "text/html; charset=utf-8",
                        "<html><body><h1>QSL requests</h1><table>"
                        "<tr><td>CALL;QA1ABC;please direct</td></tr>"
                        "<tr><td>QSO ;QA1ABC;20030321;1322;20m;RTTY</td></tr>"
                        "<tr><td>CALL;K1XYZ;bureau &amp; thanks</td></tr></table></body></html>");
    ASSERT_TRUE(fetch(form, page.url()));
    EXPECT_EQ(counter(form, 0), QStringLiteral("2"));
    EXPECT_EQ(counter(form, 1), QStringLiteral("1"));
    EXPECT_TRUE(
        form.preview()->toPlainText().contains(QStringLiteral("CALL;K1XYZ;bureau & thanks")));
    EXPECT_TRUE(form.importButton()->isEnabled());
    EXPECT_TRUE(prompter.shown.empty());

    // A missing page, a picture and a closed port each give a message; the list stays.
    TinyHttpServer missing("404 Not Found", "text/html", "<html>gone</html>");
    TinyHttpServer picture("200 OK", "image/png", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        closedPort = probe.serverPort();
    }
    for (const QString& url :
         {missing.url(), picture.url(), QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort)}) {
        prompter.shown.clear();
        ASSERT_TRUE(fetch(form, url)) << url.toStdString();
        ASSERT_EQ(prompter.shown.size(), 1u) << url.toStdString();
        EXPECT_EQ(prompter.shown[0].icon, PromptIcon::Error);
        EXPECT_NE(prompter.shown[0].text.find("unchanged"), std::string::npos);
        EXPECT_EQ(counter(form, 0), QStringLiteral("2"));
        EXPECT_EQ(form.importList().qsos.size(), 1u);
    }

    QTest::mouseClick(form.importButton(), Qt::LeftButton);
    EXPECT_EQ(form.page(), 2);
    EXPECT_EQ(counter(form, 2), QStringLiteral("2"));
    EXPECT_EQ(counter(form, 0), QString()); // the list is used up
    EXPECT_FALSE(form.importButton()->isEnabled());
    EXPECT_EQ(form.callsFrame()->rowCount(), 2);
}

TEST(BatchInputForm, AFileIsReadAndTheChoiceRememberedPerOwnCall)
{
    YesPrompter prompter;
    UiHome home(prompter);
    const QString file = home.dir.filePath(QStringLiteral("requests.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("CALL;QA1ABC;please direct\nQSO ;QA1ABC;20030321;1322;20m;RTTY\nCALL;QA1ABC\n");
    }
    {
        TQXBatchInputForm form(*home.dm);
        form.setFileChooser([&](const QString&, const QString&, const QString&) { return file; });
        form.show();
        form.setPage(1);
        form.ownCallBox()->setCurrentText(QStringLiteral("QA0XX"));
        form.fileSource()->setChecked(true);
        QTest::mouseClick(form.browseButton(), Qt::LeftButton);
        EXPECT_EQ(counter(form, 0), QStringLiteral("1"));
        EXPECT_EQ(counter(form, 1), QStringLiteral("1"));
        QTest::mouseClick(form.importButton(), Qt::LeftButton);
        BatchInput& batch = home.dm->batchInput();
        ASSERT_TRUE(batch.BatchInputTable1().findKey("QA1ABC"));
        EXPECT_EQ(batch.BatchInputTable1().text("MYCALL"), "QA0XX");
        EXPECT_EQ(batch.BatchInputTable1().text("STATUS"), "0");
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("BatchOk")), Qt::LeftButton);
        EXPECT_TRUE(home.dm->UseBatchInput);
    }
    // A binary file is refused with a message; what was read before stays.
    const QString binary = home.dir.filePath(QStringLiteral("photo.txt"));
    {
        QFile f(binary);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11));
    }
    TQXBatchInputForm again(*home.dm);
    again.ownCallBox()->setCurrentText(QStringLiteral("QA0XX"));
    QTest::keyClick(again.ownCallBox()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(again.fileSource()->isChecked());
    EXPECT_EQ(again.sourceEdit()->text(), file);
    EXPECT_EQ(counter(again, 0), QStringLiteral("1")); // read at once
    prompter.shown.clear();
    again.sourceEdit()->setText(binary);
    again.readSource();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("not a text file"), std::string::npos);
    EXPECT_EQ(counter(again, 0), QStringLiteral("1"));
}

TEST(BatchInputRoad, PastedCallsAreCheckedAgainstTheLogAndQueued)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("dx", {Qso("QA1ABC"), Qso("QA1ABC"), Qso("QA1ABCD"), Qso("K1XYZ")});
    auto form = showForm(*home.dm, {"dx.qx7"});
    ASSERT_EQ(form->logWindows().size(), 1u);
    EXPECT_FALSE(form->action("BatchInputWindowAction")->isEnabled()); // nothing imported
    EXPECT_TRUE(form->action("BatchInputMaintenanceAction")->isEnabled());

    {
        TQXBatchInputForm dlg(*home.dm, form.get());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("BatchNext")), Qt::LeftButton);
        EXPECT_EQ(dlg.page(), 1);
        for (const char* line : {"CALL;qa1abc;direct", "CALL;K1XYZ;", "CALL;DL9NOT;"}) {
            QTest::keyClicks(dlg.preview(), QString::fromLatin1(line));
            QTest::keyClick(dlg.preview(), Qt::Key_Return);
        }
        QTRY_VERIFY(dlg.importButton()->isEnabled());
        EXPECT_EQ(counter(dlg, 0), QStringLiteral("3"));
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("BatchOk")), Qt::LeftButton);
    }
    form->SetActions();
    ASSERT_TRUE(form->action("BatchInputWindowAction")->isEnabled());
    form->action("BatchInputWindowAction")->trigger();
    BatchInputWindow* window = form->batchWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(form->action("BatchInputWindowAction")->isChecked());
    QAbstractItemModel* calls = window->callsFrame()->grid()->model();
    ASSERT_EQ(calls->rowCount(), 3);

    QTest::mouseClick(window->checkButton(), Qt::LeftButton);
    std::map<QString, QString> status;
    for (int r = 0; r < calls->rowCount(); ++r)
        status[calls->index(r, 1).data().toString()] = calls->index(r, 2).data().toString();
    EXPECT_EQ(status[QStringLiteral("QA1ABC")], QStringLiteral("1"));
    EXPECT_EQ(status[QStringLiteral("DL9NOT")], QStringLiteral("3"));
    for (int r = 0; r < calls->rowCount(); ++r)
        if (calls->index(r, 1).data().toString() == QLatin1String("DL9NOT")) {
            EXPECT_EQ(calls->index(r, 0).data(Qt::BackgroundRole).value<QColor>(),
                      QColor(255, 204, 204));
        }

    QTest::mouseClick(window->runButton(), Qt::LeftButton);
    QAbstractItemModel* queue = form->queueWindow()->grid()->model();
    ASSERT_EQ(queue->rowCount(), 2);
    QStringList labels;
    for (int r = 0; r < queue->rowCount(); ++r)
        labels << queue->index(r, 0).data().toString();
    EXPECT_TRUE(labels.join(' ').contains(QStringLiteral("QA1ABC")))
        << labels.join(' ').toStdString();
    EXPECT_FALSE(labels.join(' ').contains(QStringLiteral("QA1ABCD")));
    for (int r = 0; r < calls->rowCount(); ++r) {
        const QString call = calls->index(r, 1).data().toString();
        EXPECT_EQ(calls->index(r, 2).data().toString(),
                  call == QLatin1String("DL9NOT") ? QStringLiteral("3") : QStringLiteral("2"))
            << call.toStdString();
    }
    // A second run finds nothing left to print.
    QTest::mouseClick(window->runButton(), Qt::LeftButton);
    EXPECT_EQ(queue->rowCount(), 2);

    form->action("BatchInputWindowAction")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->batchWindow(), nullptr);
}

TEST(BatchInputRoad, AListFromAWebPageReachesThePrintQueue)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("dx", {Qso("QA1ABC"), Qso("K1XYZ")});
    TinyHttpServer page("200 OK", "text/plain",
                        "CALL;QA1ABC;direct\r\nQSO ;QA1ABC;20240101;1000;20m;SSB\r\n");
    auto form = showForm(*home.dm, {"dx.qx7"});
    {
        TQXBatchInputForm dlg(*home.dm, form.get());
        dlg.show();
        ASSERT_TRUE(fetch(dlg, page.url()));
        EXPECT_EQ(counter(dlg, 0), QStringLiteral("1"));
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("BatchOk")), Qt::LeftButton);
    }
    form->SetActions();
    form->action("BatchInputWindowAction")->trigger();
    BatchInputWindow* window = form->batchWindow();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window->runButton(), Qt::LeftButton);
    EXPECT_EQ(home.dm->LabelsInQueue(), 1);
    dbase::Table& q = home.dm->printQueue().QXPQTable();
    q.first();
    EXPECT_EQ(q.text("HISCALL"), "QA1ABC");
    for (const auto& shown : prompter.shown)
        EXPECT_NE(shown.icon, PromptIcon::Error) << shown.text;
}

// The row of a grid whose column `column` shows `text`; -1 when none does.
int rowWith(QAbstractItemModel* model, int column, const QString& text)
{
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, column).data().toString() == text)
            return r;
    return -1;
}

TEST(BatchInputRoad, AClaimThatFoundNoQsoSaysWhyAndTakesTheNearestInstead)
{
    YesPrompter prompter;
    UiHome home(prompter);
    // QA1ABC at 10:00 on 20m SSB and at 10:01 on 40m CW (the log's times count up).
    home.makeLog("dx", {Qso("QA1ABC", "20240101", "20m", "SSB"),
                        Qso("QA1ABC", "20240101", "40m", "CW"), Qso("K1XYZ")});
    const auto list = parseBatchText("CALL;QA1ABC;\n"
                                     "QSO ;QA1ABC;20240101;1000;20m;SSB\n"
                                     "QSO ;QA1ABC;20240101;1015;15m;SSB\n"
                                     "QSO ;QA1ABC;20240101;1200;20m;SSB\n"
                                     "CALL;DL9NOT;\n");
    ASSERT_TRUE(list);
    importBatchList(home.dm->batchInput(), *list, "");
    home.dm->UseBatchInput = true;
    auto form = showForm(*home.dm, {"dx.qx7"});
    form->action("BatchInputWindowAction")->trigger();
    BatchInputWindow* window = form->batchWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->takeNearestButton()->isEnabled()); // nothing checked yet
    QTest::mouseClick(window->checkButton(), Qt::LeftButton);

    QTableView* callGrid = window->callsFrame()->grid();
    QAbstractItemModel* calls = callGrid->model();
    const int notInLog = rowWith(calls, 1, QStringLiteral("DL9NOT"));
    ASSERT_GE(notInLog, 0);
    EXPECT_EQ(calls->index(notInLog, 1).data(Qt::ToolTipRole).toString(),
              QStringLiteral("no such call in the log"));
    const int requester = rowWith(calls, 1, QStringLiteral("QA1ABC"));
    ASSERT_GE(requester, 0);
    EXPECT_EQ(calls->index(requester, 1).data(Qt::ToolTipRole).toString(),
              QStringLiteral("2 QSO(s) in the log; 2 of 3 claimed QSOs not found"));
    callGrid->setCurrentIndex(calls->index(requester, 1));

    // Each claim shows its finding in the "Check" column and as its tool tip.
    QTableView* qsoGrid = window->qsosFrame()->grid();
    QAbstractItemModel* claims = qsoGrid->model();
    ASSERT_EQ(claims->rowCount(), 3);
    const int check = claims->columnCount() - 1;
    EXPECT_EQ(claims->headerData(check, Qt::Horizontal).toString(), QStringLiteral("Check"));
    std::map<QString, QString> findings;
    for (int r = 0; r < claims->rowCount(); ++r) {
        findings[claims->index(r, 3).data().toString()] = claims->index(r, check).data().toString();
        EXPECT_EQ(claims->index(r, 0).data(Qt::ToolTipRole), claims->index(r, check).data());
    }
    EXPECT_EQ(findings[QStringLiteral("1000")], QStringLiteral("found: 20240101 1000 20m SSB"));
    EXPECT_EQ(findings[QStringLiteral("1015")],
              QStringLiteral("other band: nearest 20240101 1000 20m SSB (15 min earlier)"));
    EXPECT_EQ(findings[QStringLiteral("1200")],
              QString::fromUtf8("no QSO within \u00B130 min; nearest 20240101 1000 20m SSB "
                                "(2 h earlier)"));

    // A found claim has nothing to take; a missed one takes its nearest QSO.
    qsoGrid->setCurrentIndex(claims->index(rowWith(claims, 3, QStringLiteral("1000")), 0));
    EXPECT_FALSE(window->takeNearestButton()->isEnabled());
    qsoGrid->setCurrentIndex(claims->index(rowWith(claims, 3, QStringLiteral("1200")), 0));
    ASSERT_TRUE(window->takeNearestButton()->isEnabled());
    QTest::mouseClick(window->takeNearestButton(), Qt::LeftButton);
    EXPECT_EQ(home.dm->LabelsInQueue(), 1);
    dbase::Table& q = home.dm->printQueue().QXPQTable();
    q.first();
    EXPECT_EQ(q.text("HISCALL"), "QA1ABC");
    EXPECT_EQ(q.text("NUMQSOS"), "1");
    EXPECT_EQ(q.text("A_BAND"), "20m");
    EXPECT_EQ(q.text("A_TIME").substr(0, 2), "10");
    EXPECT_EQ(form->queueWindow()->grid()->model()->rowCount(), 1);
    // The claim is printed and cannot be taken twice; its call waits for the run.
    callGrid->setCurrentIndex(calls->index(rowWith(calls, 1, QStringLiteral("QA1ABC")), 1));
    const int taken = rowWith(claims, 3, QStringLiteral("1200"));
    ASSERT_GE(taken, 0);
    EXPECT_EQ(claims->index(taken, 6).data().toString(), QStringLiteral("2"));
    qsoGrid->setCurrentIndex(claims->index(taken, 0));
    EXPECT_FALSE(window->takeNearestButton()->isEnabled());
    EXPECT_EQ(calls->index(rowWith(calls, 1, QStringLiteral("QA1ABC")), 2).data().toString(),
              QStringLiteral("1"));
}

// The maintenance dialog sees no check of its own: its "Check" column tells what the
// last check against a log recorded for each claim.
TEST(BatchInputForm, TheCheckColumnTellsWhatTheLastCheckFound)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("dx", {Qso("QA1ABC", "20240101", "20m", "SSB"), Qso("K1XYZ")});
    const auto list = parseBatchText("CALL;QA1ABC;\n"
                                     "QSO ;QA1ABC;20240101;1000;20m;SSB\n"
                                     "QSO ;QA1ABC;20240101;1015;15m;SSB\n");
    ASSERT_TRUE(list);
    importBatchList(home.dm->batchInput(), *list, "");
    home.dm->UseBatchInput = true;
    // The claims' findings by claimed time; `picture` names a screenshot of the dialog.
    const auto checks = [&home](const char* picture) {
        TQXBatchInputForm dialog(*home.dm);
        dialog.show();
        dialog.setPage(2);
        QTableView* calls = dialog.callsFrame()->grid();
        const int row = rowWith(calls->model(), 1, QStringLiteral("QA1ABC"));
        EXPECT_GE(row, 0);
        QTest::mouseClick(calls->viewport(), Qt::LeftButton, {},
                          calls->visualRect(calls->model()->index(row, 1)).center());
        QAbstractItemModel* claims = dialog.qsosFrame()->grid()->model();
        const int check = claims->columnCount() - 1;
        EXPECT_EQ(claims->headerData(check, Qt::Horizontal).toString(), QStringLiteral("Check"));
        std::map<QString, QString> byTime;
        for (int r = 0; r < claims->rowCount(); ++r)
            byTime[claims->index(r, 3).data().toString()] =
                claims->index(r, check).data().toString();
        const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
        if (picture && !dir.isEmpty()) {
            dialog.resize(760, 520);
            QCoreApplication::processEvents();
            EXPECT_TRUE(dialog.grab().save(QDir(dir).filePath(QLatin1String(picture))));
        }
        return byTime;
    };
    auto before = checks(nullptr);
    EXPECT_EQ(before.size(), 2u);
    EXPECT_EQ(before[QStringLiteral("1000")], QStringLiteral("not checked yet"));
    EXPECT_EQ(before[QStringLiteral("1015")], QStringLiteral("not checked yet"));

    // A check in the main window's batch input window, then the dialog again.
    {
        auto form = showForm(*home.dm, {"dx.qx7"});
        form->action("BatchInputWindowAction")->trigger();
        ASSERT_NE(form->batchWindow(), nullptr);
        QTest::mouseClick(form->batchWindow()->checkButton(), Qt::LeftButton);
        form->action("BatchInputWindowAction")->trigger();
    }
    auto after = checks("batch-input-table.png");
    EXPECT_EQ(after[QStringLiteral("1000")], QStringLiteral("found in the log"));
    EXPECT_EQ(after[QStringLiteral("1015")], QStringLiteral("not found in the log"));
}

} // namespace
} // namespace qx7
