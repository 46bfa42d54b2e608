#pragma once
// The "New Log" dialog: a new log, empty or made from an ADIF file through the
// conversion engine (the road `qx7cli newlog` takes), with progress and Cancel.

#include "core/Progress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qx7 {

class TQXDM;

class TQXNewLogForm : public QDialog, private Progress
{
    Q_OBJECT
public:
    // `adifFile`, when it exists, is taken and cannot be changed.
    TQXNewLogForm(TQXDM& dm, const QString& adifFile = {}, QWidget* parent = nullptr);

    // The ADIF file dialog; tests answer it. Given the start folder, returns a file or "".
    using FileChooser = std::function<QString(const QString&)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The new log (log folder + name, no extension) once it was made and the dialog was
    // closed with "Close"; else empty.
    QString resultPath() const { return m_closedWithResult ? m_result : QString(); }
    // What the last run said: the new log's size, or why no log was made.
    QString outcome() const;
    bool running() const { return m_running; }

    // The whole dialog: returns the new log's path or empty.
    static QString run(TQXDM& dm, QWidget* parent, const QString& adifFile = {},
                       FileChooser chooser = {});

    void reject() override;

private:
    void browse();
    void saveAsLeft();
    void updateStart();
    void start();
    bool createLog(std::string& why);
    // Progress of the conversion engine.
    void start(const std::string& caption, long long total) override;
    bool step(long long done) override;

    TQXDM& m_dm;
    FileChooser m_chooseFile;
    QLineEdit* m_saveAs;
    QLineEdit* m_call;
    QLineEdit* m_adif;
    QPushButton* m_browse;
    QPushButton* m_start;
    QPushButton* m_cancel;
    QPushButton* m_close;
    QLabel* m_progressLabel;
    QProgressBar* m_progress;
    QLabel* m_outcome;
    QString m_result;
    QString m_confirmedOverwrite;
    bool m_running = false;
    bool m_reading = false;
    bool m_closedWithResult = false;
};

} // namespace qx7
