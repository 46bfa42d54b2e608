#include "ui/logfiles/TQXNewLogForm.h"

#include "convert/engine/NewLog.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <filesystem>

namespace qx7 {

namespace {

QString logFolderOf(const TQXDM& dm)
{
    return QString::fromStdString(dm.QXLogPath);
}

} // namespace

TQXNewLogForm::TQXNewLogForm(TQXDM& dm, const QString& adifFile, QWidget* parent)
    : QDialog(parent), m_dm(dm)
{
    setObjectName("QXNewLogForm");
    setWindowTitle(tr("New Log"));
    m_saveAs = new QLineEdit(this);
    m_saveAs->setObjectName("SaveAsEdit");
    m_saveAs->setToolTip(tr("Save output log as..."));
    m_call = new QLineEdit(this);
    m_call->setObjectName("CallEdit");
    m_call->setToolTip(tr("Enter your call sign here"));
    m_call->setMaxLength(16);
    m_call->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[/0-9A-Za-z]*")), m_call));
    m_adif = new QLineEdit(this);
    m_adif->setObjectName("AdifEdit");
    m_adif->setReadOnly(true);
    m_adif->setPlaceholderText(tr("(none: an empty log)"));
    m_browse = new QPushButton(tr("&Browse..."), this);
    m_browse->setObjectName("BrowseButton");
    auto* adifRow = new QHBoxLayout;
    adifRow->addWidget(m_adif, 1);
    adifRow->addWidget(m_browse);
    auto* form = new QFormLayout;
    form->addRow(tr("&Save log as:  "), m_saveAs);
    form->addRow(tr("Ca&llsign:"), m_call);
    form->addRow(tr("&ADIF file:"), adifRow);
    static_cast<QLabel*>(form->labelForField(adifRow))->setBuddy(m_browse);

    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName("ProgressLabel");
    m_progress = new QProgressBar(this);
    m_progress->setObjectName("ProgressBar");
    m_progress->setRange(0, 100);
    m_progressLabel->hide();
    m_progress->hide();
    m_outcome = new QLabel(this);
    m_outcome->setObjectName("OutcomeLabel");
    m_outcome->setWordWrap(true);

    m_start = new QPushButton(tr("&Start Conversion"), this);
    m_start->setObjectName("StartButton");
    m_start->setDefault(true);
    m_cancel = new QPushButton(tr("&Cancel"), this);
    m_cancel->setObjectName("CancelButton");
    m_close = new QPushButton(tr("Cl&ose"), this);
    m_close->setObjectName("CloseButton");
    m_close->hide();
    auto* help = new QPushButton(tr("&Help"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {m_start, m_close, m_cancel, help})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progressLabel);
    layout->addWidget(m_progress);
    layout->addWidget(m_outcome);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(480, 240);

    connect(m_browse, &QPushButton::clicked, this, &TQXNewLogForm::browse);
    connect(m_saveAs, &QLineEdit::editingFinished, this, &TQXNewLogForm::saveAsLeft);
    connect(m_saveAs, &QLineEdit::textChanged, this, &TQXNewLogForm::updateStart);
    connect(m_call, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int at = m_call->cursorPosition();
        m_call->setText(text.toUpper());
        m_call->setCursorPosition(at);
    });
    connect(m_call, &QLineEdit::textChanged, this, &TQXNewLogForm::updateStart);
    connect(m_start, &QPushButton::clicked, this, qOverload<>(&TQXNewLogForm::start));
    connect(m_cancel, &QPushButton::clicked, this, &TQXNewLogForm::reject);
    connect(m_close, &QPushButton::clicked, this, [this] {
        m_closedWithResult = true;
        accept();
    });
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kNewLog), this); });

    if (!adifFile.isEmpty() && QFileInfo::exists(adifFile)) {
        m_browse->setEnabled(false);
        m_adif->setText(adifFile);
        m_saveAs->setText(QFileInfo(adifFile).completeBaseName());
        m_call->setFocus();
    }
    updateStart();
}

QString TQXNewLogForm::outcome() const
{
    return m_outcome->text();
}

void TQXNewLogForm::browse()
{
    const QString folder = QString::fromStdString(m_dm.QXTmpPath);
    const QString file = m_chooseFile ? m_chooseFile(folder)
                                      : QFileDialog::getOpenFileName(this, tr("ADIF file"), folder,
                                                                     tr("ADIF (*.adi *.adif)"));
    if (file.isEmpty())
        return;
    m_adif->setText(file);
    if (m_saveAs->text().isEmpty())
        m_saveAs->setText(QFileInfo(file).completeBaseName());
    updateStart();
    m_saveAs->setFocus();
}

void TQXNewLogForm::saveAsLeft()
{
    const QString text = m_saveAs->text().trimmed();
    if (text.isEmpty() || m_running)
        return;
    const QString name = QString::fromStdString(logBaseName(text.toStdString()));
    const QString path = logFolderOf(m_dm) + QLatin1Char('/') + name;
    if (m_saveAs->text() != path)
        m_saveAs->setText(path);
    if (path == m_confirmedOverwrite || !QFileInfo::exists(path + QStringLiteral(".qx7")))
        return;
    if (m_dm.prompter().ask(PromptIcon::Warning, "Log exists! Overwrite?",
                            PromptButton::Yes | PromptButton::Cancel) == PromptButton::Yes)
        m_confirmedOverwrite = path;
    else
        m_saveAs->setFocus();
}

void TQXNewLogForm::updateStart()
{
    const bool name = !logBaseName(m_saveAs->text().trimmed().toStdString()).empty();
    m_start->setEnabled(!m_running && name && m_call->text().size() > 2);
    m_start->setText(m_adif->text().isEmpty() ? tr("Create &empty log") : tr("&Start Conversion"));
}

void TQXNewLogForm::start()
{
    saveAsLeft(); // the same question when Start is pressed without leaving the field
    const QString path = m_saveAs->text();
    if (QFileInfo::exists(path + QStringLiteral(".qx7")) && path != m_confirmedOverwrite)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_running = true;
    for (QWidget* w : {static_cast<QWidget*>(m_start), static_cast<QWidget*>(m_browse),
                       static_cast<QWidget*>(m_saveAs), static_cast<QWidget*>(m_call)})
        w->setEnabled(false);
    m_outcome->clear();
    m_progressLabel->setText(tr("Reading..."));
    m_progressLabel->show();
    m_progress->setValue(0);
    m_progress->show();
    std::string why;
    const bool made = createLog(why);
    m_running = false;
    m_progress->hide();
    m_progressLabel->clear();
    m_progressLabel->hide();
    m_cancel->setEnabled(true);
    m_start->hide();
    m_close->show();
    m_close->setDefault(true);
    m_close->setFocus();
    QApplication::restoreOverrideCursor();
    if (made) {
        m_result = path;
        m_dm.LogCount = 1;
        m_outcome->setText(tr("New log \"%1\" made.").arg(QFileInfo(path).fileName()));
    } else {
        m_outcome->setText(tr("No log was made: %1.").arg(QString::fromStdString(why)));
    }
}

bool TQXNewLogForm::createLog(std::string& why)
{
    const std::string saveAs = m_saveAs->text().toStdString();
    const std::string call = m_call->text().toStdString();
    if (m_adif->text().isEmpty()) {
        const std::string name = logBaseName(saveAs);
        const std::string table = m_dm.logTablePath(name);
        bool ok = m_dm.CreateLogTable(name) && m_dm.CreateLogDescriptor(table);
        try {
            if (ok)
                writeLogDescriptor(logPaths(m_dm.QXLogPath, name).descriptor, {call, {}});
        } catch (const dbase::Error& e) {
            ok = false;
            why = e.cause();
        }
        if (!ok && why.empty())
            why = "the log could not be written (is it open?)";
        return ok;
    }
    ConversionEngine& engine = m_dm.conversion();
    Progress& before = engine.progress();
    engine.setProgress(*this);
    const std::string made =
        createLogFromAdif(engine, m_dm, m_adif->text().toStdString(), saveAs, call, &why);
    engine.setProgress(before);
    return !made.empty();
}

void TQXNewLogForm::start(const std::string& caption, long long)
{
    // The engine says "Reading: FILE" and then "Writing: FILE"; a write cannot be
    // stopped half way without losing the log it replaces.
    m_reading = caption.rfind("Reading", 0) == 0;
    m_progressLabel->setText(m_reading ? tr("Reading...") : tr("Writing..."));
    m_cancel->setEnabled(m_reading);
    m_progress->setValue(0);
}

bool TQXNewLogForm::step(long long done)
{
    m_progress->setValue(static_cast<int>(done));
    QApplication::processEvents();
    return !m_dm.conversion().abortRequested();
}

void TQXNewLogForm::reject()
{
    if (m_running) {
        if (m_reading)
            m_dm.conversion().requestAbort();
        return; // the run ends first; then the dialog can be closed
    }
    QDialog::reject();
}

QString TQXNewLogForm::run(TQXDM& dm, QWidget* parent, const QString& adifFile, FileChooser chooser)
{
    TQXNewLogForm form(dm, adifFile, parent);
    if (chooser)
        form.setFileChooser(std::move(chooser));
    form.exec();
    return form.resultPath();
}

} // namespace qx7
