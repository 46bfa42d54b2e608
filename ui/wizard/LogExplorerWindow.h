#pragma once
// A small tool window beside the Tools Wizard's input page: drives, folders and the log
// files of the chosen input type. Double-click or Enter hands the selected files to the
// wizard; dragging them onto the wizard's input list does the same.

#include <QListWidget>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace qx7 {

// The file list: drags carry the files as URLs (as a file manager does) plus the log type
// they were listed for, so a drop reads them as that type and not as a guess.
class LogExplorerFileList : public QListWidget
{
    Q_OBJECT
public:
    explicit LogExplorerFileList(QWidget* parent = nullptr);
    void setLogType(int type) { m_type = type; }
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    int m_type = 0;
};

class LogExplorerWindow : public QWidget
{
    Q_OBJECT
public:
    // The extra drag format naming the input type the files were listed for.
    static const char* const kLogTypeMime;

    explicit LogExplorerWindow(QWidget* parent = nullptr);

    // Shows `folder` (when it exists, else `fallback`) with the files matching `mask`
    // ("*.adi"); a fixed folder cannot be left (QX7 logs live in the log folder).
    void showFolder(const QString& folder, const QString& fallback, const QString& mask,
                    int logType, bool fixed);
    QString folder() const { return m_folder; }
    QString mask() const { return m_mask; }
    // The listed file names, in list order.
    QStringList fileNames() const;
    LogExplorerFileList* fileList() const { return m_files; }
    // The drag data of the selected files.
    QMimeData* selectionMimeData() const;

signals:
    // The user asked for these files (full paths) to be added.
    void filesChosen(const QStringList& files);
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fillDrives();
    void driveChosen();
    void folderChosen(const QModelIndex& index);
    void setFolder(const QString& folder);
    void revealFolder();
    void refreshFiles();
    void chooseSelected();

    QComboBox* m_drives = nullptr;
    QTreeView* m_tree = nullptr;
    QFileSystemModel* m_dirs = nullptr;
    QLabel* m_maskLabel = nullptr;
    LogExplorerFileList* m_files = nullptr;
    QString m_folder;
    QString m_mask;
    bool m_fixed = false;
};

} // namespace qx7
