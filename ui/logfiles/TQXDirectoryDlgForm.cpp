#include "ui/logfiles/TQXDirectoryDlgForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace qx7 {

TQXDirectoryDlgForm::TQXDirectoryDlgForm(const QString& startFolder, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("QXDirectoryDlgForm");
    setWindowTitle(tr("Choose Folder"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName("DriveList");
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady())
            m_drives->addItem(v.rootPath());
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QStringLiteral("/"));
    m_tree = new QTreeView(this);
    m_tree->setObjectName("FolderTree");
    m_tree->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_tree->header()->hide();
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OkButton");
    QPushButton* cancel = buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelButton");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_drives, &QComboBox::textActivated, this, &TQXDirectoryDlgForm::setFolder);
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        if (m_pending.isEmpty())
            return;
        // The model sorts a folder read late a moment after it arrives, moving the rows
        // below it: find the folder again once that is done.
        const QString wanted = m_pending;
        QTimer::singleShot(100, this, [this, wanted] {
            const QModelIndex i = m_model->index(wanted);
            if (i.isValid() && m_model->filePath(m_tree->currentIndex()) == wanted)
                m_tree->scrollTo(i, QAbstractItemView::PositionAtCenter);
        });
        if (path == m_pending)
            m_pending.clear();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_drives);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    resize(380, 420);
    setFolder(startFolder);
}

QString TQXDirectoryDlgForm::folder() const
{
    return m_model->filePath(m_tree->currentIndex());
}

void TQXDirectoryDlgForm::setFolder(const QString& folder)
{
    const QModelIndex i = m_model->index(QDir(folder).absolutePath());
    if (!i.isValid())
        return;
    m_pending = m_model->filePath(i);
    m_tree->setCurrentIndex(i);
    m_tree->expand(i);
    m_tree->scrollTo(i, QAbstractItemView::PositionAtCenter);
}

QString TQXDirectoryDlgForm::choose(const QString& startFolder, QWidget* parent)
{
    TQXDirectoryDlgForm dlg(startFolder, parent);
    return dlg.exec() == QDialog::Accepted && !dlg.folder().isEmpty() ? dlg.folder() : startFolder;
}

} // namespace qx7
