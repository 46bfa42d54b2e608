#include "ui/batch/TQXBatchInputForm.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "ui/batch/BatchFrames.h"
#include "ui/manager/TableCursorModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qx7 {

namespace {

constexpr int kFetchTimeoutMs = 20000;

QString introText()
{
    return QObject::tr(
               "Batch input answers QSL requests that arrive as a list, for example from the "
               "online QSL request system of an expedition.\n\n"
               "The list holds one request per line:\n\n"
               "    %1\n    %2\n\n"
               "for example\n\n"
               "    CALL;QA1ABC;please direct\n"
               "    QSO ;QA1ABC;20030321;1322;20m;RTTY\n\n"
               "Read the list from a file or a web address, or paste it into the preview on the "
               "next page, then import it. With a log window open, the main window's Batch Input "
               "window checks every requested call against the log and puts the QSOs of the "
               "calls found into the print queue.")
        .arg(QString::fromLatin1(kBatchCallLineFormat), QString::fromLatin1(kBatchQsoLineFormat));
}

} // namespace

TQXBatchInputForm::TQXBatchInputForm(TQXDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TQXBatchInputForm"));
    setWindowTitle(tr("QX Batch Input Maintenance"));
    resize(760, 560);
    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(300);
    connect(m_typing, &QTimer::timeout, this, [this] { takeText(m_preview->toPlainText()); });

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildIntroPage());
    m_pages->addWidget(buildImportPage());
    m_pages->addWidget(buildTablePage());

    m_back = new QPushButton(tr("<< &Back"), this);
    m_next = new QPushButton(tr("&Next >>"), this);
    auto* ok = new QPushButton(tr("&OK"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    ok->setObjectName(QStringLiteral("BatchOk"));
    m_next->setObjectName(QStringLiteral("BatchNext"));
    m_back->setObjectName(QStringLiteral("BatchBack"));
    connect(m_back, &QPushButton::clicked, this, [this] { setPage(page() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { setPage(page() + 1); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    // The own-call list: every section of the settings file.
    m_own->addItem(QString::fromLatin1(kBatchAllCalls));
    const IniFile ini(iniPath().toStdString());
    for (const std::string& s : ini.sections())
        if (s != kBatchAllCalls)
            m_own->addItem(QString::fromStdString(s));
    m_own->setCurrentIndex(0);
    ownCallLeft();
    refreshCounters();
    updateButtons();
}

TQXBatchInputForm::~TQXBatchInputForm()
{
    if (m_reply)
        m_reply->abort();
    m_dm.batchInput().FilterBatchTables("");
    m_dm.batchInput().BatchInputTable1().setFilter("");
}

void TQXBatchInputForm::exec(TQXDM& dm, QWidget* parent)
{
    TQXBatchInputForm form(dm, parent);
    form.QDialog::exec();
}

void TQXBatchInputForm::done(int result)
{
    if (result == QDialog::Accepted) {
        IniFile ini(iniPath().toStdString());
        const std::string section = sectionName().toStdString();
        ini.writeInteger(section, "FileOrURL", m_fromUrl->isChecked() ? 1 : 0);
        ini.writeString(section, m_fromUrl->isChecked() ? "URL" : "FileName",
                        m_source->text().toStdString());
        if (!ini.save())
            m_dm.prompter().error("The settings file " + ini.path() + " cannot be written.");
    }
    m_dm.batchInput().FilterBatchTables("");
    m_dm.batchInput().BatchInputTable1().setFilter("");
    m_dm.UseBatchInput = m_dm.batchInput().hasStations();
    QDialog::done(result);
}

QWidget* TQXBatchInputForm::buildIntroPage()
{
    auto* page = new QWidget(this);
    auto* text = new QLabel(introText(), page);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(tr("<b>Introduction</b>"), page);
    layout->addWidget(title);
    layout->addWidget(text, 1);
    return page;
}

QWidget* TQXBatchInputForm::buildImportPage()
{
    auto* page = new QWidget(this);
    m_own = new QComboBox(page);
    m_own->setObjectName(QStringLiteral("BatchOwnCall"));
    m_own->setEditable(true);
    m_own->setMinimumWidth(160);
    m_own->setInsertPolicy(QComboBox::NoInsert);
    connect(m_own->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
        const int at = m_own->lineEdit()->cursorPosition();
        m_own->lineEdit()->setText(t.toUpper());
        m_own->lineEdit()->setCursorPosition(at);
    });
    connect(m_own->lineEdit(), &QLineEdit::editingFinished, this, [this] { ownCallLeft(); });
    connect(m_own, &QComboBox::activated, this, [this] { ownCallLeft(); });

    auto* source = new QGroupBox(tr(" Import QSO information "), page);
    m_fromFile = new QRadioButton(tr("from a &file"), source);
    m_fromUrl = new QRadioButton(tr("from an Internet &URL"), source);
    m_fromUrl->setChecked(true);
    m_source = new QLineEdit(QStringLiteral("http://"), source);
    m_source->setObjectName(QStringLiteral("BatchSource"));
    m_browse = new QPushButton(tr("Bro&wse..."), source);
    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
    connect(m_source, &QLineEdit::returnPressed, this, [this] { readSource(); });
    auto* sourceLayout = new QGridLayout(source);
    sourceLayout->addWidget(m_fromFile, 0, 0);
    sourceLayout->addWidget(m_fromUrl, 0, 1);
    sourceLayout->addWidget(m_source, 1, 0, 1, 2);
    sourceLayout->addWidget(m_browse, 1, 2);

    auto* counters = new QGridLayout;
    const QString captions[] = {tr("Callsigns in import file:"), tr("QSOs in import file:"),
                                tr("Callsigns in Batch Input table:")};
    for (int i = 0; i < 3; ++i) {
        counters->addWidget(new QLabel(captions[i], page), i, 0);
        m_counters[i] = new QLabel(page);
        m_counters[i]->setObjectName(QStringLiteral("BatchCounter%1").arg(i));
        m_counters[i]->setMinimumWidth(60);
        counters->addWidget(m_counters[i], i, 1);
    }
    counters->setColumnStretch(2, 1);

    m_preview = new QPlainTextEdit(page);
    m_preview->setObjectName(QStringLiteral("BatchPreview"));
    m_preview->setPlaceholderText(tr("The list read, or paste or type the request lines here."));
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(m_preview, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            m_typing->start();
    });
    m_import = new QPushButton(tr("&Import now"), page);
    m_import->setObjectName(QStringLiteral("BatchImportNow"));
    connect(m_import, &QPushButton::clicked, this, [this] { importNow(); });

    auto* ownRow = new QHBoxLayout;
    ownRow->addWidget(new QLabel(tr("Own call:"), page));
    ownRow->addWidget(m_own);
    ownRow->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(counters, 1);
    bottom->addWidget(m_import, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(ownRow);
    layout->addWidget(source);
    layout->addLayout(bottom);
    layout->addWidget(m_preview, 1);
    return page;
}

QWidget* TQXBatchInputForm::buildTablePage()
{
    auto* page = new QWidget(this);
    auto* splitter = new QSplitter(Qt::Vertical, page);
    m_qsos = new TQXBatchInputQSOsFrame(m_dm);
    m_calls = new TQXBatchInputCallsFrame(m_dm, m_qsos);
    connect(m_calls, &TQXBatchInputCallsFrame::tableChanged, this, [this] { refreshCounters(); });
    splitter->addWidget(m_calls);
    splitter->addWidget(m_qsos);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(splitter);
    return page;
}

int TQXBatchInputForm::page() const
{
    return m_pages->currentIndex();
}

void TQXBatchInputForm::setPage(int page)
{
    m_pages->setCurrentIndex(std::clamp(page, 0, m_pages->count() - 1));
    if (m_pages->currentIndex() == 2)
        m_calls->reload();
    refreshCounters();
    updateButtons();
}

QLabel* TQXBatchInputForm::counterLabel(int n) const
{
    return m_counters[std::clamp(n, 0, 2)];
}

QString TQXBatchInputForm::ownCall() const
{
    const QString text = m_own->currentText().trimmed().toUpper();
    return text == QLatin1String(kBatchAllCalls) ? QString() : text;
}

QString TQXBatchInputForm::sectionName() const
{
    const QString own = ownCall();
    return own.isEmpty() ? QString::fromLatin1(kBatchAllCalls) : own;
}

QString TQXBatchInputForm::iniPath() const
{
    return QDir(QString::fromStdString(m_dm.QXUserPath)).filePath(QStringLiteral("BatchInput.ini"));
}

void TQXBatchInputForm::ownCallLeft()
{
    const QString own = ownCall();
    if (!isValidOwnCall(own.toStdString())) {
        m_dm.prompter().error("\"" + own.toStdString() + "\" is not a call sign.");
        m_own->setCurrentText(QString::fromLatin1(kBatchAllCalls));
        return;
    }
    const IniFile ini(iniPath().toStdString());
    const std::string section = sectionName().toStdString();
    if (ini.existedOnLoad() && ini.sectionExists(section)) {
        const bool url = ini.readInteger(section, "FileOrURL", 0) == 1;
        (url ? m_fromUrl : m_fromFile)->setChecked(true);
        m_source->setText(QString::fromStdString(url ? ini.readString(section, "URL", "http://")
                                                     : ini.readString(section, "FileName", "")));
    }
    m_calls->setOwnCall(own);
    if (m_fromFile->isChecked() && !m_source->text().isEmpty())
        readFile(m_source->text());
    refreshCounters();
}

void TQXBatchInputForm::browse()
{
    if (m_fromUrl->isChecked()) {
        readSource();
        return;
    }
    const QString caption = tr("Batch Input file");
    const QString folder = QString::fromStdString(m_dm.QXTmpPath);
    const QString filter = tr("Batch Input files (*.txt);;All files (*)");
    const QString file = m_chooseFile ? m_chooseFile(caption, folder, filter)
                                      : QFileDialog::getOpenFileName(this, caption, folder, filter);
    m_source->setText(file);
    if (!file.isEmpty())
        readFile(file);
}

void TQXBatchInputForm::readSource()
{
    const QString text = m_source->text().trimmed();
    if (m_fromUrl->isChecked())
        fetch(text);
    else if (!text.isEmpty())
        readFile(text);
}

void TQXBatchInputForm::readFile(const QString& path)
{
    std::string error;
    auto list = readBatchFile(path.toStdString(), &error);
    setList(std::move(list), error);
}

void TQXBatchInputForm::fetch(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        setList(std::nullopt, "\"" + address.toStdString() + "\" is not a web address.");
        return;
    }
    if (m_reply)
        m_reply->abort();
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setTransferTimeout(kFetchTimeoutMs);
    m_received.clear();
    m_tooLarge = false;
    m_reply = m_network->get(request);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        m_received += m_reply->readAll();
        if (static_cast<std::size_t>(m_received.size()) > kBatchMaxBytes) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, [this] { fetchDone(); });
}

void TQXBatchInputForm::fetchDone()
{
    QNetworkReply* reply = m_reply;
    QApplication::restoreOverrideCursor();
    if (!reply)
        return;
    reply->deleteLater();
    m_reply = nullptr;
    const std::string address = reply->url().toString().toStdString();
    if (m_tooLarge) {
        setList(std::nullopt, "The page " + address + " is larger than " +
                                  std::to_string(kBatchMaxBytes >> 20) +
                                  " MB: this is not a QSL request list.");
    } else if (reply->error() != QNetworkReply::NoError) {
        setList(std::nullopt, "The page " + address +
                                  " could not be read: " + reply->errorString().toStdString());
    } else {
        m_received += reply->readAll();
        const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
        if (!type.isEmpty() && !type.startsWith(QLatin1String("text/")) &&
            !type.contains(QLatin1String("html")) && !type.contains(QLatin1String("xml"))) {
            setList(std::nullopt, "The page " + address + " is no text (" + type.toStdString() +
                                      "): it holds no QSL request list.");
        } else {
            std::string error;
            auto list = parseBatchBytes(
                std::string_view(m_received.constData(), static_cast<size_t>(m_received.size())),
                type.contains(QLatin1String("html")), &error);
            setList(std::move(list), error);
        }
    }
    m_received.clear();
    emit fetchFinished();
}

void TQXBatchInputForm::takeText(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::string error;
    auto list = parseBatchText(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &error);
    if (!list) {
        m_dm.prompter().error(error);
        return;
    }
    m_list = std::move(*list);
    m_listRead = !text.isEmpty();
    refreshCounters();
    updateButtons();
}

void TQXBatchInputForm::setList(std::optional<BatchImportList> list, const std::string& error)
{
    if (!list) {
        // What was read before stays: a failed read loses nothing.
        m_dm.prompter().error(error + "\r\nThe import list is unchanged.");
        return;
    }
    m_list = std::move(*list);
    m_listRead = true;
    QStringList lines;
    lines.reserve(static_cast<int>(m_list.lines.size()));
    for (const std::string& l : m_list.lines)
        lines << QString::fromStdString(l);
    m_showing = true;
    m_preview->setPlainText(lines.join(QLatin1Char('\n')));
    m_showing = false;
    m_typing->stop();
    refreshCounters();
    updateButtons();
}

void TQXBatchInputForm::importNow()
{
    if (m_list.empty())
        return;
    setPage(2);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_calls->model()->suspend();
    const BatchImportCounts c = importBatchList(m_dm.batchInput(), m_list, ownCall().toStdString());
    m_calls->model()->resume();
    QApplication::restoreOverrideCursor();
    m_list = {};
    m_listRead = false;
    m_showing = true;
    m_preview->clear();
    m_showing = false;
    m_calls->setOwnCall(ownCall());
    m_dm.UseBatchInput = m_dm.batchInput().hasStations();
    refreshCounters();
    updateButtons();
    setWindowTitle(tr("QX Batch Input Maintenance") +
                   tr(" - %1 call(s) added, %2 updated, %3 QSO(s) added")
                       .arg(c.callsAdded)
                       .arg(c.callsUpdated)
                       .arg(c.qsosAdded));
}

void TQXBatchInputForm::refreshCounters()
{
    m_counters[0]->setText(m_listRead ? QString::number(m_list.calls.size()) : QString());
    m_counters[1]->setText(m_listRead ? QString::number(m_list.qsos.size()) : QString());
    m_counters[2]->setText(QString::number(m_calls->rowCount()));
}

void TQXBatchInputForm::updateButtons()
{
    m_back->setEnabled(page() > 0);
    m_next->setEnabled(page() < m_pages->count() - 1);
    m_import->setEnabled(!m_list.empty());
}

} // namespace qx7
