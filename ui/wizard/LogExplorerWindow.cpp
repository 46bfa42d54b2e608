#include "ui/wizard/LogExplorerWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QMimeData>
#include <QShowEvent>
#include <QSplitter>
#include <QStorageInfo>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace qx7 {

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

const char* const LogExplorerWindow::kLogTypeMime = "application/x-qx7-log-type";

LogExplorerFileList::LogExplorerFileList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

QMimeData* LogExplorerFileList::mimeData(const QList<QListWidgetItem*>& items) const
{
    QList<QUrl> urls;
    for (const QListWidgetItem* item : items)
        urls << QUrl::fromLocalFile(item->data(kPathRole).toString());
    auto* mime = new QMimeData;
    mime->setUrls(urls); // text/uri-list, as a file manager gives it
    mime->setData(QLatin1String(LogExplorerWindow::kLogTypeMime), QByteArray::number(m_type));
    return mime;
}

LogExplorerWindow::LogExplorerWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("ExplorerWindow"));
    setWindowTitle(tr("Explorer Window"));
    m_drives = new QComboBox;
    m_drives->setObjectName(QStringLiteral("ExplorerDriveBox"));
    m_dirs = new QFileSystemModel(this);
    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dirs->setRootPath(QDir::rootPath());
    m_tree = new QTreeView;
    m_tree->setObjectName(QStringLiteral("ExplorerFolderTree"));
    m_tree->setModel(m_dirs);
    m_tree->setHeaderHidden(true);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);
    for (int c = 1; c < m_dirs->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_maskLabel = new QLabel;
    m_maskLabel->setObjectName(QStringLiteral("ExplorerMaskLabel"));
    m_files = new LogExplorerFileList;
    m_files->setObjectName(QStringLiteral("ExplorerFileList"));

    auto* lower = new QWidget;
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_maskLabel);
    lowerLayout->addWidget(m_files);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_tree);
    split->addWidget(lower);
    split->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_drives);
    layout->addWidget(split, 1);

    // The folder model reads and sorts in the background: keep the folder in sight.
    connect(m_dirs, &QFileSystemModel::directoryLoaded, this, [this] { revealFolder(); });
    connect(m_dirs, &QFileSystemModel::layoutChanged, this, [this] { revealFolder(); });
    fillDrives();
    connect(m_drives, &QComboBox::activated, this, [this] { driveChosen(); });
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { folderChosen(index); });
    // Double-click and Enter both activate.
    connect(m_files, &QListWidget::itemActivated, this, [this] { chooseSelected(); });
    resize(300, 460);
}

void LogExplorerWindow::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Containers mount single files too; only folders are drives here.
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir())
            roots << QDir::toNativeSeparators(root);
    }
    for (const QFileInfo& drive : QDir::drives())
        roots << QDir::toNativeSeparators(drive.absoluteFilePath());
    roots.sort(Qt::CaseInsensitive);
    roots.removeDuplicates();
    m_drives->addItems(roots);
}

void LogExplorerWindow::driveChosen()
{
    if (!m_fixed)
        setFolder(QDir::fromNativeSeparators(m_drives->currentText()));
}

void LogExplorerWindow::folderChosen(const QModelIndex& index)
{
    if (m_fixed || !index.isValid())
        return;
    const QString path = m_dirs->filePath(index);
    if (QDir::cleanPath(path) != QDir::cleanPath(m_folder))
        setFolder(path);
}

void LogExplorerWindow::showFolder(const QString& folder, const QString& fallback,
                                   const QString& mask, int logType, bool fixed)
{
    const QString wanted = QDir::fromNativeSeparators(folder);
    m_mask = mask;
    m_fixed = fixed;
    m_files->setLogType(logType);
    m_maskLabel->setText(tr("Files (%1):").arg(mask));
    m_drives->setEnabled(!fixed);
    m_tree->setEnabled(!fixed);
    setFolder(QFileInfo(wanted).isDir() ? wanted : QDir::fromNativeSeparators(fallback));
}

void LogExplorerWindow::setFolder(const QString& folder)
{
    m_folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    // The drive holding the folder: the longest root that starts its path.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_drives->count(); ++i) {
        const QString root = QDir::cleanPath(QDir::fromNativeSeparators(m_drives->itemText(i)));
        const bool holds =
            m_folder.compare(root, Qt::CaseInsensitive) == 0 ||
            m_folder.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'),
                                Qt::CaseInsensitive);
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        m_drives->setCurrentIndex(best);
    revealFolder();
    setToolTip(QDir::toNativeSeparators(m_folder));
    refreshFiles();
}

void LogExplorerWindow::revealFolder()
{
    const QModelIndex index = m_dirs->index(m_folder);
    if (!index.isValid())
        return;
    const QSignalBlocker block(m_tree->selectionModel());
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void LogExplorerWindow::refreshFiles()
{
    m_files->clear();
    // Without QDir::CaseSensitive the mask matches "LOG.ADI" as well as "log.adi".
    const QFileInfoList entries = QDir(m_folder).entryInfoList(
        {m_mask}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        auto* item = new QListWidgetItem(entry.fileName(), m_files);
        item->setData(kPathRole, entry.absoluteFilePath());
        item->setToolTip(QDir::toNativeSeparators(entry.absoluteFilePath()));
    }
    if (m_files->count() > 0)
        m_files->setCurrentRow(0);
}

QStringList LogExplorerWindow::fileNames() const
{
    QStringList names;
    for (int i = 0; i < m_files->count(); ++i)
        names << m_files->item(i)->text();
    return names;
}

QMimeData* LogExplorerWindow::selectionMimeData() const
{
    return m_files->mimeData(m_files->selectedItems());
}

void LogExplorerWindow::chooseSelected()
{
    QStringList files;
    for (const QListWidgetItem* item : m_files->selectedItems())
        files << item->data(kPathRole).toString();
    if (files.isEmpty() && m_files->currentItem())
        files << m_files->currentItem()->data(kPathRole).toString();
    if (!files.isEmpty())
        emit filesChosen(files);
}

void LogExplorerWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshFiles(); // files may have come or gone while it was hidden
}

void LogExplorerWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

} // namespace qx7
