#pragma once
// The Tools Wizard: converts logs between the formats the conversion engine reads and
// writes. Pages: choose a task, the input logs, the output log, the write mode of an
// existing QX7 log, the running conversion with its protocol, and the conversion macros.
// The wizard sets up the same ConversionRun qx7cli uses, so both give the same files.

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/ConversionRun.h"
#include "convert/specs/TQXLogSpec.h"

#include <QDialog>
#include <QSize>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

namespace qx7 {

class ExportFieldsPage;
class LogExplorerWindow;
class TQXDM;
class TQXToolsSpecsForm;

class TQXToolsForm : public QDialog
{
    Q_OBJECT
public:
    enum Page
    {
        ChoosePage,
        InputPage,
        OutputPage,
        WriteModePage,
        ProtocolPage,
        MacrosPage,
        OutputSpecPage
    };

    explicit TQXToolsForm(TQXDM& dm, QWidget* parent = nullptr);
    ~TQXToolsForm() override;

    // File dialogs; tests answer them with a function of (caption, folder, filter, save).
    using FileChooser =
        std::function<QStringList(const QString&, const QString&, const QString&, bool)>;
    void setFileChooser(FileChooser chooser) { m_chooseFiles = std::move(chooser); }
    // Opens the error log; the desktop's viewer unless a test replaces it.
    void setErrorLogViewer(std::function<void(const QString&)> view)
    {
        m_viewErrorLog = std::move(view);
    }
    // Answers whether the named QX7 log is open in a log window.
    void setOpenLogCheck(std::function<bool(const std::string&)> check)
    {
        m_logIsOpen = std::move(check);
    }
    // Works the specification editor instead of its modal loop (tests).
    void setSpecEditorDriver(std::function<void(TQXToolsSpecsForm&)> drive)
    {
        m_specDriver = std::move(drive);
    }
    // Called at every progress report of a run (tests cancel from here).
    void setProgressHook(std::function<void(int)> hook) { m_progressHook = std::move(hook); }

    Page page() const;
    // Adds a file as "Add Log..." does with the type `type`; true when it was listed.
    bool addLogFile(const QString& file, int type);
    // The type a dropped file most likely is: its content first, then its extension.
    // 0 when no importable type fits.
    static int guessLogType(const QString& file);
    bool addDroppedFile(const QString& file);
    // Adds files picked for the type `type` (the file dialog, the explorer window): a file
    // whose extension is not the type's is refused with a warning. The number added.
    int addChosenFiles(const QStringList& files, int type);
    // The explorer tool window of the input page (created hidden with the wizard).
    LogExplorerWindow* explorer() const { return m_explorer; }
    // Lists the open QX7 logs (full descriptor paths) as inputs.
    void addOpenLogs(const std::vector<std::string>& descriptors);

    TQXDM& dataModule() const { return m_dm; }
    const ConversionRun& run() const { return m_run; }
    const RunResult& lastResult() const { return m_result; }
    QString protocolText() const;
    // The output file the wizard's output page names (folder + file name).
    std::string outputFileName() const;
    int inputType() const;
    int outputType() const;
    bool isRunning() const { return m_running; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class RunProgress;
    friend class RunProgress;

    QWidget* buildChoosePage();
    QWidget* buildInputPage();
    QWidget* buildOutputPage();
    QWidget* buildWriteModePage();
    QWidget* buildProtocolPage();
    QWidget* buildMacrosPage();
    void showPage(Page page);
    void readSettings();
    void writeSettings();

    void inputTypeChanged();
    void showExplorer(bool show);
    // Opens the specification editor for a listed log; true after "&OK".
    bool editSpecification(TQXLogSpec& spec);
    void editSelectedSpecification();
    void showAdifOptions();
    void addLogByDialog();
    void analyzeSelected();
    void removeSelected();
    void clearList();
    void refreshFileList(const QString& select = {});
    void showSelectedFile();
    void commentEdited();
    void refreshPreview();
    TQXLogSpec* selectedSpec();

    void outputTypeChanged();
    void updateStartButton();
    void proposeOutput();
    TQXLogSpec outputSpec() const;
    void startPressed();
    void saveMacroByDialog();
    void runConversion();
    void runMacro();
    void finishRun(const RunResult& result);
    void nextConversion();
    void updateBars();
    void cancelRun();
    void refreshMacroList();
    void showSelectedMacro();
    void deleteSelectedMacro();
    void protocolLine(const std::string& line);
    void onProgress(int percent);

    TQXDM& m_dm;
    std::unique_ptr<RunProgress> m_progress;
    ConversionEngine m_engine;
    ConversionRun m_run;
    RunResult m_result;
    std::set<std::string> m_disabled; // files whose analysis failed
    std::string m_pendingMacro;
    std::string m_lastCall;
    QString m_outputFolder; // for outputs other than QX7 logs
    FileChooser m_chooseFiles;
    std::function<void(const QString&)> m_viewErrorLog;
    std::function<bool(const std::string&)> m_logIsOpen;
    std::function<void(int)> m_progressHook;
    std::function<void(TQXToolsSpecsForm&)> m_specDriver;
    QTimer m_barTimer;
    bool m_running = false;
    bool m_writing = false;
    bool m_cancelled = false;
    bool m_macroRun = false;
    int m_logsInRun = 0;
    long long m_totalInRun = 0;

    QStackedWidget* m_pages = nullptr;
    // Choose
    QListWidget* m_taskList = nullptr;
    // Input
    QComboBox* m_inputType = nullptr;
    QListWidget* m_files = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_fileName = nullptr;
    QLabel* m_fileType = nullptr;
    QLabel* m_fileSize = nullptr;
    QLabel* m_fileCall = nullptr;
    QLineEdit* m_comment = nullptr;
    QTableWidget* m_preview = nullptr;
    QPushButton* m_inputNext = nullptr;
    QLineEdit* m_specName = nullptr;
    QPushButton* m_specsButton = nullptr;
    QPushButton* m_adifOptions = nullptr;
    QPushButton* m_explorerButton = nullptr;
    LogExplorerWindow* m_explorer = nullptr;
    // The explorer's size from the last time it was open; empty until it has been.
    QSize m_explorerSize;
    ExportFieldsPage* m_outputSpec = nullptr;
    // Output
    QComboBox* m_outputType = nullptr;
    QLineEdit* m_folder = nullptr;
    QLineEdit* m_file = nullptr;
    QLineEdit* m_call = nullptr;
    QLineEdit* m_dateFrom = nullptr;
    QLineEdit* m_dateTo = nullptr;
    QCheckBox* m_notSent = nullptr;
    QCheckBox* m_exchange = nullptr;
    QCheckBox* m_replace = nullptr;
    QPushButton* m_start = nullptr;
    // Write mode
    QRadioButton* m_modes[3] = {};
    // Protocol
    QPlainTextEdit* m_protocol = nullptr;
    QProgressBar* m_logBar = nullptr;
    QProgressBar* m_inputBar = nullptr;
    QProgressBar* m_outputBar = nullptr;
    QLabel* m_readSum = nullptr;
    QLabel* m_writtenSum = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_viewLog = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_again = nullptr;
    // Macros
    QListWidget* m_macros = nullptr;
    QLabel* m_macroOutput = nullptr;
    QLabel* m_macroCall = nullptr;
};

} // namespace qx7
