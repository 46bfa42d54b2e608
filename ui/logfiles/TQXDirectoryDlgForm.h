#pragma once
// The "Choose Folder" dialog: the drives (mounted volumes) and a folder tree that starts
// at a given folder.

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace qx7 {

class TQXDirectoryDlgForm : public QDialog
{
    Q_OBJECT
public:
    TQXDirectoryDlgForm(const QString& startFolder, QWidget* parent = nullptr);
    // The folder selected in the tree.
    QString folder() const;
    void setFolder(const QString& folder);
    QTreeView* tree() const { return m_tree; }
    // The chosen folder, or `startFolder` when the dialog was cancelled.
    static QString choose(const QString& startFolder, QWidget* parent = nullptr);

private:
    QComboBox* m_drives;
    QFileSystemModel* m_model;
    QTreeView* m_tree;
    // The folder set last, until its contents are read: the model reads folders in the
    // background, and each one read shifts the rows below it.
    QString m_pending;
};

} // namespace qx7
