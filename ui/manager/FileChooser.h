#pragma once
// The file dialogs of a window, behind a seam that tests replace with a scripted answer.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace qx7 {

struct FileRequest
{
    bool save = false;
    QString caption;
    QString folder;
    QString defaultName;
    QStringList filters;  // "Description (patterns)"
    int chosenFilter = 0; // set by the chooser
};

// Answers the chosen path, or an empty text when the user cancelled.
using FileChooser = std::function<QString(QWidget* parent, FileRequest& request)>;

// The platform's open and save dialogs.
QString chooseFileWithDialog(QWidget* parent, FileRequest& request);

} // namespace qx7
