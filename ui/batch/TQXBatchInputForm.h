#pragma once
// "QX Batch Input Maintenance": imports QSL request lists (from a file or a web address)
// into the batch-input tables and shows the tables. On closing, batch input is on when
// the calls table holds a request.

#include "store/BatchFile.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;

namespace qx7 {

class TQXDM;
class TQXBatchInputCallsFrame;
class TQXBatchInputQSOsFrame;

inline constexpr const char* kBatchAllCalls = "- ALL -";

class TQXBatchInputForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TQXBatchInputForm(TQXDM& dm, QWidget* parent = nullptr);
    ~TQXBatchInputForm() override;

    // Shows the dialog modally; afterwards UseBatchInput follows the calls table.
    static void exec(TQXDM& dm, QWidget* parent);

    // The file dialog; tests answer it with a function of (caption, folder, filter).
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // Pages: 0 introduction, 1 import, 2 the tables.
    int page() const;
    void setPage(int page);
    QComboBox* ownCallBox() const { return m_own; }
    QRadioButton* fileSource() const { return m_fromFile; }
    QRadioButton* urlSource() const { return m_fromUrl; }
    QLineEdit* sourceEdit() const { return m_source; }
    QPushButton* browseButton() const { return m_browse; }
    QPushButton* importButton() const { return m_import; }
    QPlainTextEdit* preview() const { return m_preview; }
    QLabel* counterLabel(int n) const; // 0 calls in file, 1 QSOs in file, 2 calls in table
    TQXBatchInputCallsFrame* callsFrame() const { return m_calls; }
    TQXBatchInputQSOsFrame* qsosFrame() const { return m_qsos; }
    // The list read last (empty before a read and after an import).
    const BatchImportList& importList() const { return m_list; }
    // True while a web page is being fetched.
    bool fetching() const { return !m_reply.isNull(); }

    // Reads the file or fetches the address of the source field.
    void readSource();
    // Takes pasted or typed lines as the import list.
    void takeText(const QString& text);
    void importNow();

signals:
    // A fetch ended (with a list or with a message).
    void fetchFinished();

protected:
    void done(int result) override;

private:
    QWidget* buildIntroPage();
    QWidget* buildImportPage();
    QWidget* buildTablePage();
    void ownCallLeft();
    void browse();
    void readFile(const QString& path);
    void fetch(const QString& address);
    void fetchDone();
    void setList(std::optional<BatchImportList> list, const std::string& error);
    void refreshCounters();
    void updateButtons();
    QString ownCall() const; // "" for every log
    QString sectionName() const;
    QString iniPath() const;

    TQXDM& m_dm;
    FileChooser m_chooseFile;
    QStackedWidget* m_pages;
    QComboBox* m_own;
    QRadioButton* m_fromFile;
    QRadioButton* m_fromUrl;
    QLineEdit* m_source;
    QPushButton* m_browse;
    QPushButton* m_import;
    QTimer* m_typing;
    bool m_showing = false;
    QPlainTextEdit* m_preview;
    QLabel* m_counters[3];
    QPushButton* m_next;
    QPushButton* m_back;
    TQXBatchInputCallsFrame* m_calls;
    TQXBatchInputQSOsFrame* m_qsos;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_received;
    bool m_tooLarge = false;
    BatchImportList m_list;
    bool m_listRead = false;
};

} // namespace qx7
