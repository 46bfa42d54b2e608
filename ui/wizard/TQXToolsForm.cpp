#include "ui/wizard/TQXToolsForm.h"

#include "convert/engine/ConversionMacro.h"
#include "convert/engine/LogTypes.h"
#include "convert/specs/ImportSpecFile.h"
#include "convert/specs/OutputSpecFile.h"
#include "core/IniFile.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Text.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"
#include "ui/wizard/ExportFieldsPage.h"
#include "ui/wizard/InputPreview.h"
#include "ui/wizard/LogExplorerWindow.h"
#include "ui/wizard/TQXToolsAdifForm.h"
#include "ui/wizard/TQXToolsSpecsForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSection = "Convert";
constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kTypeRole = Qt::UserRole;

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string s(const QString& text)
{
    return text.toStdString();
}

// "yyyy.mm.dd" with blanks: the digits typed, empty when none.
std::string dateLimit(const QLineEdit* edit)
{
    std::string out;
    for (QChar c : edit->text())
        if (c.isDigit())
            out += static_cast<char>(c.toLatin1());
    return out;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent = nullptr)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

// Shows the engine's progress on the current-log bar and keeps the window alive; a
// pressed Cancel answers "stop".
class TQXToolsForm::RunProgress : public Progress
{
public:
    explicit RunProgress(TQXToolsForm& form) : m_form(form) {}
    bool step(long long percent) override
    {
        m_form.onProgress(static_cast<int>(percent));
        QApplication::processEvents();
        return !m_form.m_cancelled;
    }

private:
    TQXToolsForm& m_form;
};

TQXToolsForm::TQXToolsForm(TQXDM& dm, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_progress(std::make_unique<RunProgress>(*this)),
      m_engine(dm, *m_progress, dm.prompter()), m_run(m_engine, dm)
{
    setObjectName(QStringLiteral("TQXToolsForm"));
    setAcceptDrops(true);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildChoosePage());
    m_pages->addWidget(buildInputPage());
    m_pages->addWidget(buildOutputPage());
    m_pages->addWidget(buildWriteModePage());
    m_pages->addWidget(buildProtocolPage());
    m_pages->addWidget(buildMacrosPage());
    m_outputSpec = new ExportFieldsPage;
    m_pages->addWidget(m_outputSpec);
    connect(m_outputSpec, &ExportFieldsPage::backRequested, this, [this] { showPage(OutputPage); });
    connect(m_outputSpec, &ExportFieldsPage::startRequested, this, [this] {
        if (!m_outputSpec->save()) {
            m_dm.prompter().error("Cannot write the output specification in " + m_dm.QXUserPath);
            return;
        }
        runConversion();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    m_barTimer.setInterval(100);
    connect(&m_barTimer, &QTimer::timeout, this, [this] { updateBars(); });
    m_engine.ClearImportBuffer();
    readSettings();
    showPage(ChoosePage);
    resize(720, 520);
}

TQXToolsForm::~TQXToolsForm() = default;

// ---------------------------------------------------------------- pages

QWidget* TQXToolsForm::buildChoosePage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    m_taskList = new QListWidget;
    m_taskList->setObjectName(QStringLiteral("TaskList"));
    m_taskList->addItems({tr("Import/Export Logs"), tr("Log Macros")});
    m_taskList->setCurrentRow(0);
    v->addWidget(m_taskList);
    v->addWidget(new QLabel(tr("Import your logs into QX, export QX logs into other formats.")));
    auto* next = button(tr("&Next >>"), "ChooseNextButton");
    connect(next, &QPushButton::clicked, this, [this] {
        if (m_taskList->currentRow() == 1) {
            refreshMacroList();
            showPage(MacrosPage);
        } else
            showPage(InputPage);
    });
    connect(m_taskList, &QListWidget::itemDoubleClicked, next, &QPushButton::click);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(next);
    v->addLayout(row);
    return page;
}

QWidget* TQXToolsForm::buildInputPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* top = new QFormLayout;
    m_inputType = new QComboBox;
    m_inputType->setObjectName(QStringLiteral("InputLogTypeBox"));
    for (const auto& t : inputLogTypes())
        m_inputType->addItem(q(std::string(t.description)), t.code);
    top->addRow(tr("Log type:"), m_inputType);
    auto* specRow = new QHBoxLayout;
    m_specName = new QLineEdit;
    m_specName->setObjectName(QStringLiteral("SpecNameField"));
    m_specName->setReadOnly(true);
    m_specsButton = button(tr("&Specifications..."), "SpecificationsButton");
    m_adifOptions = button(tr("ADIF &Options..."), "AdifOptionsButton");
    specRow->addWidget(m_specName);
    specRow->addWidget(m_specsButton);
    specRow->addWidget(m_adifOptions);
    top->addRow(tr("Spec. name:"), specRow);
    v->addLayout(top);

    auto* middle = new QHBoxLayout;
    m_files = new QListWidget;
    m_files->setObjectName(QStringLiteral("FileList"));
    middle->addWidget(m_files, 2);
    auto* buttons = new QVBoxLayout;
    auto* add = button(tr("&Add Log..."), "AddLogButton");
    auto* analyze = button(tr("Anal&yze log"), "AnalyzeButton");
    auto* clear = button(tr("Clea&r list"), "ClearListButton");
    auto* remove = button(tr("Remo&ve item"), "RemoveItemButton");
    m_explorerButton = button(tr("&Explorer Window"), "ExplorerWindowButton");
    m_explorerButton->setCheckable(true);
    for (QPushButton* b : {add, analyze, clear, remove, m_explorerButton})
        buttons->addWidget(b);
    buttons->addStretch();
    m_total = new QLabel(QStringLiteral("0 QSOs"));
    m_total->setObjectName(QStringLiteral("TotalLabel"));
    buttons->addWidget(m_total);
    middle->addLayout(buttons);
    v->addLayout(middle, 2);

    auto* details = new QGroupBox(tr("Selected log"));
    auto* form = new QFormLayout(details);
    m_fileName = new QLabel;
    m_fileType = new QLabel;
    m_fileSize = new QLabel;
    m_fileCall = new QLabel;
    m_comment = new QLineEdit;
    m_comment->setObjectName(QStringLiteral("LogSpecComment"));
    m_comment->setMaxLength(60);
    form->addRow(tr("File:"), m_fileName);
    form->addRow(tr("Type:"), m_fileType);
    form->addRow(tr("Size:"), m_fileSize);
    form->addRow(tr("Call:"), m_fileCall);
    form->addRow(tr("Comment:"), m_comment);
    v->addWidget(details);

    m_preview = new QTableWidget(0, 6);
    m_preview->setObjectName(QStringLiteral("PreviewGrid"));
    m_preview->setHorizontalHeaderLabels(
        {tr("Call"), tr("Date"), tr("Time"), tr("Band"), tr("Mode"), tr("Problem")});
    m_preview->horizontalHeader()->setStretchLastSection(true);
    m_preview->verticalHeader()->setDefaultSectionSize(20);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->addWidget(m_preview, 2);

    auto* row = new QHBoxLayout;
    auto* back = button(tr("<< &Back"), "InputBackButton");
    m_inputNext = button(tr("&Next >>"), "InputNextButton");
    row->addWidget(back);
    row->addStretch();
    row->addWidget(m_inputNext);
    v->addLayout(row);

    m_explorer = new LogExplorerWindow(this);
    connect(m_explorerButton, &QPushButton::toggled, this, [this](bool on) { showExplorer(on); });
    connect(m_explorer, &LogExplorerWindow::hidden, this, [this] {
        m_explorerSize = m_explorer->size();
        const QSignalBlocker block(m_explorerButton);
        m_explorerButton->setChecked(false);
    });
    connect(m_explorer, &LogExplorerWindow::filesChosen, this, [this](const QStringList& files) {
        if (this->page() == InputPage && !m_running)
            addChosenFiles(files, inputType());
    });

    connect(m_inputType, &QComboBox::currentIndexChanged, this, [this] { inputTypeChanged(); });
    connect(add, &QPushButton::clicked, this, [this] { addLogByDialog(); });
    connect(m_specsButton, &QPushButton::clicked, this, [this] { editSelectedSpecification(); });
    connect(m_adifOptions, &QPushButton::clicked, this, [this] { showAdifOptions(); });
    connect(analyze, &QPushButton::clicked, this, [this] { analyzeSelected(); });
    connect(clear, &QPushButton::clicked, this, [this] { clearList(); });
    connect(remove, &QPushButton::clicked, this, [this] { removeSelected(); });
    connect(m_files, &QListWidget::currentRowChanged, this, [this] { showSelectedFile(); });
    connect(m_files, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        // Ticking a file's box analyses it.
        if (item->checkState() == Qt::Checked && m_files->currentItem() == item) {
            for (TQXLogSpec& spec : m_run.logs())
                if (q(spec.FileName) == item->data(kFileRole).toString() && !spec.Checked)
                    analyzeSelected();
        }
    });
    connect(m_comment, &QLineEdit::editingFinished, this, [this] { commentEdited(); });
    connect(back, &QPushButton::clicked, this, [this] { showPage(ChoosePage); });
    connect(m_inputNext, &QPushButton::clicked, this, [this] {
        proposeOutput();
        showPage(OutputPage);
    });
    return page;
}

QWidget* TQXToolsForm::buildOutputPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_outputType = new QComboBox;
    m_outputType->setObjectName(QStringLiteral("OutputLogTypeBox"));
    for (const auto& t : outputLogTypes())
        m_outputType->addItem(q(std::string(t.description)), t.code);
    form->addRow(tr("Log type:"), m_outputType);
    auto* folderRow = new QHBoxLayout;
    m_folder = new QLineEdit;
    m_folder->setObjectName(QStringLiteral("FolderEdit"));
    auto* browse = button(tr("Brows&e..."), "BrowseButton");
    folderRow->addWidget(m_folder);
    folderRow->addWidget(browse);
    auto* folderLabel = new QLabel(tr("Sa&ve in folder:"));
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);
    m_file = new QLineEdit;
    m_file->setObjectName(QStringLiteral("FileNameEdit"));
    auto* fileLabel = new QLabel(tr("&Filename:"));
    fileLabel->setBuddy(m_file);
    form->addRow(fileLabel, m_file);
    m_call = new QLineEdit;
    m_call->setObjectName(QStringLiteral("CallEdit"));
    m_call->setMaxLength(13);
    auto* callLabel = new QLabel(tr("Ca&llsign:"));
    callLabel->setBuddy(m_call);
    form->addRow(callLabel, m_call);
    auto* dates = new QHBoxLayout;
    m_dateFrom = new QLineEdit;
    m_dateFrom->setObjectName(QStringLiteral("DateFromEdit"));
    m_dateTo = new QLineEdit;
    m_dateTo->setObjectName(QStringLiteral("DateToEdit"));
    for (QLineEdit* e : {m_dateFrom, m_dateTo}) {
        e->setInputMask(QStringLiteral("9999.99.99; "));
        e->setMaximumWidth(110);
    }
    auto* fromLabel = new QLabel(tr("Import QSOs bet&ween:"));
    fromLabel->setBuddy(m_dateFrom);
    auto* toLabel = new QLabel(tr("an&d:"));
    toLabel->setBuddy(m_dateTo);
    dates->addWidget(m_dateFrom);
    dates->addWidget(toLabel);
    dates->addWidget(m_dateTo);
    dates->addStretch();
    form->addRow(fromLabel, dates);
    v->addLayout(form);
    m_notSent = new QCheckBox(tr("Import only QSOs with QSL sent = &No"));
    m_notSent->setObjectName(QStringLiteral("NotSentCheckBox"));
    m_exchange = new QCheckBox(tr("Remove contest e&xchanges from report"));
    m_exchange->setObjectName(QStringLiteral("ExchangeCheckBox"));
    m_exchange->setChecked(true);
    m_replace = new QCheckBox(tr("&Replace contest reports with standard reports (59/599)"));
    m_replace->setObjectName(QStringLiteral("ReplaceCheckBox"));
    for (QCheckBox* c : {m_notSent, m_exchange, m_replace})
        v->addWidget(c);
    v->addStretch();
    auto* row = new QHBoxLayout;
    auto* back = button(tr("<< &Back"), "OutputBackButton");
    auto* macro = button(tr("Save as &Macro..."), "SaveMacroButton");
    m_start = button(tr("&Start Conversion"), "StartButton");
    row->addWidget(back);
    row->addWidget(macro);
    row->addStretch();
    row->addWidget(m_start);
    v->addLayout(row);

    connect(m_outputType, &QComboBox::currentIndexChanged, this, [this] { outputTypeChanged(); });
    connect(m_call, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int pos = m_call->cursorPosition();
        m_call->setText(text.toUpper());
        m_call->setCursorPosition(pos);
    });
    for (QLineEdit* e : {m_folder, m_file, m_call})
        connect(e, &QLineEdit::textChanged, this, [this] { updateStartButton(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString dir =
            QFileDialog::getExistingDirectory(this, tr("Save in folder"), m_folder->text());
        if (!dir.isEmpty())
            m_folder->setText(QDir::toNativeSeparators(dir));
    });
    connect(back, &QPushButton::clicked, this, [this] { showPage(InputPage); });
    connect(macro, &QPushButton::clicked, this, [this] { saveMacroByDialog(); });
    connect(m_start, &QPushButton::clicked, this, [this] { startPressed(); });
    return page;
}

QWidget* TQXToolsForm::buildWriteModePage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(new QLabel(tr("The output log file exists already! What do you want to do?")));
    m_modes[0] = new QRadioButton(tr("&Append/Update log: update destination records."));
    m_modes[1] = new QRadioButton(tr("Append/Update log: DO &NOT update destination records."));
    m_modes[2] = new QRadioButton(tr("&Overwrite log"));
    for (int i = 0; i < 3; ++i) {
        m_modes[i]->setObjectName(QStringLiteral("WriteMode%1").arg(i));
        v->addWidget(m_modes[i]);
    }
    m_modes[2]->setChecked(true);
    v->addStretch();
    auto* row = new QHBoxLayout;
    auto* back = button(tr("<< &Back"), "WriteModeBackButton");
    auto* start = button(tr("&Start Conversion"), "WriteModeStartButton");
    row->addWidget(back);
    row->addStretch();
    row->addWidget(start);
    v->addLayout(row);
    connect(back, &QPushButton::clicked, this, [this] { showPage(OutputPage); });
    connect(start, &QPushButton::clicked, this, [this] { runConversion(); });
    return page;
}

QWidget* TQXToolsForm::buildProtocolPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    m_protocol = new QPlainTextEdit;
    m_protocol->setObjectName(QStringLiteral("ProtocolMemo"));
    m_protocol->setReadOnly(true);
    v->addWidget(m_protocol);
    auto* grid = new QGridLayout;
    m_logBar = new QProgressBar;
    m_logBar->setObjectName(QStringLiteral("LogProgressBar"));
    m_inputBar = new QProgressBar;
    m_inputBar->setObjectName(QStringLiteral("InputProgressBar"));
    m_outputBar = new QProgressBar;
    m_outputBar->setObjectName(QStringLiteral("OutputProgressBar"));
    m_readSum = new QLabel;
    m_readSum->setObjectName(QStringLiteral("ReadSumLabel"));
    m_writtenSum = new QLabel;
    m_writtenSum->setObjectName(QStringLiteral("WrittenSumLabel"));
    grid->addWidget(new QLabel(tr("Current log:")), 0, 0);
    grid->addWidget(m_logBar, 0, 1);
    grid->addWidget(new QLabel(tr("All input logs:")), 1, 0);
    grid->addWidget(m_inputBar, 1, 1);
    grid->addWidget(m_readSum, 1, 2);
    grid->addWidget(new QLabel(tr("Output:")), 2, 0);
    grid->addWidget(m_outputBar, 2, 1);
    grid->addWidget(m_writtenSum, 2, 2);
    v->addLayout(grid);
    auto* row = new QHBoxLayout;
    m_cancel = button(tr("&Cancel"), "CancelButton");
    m_viewLog = button(tr("View &Error Log"), "ViewErrorLogButton");
    m_again = button(tr("&Next Conversion"), "NextConversionButton");
    m_finish = button(tr("&Finish"), "FinishButton");
    row->addWidget(m_cancel);
    row->addWidget(m_viewLog);
    row->addStretch();
    row->addWidget(m_again);
    row->addWidget(m_finish);
    v->addLayout(row);
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancelRun(); });
    connect(m_viewLog, &QPushButton::clicked, this, [this] {
        const QString path = q(m_result.errorLogPath);
        if (m_viewErrorLog)
            m_viewErrorLog(path);
        else
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        m_viewLog->hide();
    });
    connect(m_again, &QPushButton::clicked, this, [this] { nextConversion(); });
    connect(m_finish, &QPushButton::clicked, this, [this] { close(); });
    return page;
}

QWidget* TQXToolsForm::buildMacrosPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    m_macros = new QListWidget;
    m_macros->setObjectName(QStringLiteral("MacroList"));
    v->addWidget(m_macros);
    auto* form = new QFormLayout;
    m_macroOutput = new QLabel;
    m_macroOutput->setObjectName(QStringLiteral("MacroOutputLabel"));
    m_macroCall = new QLabel;
    m_macroCall->setObjectName(QStringLiteral("MacroCallLabel"));
    form->addRow(tr("Output file:"), m_macroOutput);
    form->addRow(tr("Callsign:"), m_macroCall);
    v->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* back = button(tr("<< &Back"), "MacroBackButton");
    auto* remove = button(tr("&Delete Macro"), "DeleteMacroButton");
    auto* perform = button(tr("Perform &Macro"), "PerformMacroButton");
    row->addWidget(back);
    row->addWidget(remove);
    row->addStretch();
    row->addWidget(perform);
    v->addLayout(row);
    connect(m_macros, &QListWidget::currentRowChanged, this, [this] { showSelectedMacro(); });
    connect(m_macros, &QListWidget::itemDoubleClicked, this, [this] { runMacro(); });
    connect(back, &QPushButton::clicked, this, [this] { showPage(ChoosePage); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteSelectedMacro(); });
    connect(perform, &QPushButton::clicked, this, [this] { runMacro(); });
    return page;
}

TQXToolsForm::Page TQXToolsForm::page() const
{
    return static_cast<Page>(m_pages->currentIndex());
}

void TQXToolsForm::showPage(Page page)
{
    static const char* const captions[] = {
        "QX Tools Wizard",
        "QX Tools Wizard - Choose Input Log(s)",
        "QX Tools Wizard - Choose Output Log",
        "QX Tools Wizard - Write Mode",
        "QX Tools Wizard - Converting...",
        "QX Tools Wizard - Log Macros",
        "QX Tools Wizard - Specify fields to be exported",
    };
    m_pages->setCurrentIndex(page);
    setWindowTitle(tr(captions[page]));
    if (page != InputPage)
        showExplorer(false); // it feeds the input list only
    if (page == InputPage)
        m_inputNext->setEnabled(!m_run.logs().empty());
    if (page == OutputPage)
        updateStartButton();
}

// ---------------------------------------------------------------- settings

void TQXToolsForm::readSettings()
{
    const IniFile ini(m_dm.iniPath());
    const int last = static_cast<int>(ini.readInteger(kSection, "LastInputType", 23));
    const int row = m_inputType->findData(last);
    m_inputType->setCurrentIndex(row >= 0 ? row : 0);
    inputTypeChanged();
    const int out = m_outputType->findData(kPreselectedOutputType);
    m_outputType->setCurrentIndex(out >= 0 ? out : 0);
    std::string folder = ini.readString(kSection, "OutputLogPath", "");
    if (folder.empty())
        folder = m_dm.QXTmpPath;
    m_outputFolder = QDir::toNativeSeparators(q(folder));
    m_folder->setText(m_outputFolder);
    m_lastCall = ini.readString(kSection, "OutputLogCall", "");
    m_call->setText(q(m_lastCall));
    const long long mode = ini.readInteger(kSection, "WriteMode", 2);
    m_modes[mode >= 0 && mode <= 2 ? mode : 2]->setChecked(true);
    outputTypeChanged();
    const QSize explorer(static_cast<int>(ini.readInteger(kSection, "ExplorerWidth", 0)),
                         static_cast<int>(ini.readInteger(kSection, "ExplorerHeight", 0)));
    if (explorer.width() > 0 && explorer.height() > 0)
        m_explorerSize = explorer;
}

void TQXToolsForm::writeSettings()
{
    IniFile ini(m_dm.iniPath());
    ini.writeInteger(kSection, "LastInputType", inputType());
    std::string folder =
        s(QDir::toNativeSeparators(m_folder->isEnabled() ? m_folder->text() : m_outputFolder));
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += s(QString(QDir::separator()));
    ini.writeString(kSection, "OutputLogPath", folder);
    ini.writeString(kSection, "OutputLogCall", s(m_call->text()));
    int mode = 2;
    for (int i = 0; i < 3; ++i)
        if (m_modes[i]->isChecked())
            mode = i;
    ini.writeInteger(kSection, "WriteMode", mode);
    // The explorer keeps the size the user gave it; one never opened leaves the keys alone.
    const QSize explorer = m_explorer->isVisible() ? m_explorer->size() : m_explorerSize;
    if (explorer.isValid()) {
        ini.writeInteger(kSection, "ExplorerWidth", explorer.width());
        ini.writeInteger(kSection, "ExplorerHeight", explorer.height());
    }
    ini.save();
}

void TQXToolsForm::closeEvent(QCloseEvent* event)
{
    if (m_running) { // the run ends first; Cancel stops it
        event->ignore();
        return;
    }
    writeSettings();
    showExplorer(false);
    QDialog::closeEvent(event);
}

// ---------------------------------------------------------------- input page

int TQXToolsForm::inputType() const
{
    return m_inputType->currentData().toInt();
}

int TQXToolsForm::outputType() const
{
    return m_outputType->currentData().toInt();
}

void TQXToolsForm::inputTypeChanged()
{
    const auto row = findLogType(inputType());
    if (!row)
        return;
    const IniFile ini(m_dm.iniPath());
    const ImportMemory memory = LoadImportPath(ini, row->code, m_dm.QXLogPath, m_dm.QXTmpPath);
    m_specName->setText(q(memory.specName));
    m_specName->setEnabled(row->specKind != SpecKind::None);
    m_specsButton->setVisible(row->specKind != SpecKind::None);
    m_adifOptions->setVisible(row->code == LogType::Adif);
    // QX7 logs all live in the log folder: the explorer stays there.
    m_explorer->showFolder(q(memory.folder), q(m_dm.QXTmpPath),
                           QStringLiteral("*.") + q(std::string(row->extension)), row->code,
                           row->code == LogType::Qx7);
}

void TQXToolsForm::showExplorer(bool show)
{
    if (show) {
        if (!m_explorer->isVisible()) {
            // Beside the wizard, where it hides nothing of the input page.
            const QRect frame = frameGeometry();
            m_explorer->move(frame.right() + 8, frame.top());
            m_explorer->resize(m_explorerSize.isValid() ? m_explorerSize
                                                        : QSize(m_explorer->width(), height()));
        }
        m_explorer->show();
        m_explorer->raise();
    } else
        m_explorer->hide();
    const QSignalBlocker block(m_explorerButton);
    m_explorerButton->setChecked(show);
}

bool TQXToolsForm::editSpecification(TQXLogSpec& spec)
{
    const auto row = findLogType(spec.LogType);
    if (!row || row->specKind == SpecKind::None)
        return false;
    if (!EditImportSpec(m_dm, row->specKind, spec, this, m_specDriver))
        return false;
    m_specName->setText(q(spec.SpecName));
    IniFile ini(m_dm.iniPath());
    SaveImportSpec(ini, spec.LogType, spec.SpecName);
    ini.save();
    refreshPreview();
    return true;
}

void TQXToolsForm::editSelectedSpecification()
{
    if (TQXLogSpec* spec = selectedSpec())
        editSpecification(*spec);
}

void TQXToolsForm::showAdifOptions()
{
    TQXToolsAdifForm dlg(m_dm, this);
    dlg.exec();
    refreshPreview();
}

bool TQXToolsForm::addLogFile(const QString& file, int type)
{
    const auto row = findLogType(type);
    if (!row || !row->import)
        return false;
    // The same specification qx7cli builds for a file of that type.
    TQXLogSpec spec = makeLogSpec(s(QDir::toNativeSeparators(file)), type);
    if (row->specKind != SpecKind::None) {
        // The name last used for the type; dBase types with a built-in name preset theirs.
        const IniFile memory(m_dm.iniPath());
        spec.SpecName = LoadImportPath(memory, type, m_dm.QXLogPath, m_dm.QXTmpPath).specName;
        LoadImportSpec(spec, m_dm.QXUserPath);
    }
    const std::string name = spec.FileName;
    for (const TQXLogSpec& listed : m_run.logs())
        if (equalsIgnoreCase(listed.FileName, name))
            return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_run.addLog(std::move(spec), outputType());
    QApplication::restoreOverrideCursor();
    if (!ok) {
        m_dm.prompter().warn("Cannot read the log file " + name);
        return false;
    }
    IniFile ini(m_dm.iniPath());
    const TQXLogSpec& added =
        *std::find_if(m_run.logs().begin(), m_run.logs().end(),
                      [&](const TQXLogSpec& l) { return l.FileName == name; });
    SaveImportPath(ini, type, s(QFileInfo(file).absolutePath()),
                   added.HasSpec ? added.SpecName : "");
    ini.save();
    refreshFileList(q(name));
    // A text or dBase log is read through a specification: make or choose it now.
    if (row->specKind != SpecKind::None && !added.HasSpec)
        if (TQXLogSpec* listed = selectedSpec())
            editSpecification(*listed);
    return true;
}

void TQXToolsForm::addLogByDialog()
{
    const auto row = findLogType(inputType());
    if (!row)
        return;
    const QString ext = q(std::string(row->extension));
    const IniFile ini(m_dm.iniPath());
    const ImportMemory memory = LoadImportPath(ini, row->code, m_dm.QXLogPath, m_dm.QXTmpPath);
    const QString filter =
        q(std::string(row->description)) + QStringLiteral(" (*.") + ext + QStringLiteral(")");
    QStringList files;
    if (m_chooseFiles)
        files = m_chooseFiles(tr("Add Log"), q(memory.folder), filter, false);
    else
        files = QFileDialog::getOpenFileNames(this, tr("Add Log"), q(memory.folder), filter);
    addChosenFiles(files, row->code);
}

int TQXToolsForm::addChosenFiles(const QStringList& files, int type)
{
    const auto row = findLogType(type);
    if (!row)
        return 0;
    const QString ext = q(std::string(row->extension)).toLower();
    int added = 0;
    for (const QString& file : files) {
        const QString got = QFileInfo(file).suffix().toLower();
        if (got != ext) {
            m_dm.prompter().warn("Wrong file extension: " + s(got) + "\nChange it to: " + s(ext));
            continue;
        }
        if (addLogFile(file, row->code))
            ++added;
    }
    return added;
}

int TQXToolsForm::guessLogType(const QString& file)
{
    QFile f(file);
    QByteArray head;
    if (f.open(QIODevice::ReadOnly))
        head = f.read(8192).toUpper();
    const QString ext = QFileInfo(file).suffix().toLower();
    if (head.contains("<EOR>") || head.contains("<EOH>") || head.contains("<CALL:"))
        return LogType::Adif;
    if (head.startsWith("START-OF-LOG"))
        return LogType::Cabrillo;
    if (ext == QLatin1String("qx7"))
        return LogType::Qx7;
    if (ext == QLatin1String("dbf"))
        return 38; // generic dBase: the mapping is asked for
    if (ext == QLatin1String("csv"))
        return 34;
    if (ext == QLatin1String("txt"))
        return LogType::TextFile;
    for (const auto& t : inputLogTypes())
        if (ext == q(std::string(t.extension)).toLower())
            return t.code;
    return 0;
}

bool TQXToolsForm::addDroppedFile(const QString& file)
{
    const int type = guessLogType(file);
    if (type == 0) {
        m_dm.prompter().warn("Unknown log type: " + s(QDir::toNativeSeparators(file)));
        return false;
    }
    const int row = m_inputType->findData(type);
    if (row >= 0)
        m_inputType->setCurrentIndex(row);
    return addLogFile(file, type);
}

void TQXToolsForm::addOpenLogs(const std::vector<std::string>& descriptors)
{
    for (const std::string& d : descriptors)
        addLogFile(q(d), LogType::Qx7);
}

void TQXToolsForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (page() == InputPage && !m_running && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TQXToolsForm::dropEvent(QDropEvent* event)
{
    if (page() != InputPage || m_running)
        return;
    const QMimeData* mime = event->mimeData();
    QStringList files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    // Files from the explorer window were listed for a type: add them as that type, as
    // "Add Log..." would; a file manager's files get their type guessed.
    const QString explorerType = QLatin1String(LogExplorerWindow::kLogTypeMime);
    if (mime->hasFormat(explorerType))
        addChosenFiles(files, mime->data(explorerType).toInt());
    else
        for (const QString& file : files)
            addDroppedFile(file);
    event->acceptProposedAction();
}

TQXLogSpec* TQXToolsForm::selectedSpec()
{
    const QListWidgetItem* item = m_files->currentItem();
    if (!item)
        return nullptr;
    const std::string name = s(item->data(kFileRole).toString());
    for (TQXLogSpec& spec : m_run.logs())
        if (spec.FileName == name)
            return &spec;
    return nullptr;
}

void TQXToolsForm::refreshFileList(const QString& select)
{
    const QSignalBlocker block(m_files);
    const QString keep = select.isEmpty() && m_files->currentItem()
                             ? m_files->currentItem()->data(kFileRole).toString()
                             : select;
    m_files->clear();
    for (const TQXLogSpec& spec : m_run.logs()) {
        auto* item = new QListWidgetItem(QFileInfo(q(spec.FileName)).fileName(), m_files);
        item->setData(kFileRole, q(spec.FileName));
        item->setData(kTypeRole, spec.LogType);
        item->setToolTip(q(spec.FileName));
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
        if (!m_disabled.count(spec.FileName))
            flags |= Qt::ItemIsEnabled;
        item->setFlags(flags);
        item->setCheckState(spec.Checked ? Qt::Checked : Qt::Unchecked);
        if (q(spec.FileName) == keep)
            m_files->setCurrentItem(item);
    }
    if (!m_files->currentItem() && m_files->count() > 0)
        m_files->setCurrentRow(0);
    m_total->setText(QString::number(m_run.totalQsos()) + QStringLiteral(" QSOs"));
    m_inputNext->setEnabled(!m_run.logs().empty());
    showSelectedFile();
}

void TQXToolsForm::showSelectedFile()
{
    const TQXLogSpec* spec = selectedSpec();
    m_fileName->setText(spec ? q(spec->FileName) : QString());
    const auto row = spec ? findLogType(spec->LogType) : std::nullopt;
    m_fileType->setText(row ? q(std::string(row->description)) : QString());
    m_fileSize->setText(spec ? QString::number(spec->LogSize) + QLatin1Char(' ') : QString());
    m_fileCall->setText(spec ? q(spec->CallSign) : QString());
    m_comment->setText(spec ? q(spec->Comment) : QString());
    m_comment->setEnabled(spec != nullptr);
    refreshPreview();
}

void TQXToolsForm::commentEdited()
{
    if (TQXLogSpec* spec = selectedSpec())
        spec->Comment = s(m_comment->text().left(60));
}

void TQXToolsForm::refreshPreview()
{
    m_preview->setRowCount(0);
    const TQXLogSpec* spec = selectedSpec();
    if (!spec || m_running)
        return;
    const auto rows = previewLog(m_dm, *spec, outputType());
    m_preview->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const PreviewRow& row = rows[static_cast<size_t>(r)];
        const std::string cells[] = {row.call, row.date, row.time, row.band, row.mode, row.problem};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(q(cells[c]));
            if (!row.problem.empty())
                item->setForeground(Qt::red);
            m_preview->setItem(r, c, item);
        }
    }
}

void TQXToolsForm::analyzeSelected()
{
    TQXLogSpec* spec = selectedSpec();
    if (!spec)
        return;
    TQXLogSpec copy = *spec;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_engine.StartConversion(outputType(), true);
    const bool ok = m_engine.ReadLog(copy);
    QApplication::restoreOverrideCursor();
    const long long errors = m_engine.errorCount();
    if (ok && errors <= 0)
        spec->Checked = 1;
    else {
        spec->Checked = 0;
        m_disabled.insert(spec->FileName);
        if (ok)
            m_dm.prompter().warn(std::to_string(errors) + " error(s)!");
    }
    refreshFileList();
}

void TQXToolsForm::removeSelected()
{
    const TQXLogSpec* spec = selectedSpec();
    if (!spec)
        return;
    const std::string name = spec->FileName;
    m_run.removeLog(name);
    m_disabled.erase(name);
    refreshFileList();
}

void TQXToolsForm::clearList()
{
    m_run.clear();
    m_disabled.clear();
    refreshFileList();
}

// ---------------------------------------------------------------- output page

void TQXToolsForm::outputTypeChanged()
{
    const auto row = findLogType(outputType());
    if (!row)
        return;
    const QString ext = q(std::string(row->extension)).toLower();
    QString name = m_file->text();
    if (!name.isEmpty())
        m_file->setText(QFileInfo(name).completeBaseName() + QLatin1Char('.') + ext);
    m_call->setEnabled(row->callNeeded);
    // QX7 logs live in the log folder; other outputs go where the user saves them.
    if (row->code == LogType::Qx7) {
        if (m_folder->isEnabled())
            m_outputFolder = m_folder->text();
        m_folder->setText(QDir::toNativeSeparators(q(m_dm.QXLogPath)));
        m_start->setText(tr("&Start Conversion"));
    } else {
        if (!m_folder->isEnabled())
            m_folder->setText(m_outputFolder);
        m_start->setText(tr("&Next >>"));
    }
    m_folder->setEnabled(row->code != LogType::Qx7);
    m_file->setEnabled(row->code != LogType::Applet);
    updateStartButton();
}

void TQXToolsForm::proposeOutput()
{
    if (m_run.logs().empty())
        return;
    std::string call = m_run.proposedCall();
    if (call.empty())
        call = m_lastCall;
    if (m_call->text().isEmpty())
        m_call->setText(q(call).toUpper().left(13));
    const auto row = findLogType(outputType());
    const QFileInfo first(q(m_run.logs().front().FileName));
    if (m_file->text().isEmpty() && row)
        m_file->setText(first.completeBaseName().toLower() + QLatin1Char('.') +
                        q(std::string(row->extension)).toLower());
    if (row && row->code == LogType::Applet)
        m_folder->setText(QDir::toNativeSeparators(q(m_dm.QXTmpPath)));
}

void TQXToolsForm::updateStartButton()
{
    const auto row = findLogType(outputType());
    const bool named = outputType() == LogType::Applet ? !m_folder->text().trimmed().isEmpty()
                                                       : !m_file->text().trimmed().isEmpty();
    const bool call = !row || !row->callNeeded || m_call->text().trimmed().size() > 2;
    m_start->setEnabled(named && call && !m_run.logs().empty());
}

std::string TQXToolsForm::outputFileName() const
{
    return s(QDir::toNativeSeparators(QDir(m_folder->text()).filePath(m_file->text().trimmed())));
}

TQXLogSpec TQXToolsForm::outputSpec() const
{
    // Built as qx7cli builds it from its options.
    TQXLogSpec out = makeLogSpec(outputFileName(), outputType());
    out.CallSign = s(m_call->text().trimmed().toUpper());
    out.WriteMode = 2;
    for (int i = 0; i < 3; ++i)
        if (m_modes[i]->isChecked() && page() == WriteModePage)
            out.WriteMode = static_cast<unsigned char>(i);
    out.NotSentOnly = m_notSent->isChecked();
    out.RemoveExchange = m_exchange->isChecked();
    out.ReplaceReports = m_replace->isChecked();
    out.DateFrom = dateLimit(m_dateFrom);
    out.DateTo = dateLimit(m_dateTo);
    prepareOutputSpec(m_dm.QXUserPath, out);
    return out;
}

void TQXToolsForm::startPressed()
{
    if (!m_start->isEnabled())
        return;
    // Writing over a log that is still to be read would lose it when the run fails
    // half-way, and gives a file that is neither the old log nor a copy.
    if (outputType() != LogType::Qx7 && outputType() != LogType::Applet) {
        const std::string target = outputFileName();
        for (const TQXLogSpec& in : m_run.logs())
            if (equalsIgnoreCase(in.FileName, target)) {
                m_dm.prompter().warn("The output file is one of the input logs!\nChoose "
                                     "another filename.");
                return;
            }
    }
    if (outputType() == LogType::Qx7) {
        const std::string name = logBaseName(s(m_file->text().trimmed()));
        if (fs::exists(logPaths(m_dm.QXLogPath, name).descriptor)) {
            if (m_logIsOpen && m_logIsOpen(name)) {
                m_dm.prompter().warn(
                    "This log is still open!\nClose the log first or choose another filename.");
                return;
            }
            showPage(WriteModePage);
            return;
        }
    }
    if (usesOutputSpec(outputType())) {
        m_outputSpec->load(m_dm.QXUserPath, outputType());
        showPage(OutputSpecPage);
        return;
    }
    runConversion();
}

void TQXToolsForm::saveMacroByDialog()
{
    const QString folder = q(m_dm.QXUserPath);
    QStringList chosen;
    const QString proposal = QDir(folder).filePath(QStringLiteral("macro.qxm"));
    if (m_chooseFiles)
        chosen = m_chooseFiles(tr("Save as Macro"), proposal, tr("QX Macros (*.qxm)"), true);
    else {
        const QString f = QFileDialog::getSaveFileName(this, tr("Save as Macro"), proposal,
                                                       tr("QX Macros (*.qxm)"));
        if (!f.isEmpty())
            chosen << f;
    }
    if (chosen.isEmpty())
        return;
    QString path = chosen.front();
    if (QFileInfo(path).suffix().compare(QLatin1String("qxm"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".qxm");
    m_pendingMacro = s(path);
    if (!writeMacro(m_pendingMacro, m_run.logs(), outputSpec()))
        m_dm.prompter().error("Cannot write the macro file " + m_pendingMacro);
}

// ---------------------------------------------------------------- the run

void TQXToolsForm::protocolLine(const std::string& line)
{
    if (line.rfind("Writing: ", 0) == 0) {
        m_writing = true;
        m_cancel->setEnabled(false); // the output is written whole
        m_logBar->setValue(m_logBar->maximum());
        m_inputBar->setValue(m_inputBar->maximum());
    } else if (line.rfind("Reading: ", 0) == 0) {
        ++m_logsInRun;
        m_logBar->setValue(0);
    }
    m_protocol->appendPlainText(q(line));
    QApplication::processEvents();
}

void TQXToolsForm::onProgress(int percent)
{
    if (m_running) {
        if (m_writing)
            m_outputBar->setValue(percent);
        else
            m_logBar->setValue(percent);
        updateBars();
    }
    if (m_progressHook)
        m_progressHook(percent);
}

void TQXToolsForm::updateBars()
{
    const auto& c = m_engine.counters();
    const long long total = m_totalInRun > 0 ? m_totalInRun : m_run.totalQsos();
    if (!m_writing && total > 0)
        m_inputBar->setValue(static_cast<int>(std::min<long long>(100, c.read * 100 / total)));
    m_readSum->setText(QString::number(c.readOk) + QStringLiteral(" QSOs read"));
    m_writtenSum->setText(QString::number(c.written) + QStringLiteral(" QSOs written"));
}

void TQXToolsForm::cancelRun()
{
    if (!m_running || m_writing)
        return;
    m_cancelled = true;
    m_engine.requestAbort();
}

void TQXToolsForm::runConversion()
{
    if (m_running || m_run.logs().empty())
        return;
    const TQXLogSpec out = outputSpec();
    m_macroRun = false;
    m_running = true;
    m_writing = false;
    m_cancelled = false;
    m_logsInRun = 0;
    m_totalInRun = m_run.totalQsos();
    m_protocol->clear();
    for (QProgressBar* b : {m_logBar, m_inputBar, m_outputBar}) {
        b->setRange(0, 100);
        b->setValue(0);
    }
    m_cancel->setEnabled(true);
    m_cancel->show();
    for (QPushButton* b : {m_viewLog, m_finish, m_again})
        b->hide();
    showPage(ProtocolPage);
    m_barTimer.start();
    const std::string macro = std::exchange(m_pendingMacro, {});
    const RunResult result = m_run.execute(
        out, [this](const std::string& l) { protocolLine(l); }, true, macro);
    finishRun(result);
}

void TQXToolsForm::finishRun(const RunResult& result)
{
    m_barTimer.stop();
    m_running = false;
    m_result = result;
    m_disabled.clear();
    updateBars();
    if (result.aborted) {
        refreshFileList();
        m_dm.prompter().inform("Import aborted.");
        showPage(m_macroRun ? MacrosPage : InputPage);
        return;
    }
    m_outputBar->setValue(100);
    m_cancel->hide();
    m_viewLog->setVisible(!result.errorLogPath.empty());
    m_finish->show();
    m_again->show();
    refreshFileList();
}

void TQXToolsForm::nextConversion()
{
    m_run.clear();
    m_disabled.clear();
    refreshFileList();
    if (m_macroRun) {
        refreshMacroList();
        showPage(MacrosPage);
    } else
        showPage(InputPage);
}

QString TQXToolsForm::protocolText() const
{
    return m_protocol->toPlainText();
}

// ---------------------------------------------------------------- macros

void TQXToolsForm::refreshMacroList()
{
    m_macros->clear();
    for (const std::string& name : listMacros(m_dm.QXUserPath))
        m_macros->addItem(q(name));
    if (m_macros->count() > 0)
        m_macros->setCurrentRow(0);
    showSelectedMacro();
}

void TQXToolsForm::showSelectedMacro()
{
    const QListWidgetItem* item = m_macros->currentItem();
    if (!item) {
        m_macroOutput->clear();
        m_macroCall->clear();
        return;
    }
    const ConversionMacro macro = readMacro(macroPath(m_dm.QXUserPath, s(item->text())));
    m_macroOutput->setText(q(macro.output.FileName));
    m_macroCall->setText(q(macro.output.CallSign));
}

void TQXToolsForm::deleteSelectedMacro()
{
    const QListWidgetItem* item = m_macros->currentItem();
    if (!item)
        return;
    const std::string path = macroPath(m_dm.QXUserPath, s(item->text()));
    if (m_dm.prompter().ask(PromptIcon::Confirmation, "Delete the macro " + path + "?",
                            PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    std::error_code ec;
    if (!fs::remove(path, ec))
        m_dm.prompter().error("Cannot delete " + path);
    refreshMacroList();
}

void TQXToolsForm::runMacro()
{
    const QListWidgetItem* item = m_macros->currentItem();
    if (!item || m_running)
        return;
    const std::string path = macroPath(m_dm.QXUserPath, s(item->text()));
    if (!fs::exists(path)) {
        m_dm.prompter().warn("Macro file not found: " + path);
        refreshMacroList();
        return;
    }
    const ConversionMacro macro = readMacro(path);
    const auto outType = findLogType(macro.output.LogType);
    if (macro.inputs.empty() || macro.output.FileName.empty() || !outType || !outType->exportable) {
        m_dm.prompter().warn("The macro file is damaged: " + path);
        return;
    }
    // A macro whose logs are all gone would only write an empty output.
    std::string missing;
    size_t gone = 0;
    for (const TQXLogSpec& in : macro.inputs)
        if (std::error_code ec; !fs::exists(in.FileName, ec)) {
            missing += "\n" + in.FileName;
            ++gone;
        }
    if (gone == macro.inputs.size()) {
        m_dm.prompter().warn("The macro " + path + " names logs that do not exist:" + missing);
        return;
    }
    m_macroRun = true;
    m_running = true;
    m_writing = false;
    m_cancelled = false;
    m_protocol->clear();
    for (QProgressBar* b : {m_logBar, m_inputBar, m_outputBar}) {
        b->setRange(0, 100);
        b->setValue(0);
    }
    m_cancel->setEnabled(true);
    m_cancel->show();
    for (QPushButton* b : {m_viewLog, m_finish, m_again})
        b->hide();
    showPage(ProtocolPage);
    m_barTimer.start();
    std::vector<std::string> skipped;
    m_totalInRun = 0;
    const RunResult result = performMacro(
        m_run, path, [this](const std::string& l) { protocolLine(l); }, &skipped);
    finishRun(result);
    if (!skipped.empty()) {
        std::string text = "The macro " + path + " names logs that cannot be read:";
        for (const std::string& f : skipped)
            text += "\n" + f;
        m_dm.prompter().warn(text);
    }
}

} // namespace qx7
