#include "config/FoldersPage.h"

#include "core/Prompter.h"
#include "datamodule/TQXDM.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryFile>

namespace qx7 {

namespace {

// The folders in list order, with the settings that hold them in use and pending.
struct FolderKind
{
    const char* caption;
    std::string Settings::*inUse;
    std::string TQXDM::*pending;
};
const FolderKind kKinds[5] = {
    {"Layouts", &Settings::QXLayoutPath, &TQXDM::QXLayoutPathNew},
    {"Logs", &Settings::QXLogPath, &TQXDM::QXLogPathNew},
    {"Manager Database", &Settings::QXManagerPath, &TQXDM::QXManagerPathNew},
    {"Temporary Folder", &Settings::QXTmpPath, &TQXDM::QXTmpPathNew},
    {"User", &Settings::QXUserPath, &TQXDM::QXUserPathNew},
};

} // namespace

QString folderProblem(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir())
        return QObject::tr("The folder \"%1\" does not exist.")
            .arg(QDir::toNativeSeparators(folder));
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("qx7-XXXXXX.tmp")));
    if (!probe.open())
        return QObject::tr("The folder \"%1\" cannot be written.")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

FoldersPage::FoldersPage(Prompter& prompter, QWidget* parent)
    : ConfigPage(QStringLiteral("config11"), parent), m_prompter(prompter),
      m_kinds(new QListWidget(this)), m_old(new QLabel(this)), m_pending(new QLabel(this)),
      m_choice(new QLineEdit(this))
{
    setObjectName(QStringLiteral("foldersPage"));
    m_kinds->setObjectName(QStringLiteral("folderKindList"));
    m_old->setObjectName(QStringLiteral("oldFolderLabel"));
    m_pending->setObjectName(QStringLiteral("newFolderLabel"));
    m_choice->setObjectName(QStringLiteral("folderChoiceEdit"));
    for (const FolderKind& k : kKinds)
        m_kinds->addItem(tr(k.caption));
    m_kinds->setMaximumHeight(110);
    for (QLabel* l : {m_old, m_pending})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    auto* set = new QPushButton(tr("&Set new folder"), this);
    set->setObjectName(QStringLiteral("setFolderButton"));
    auto* choose = new QHBoxLayout;
    choose->addWidget(m_choice, 1);
    choose->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(tr("Folder:"), m_kinds);
    form->addRow(tr("Old folder:"), m_old);
    form->addRow(tr("New folder:"), m_pending);
    form->addRow(tr("Choose:"), choose);
    box()->addLayout(form);
    box()->addWidget(set, 0, Qt::AlignLeft);
    box()->addWidget(new QLabel(tr("Changes will become effective after the next program start.\n"
                                   "Files will not automatically be moved to the new folder!"),
                                this));
    box()->addStretch(1);
    connect(m_kinds, &QListWidget::currentRowChanged, this, &FoldersPage::showKind);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, tr("Folder"), m_choice->text());
        if (!dir.isEmpty())
            m_choice->setText(dir);
    });
    connect(set, &QPushButton::clicked, this, &FoldersPage::setNewFolder);
}

void FoldersPage::showKind(int kind)
{
    if (kind < 0 || kind >= 5)
        return;
    m_old->setText(QDir::toNativeSeparators(m_inUse[static_cast<size_t>(kind)]));
    const QString& pending = m_new[static_cast<size_t>(kind)];
    m_pending->setText(QDir::toNativeSeparators(pending));
    m_choice->setText(pending.isEmpty() ? m_inUse[static_cast<size_t>(kind)] : pending);
}

void FoldersPage::setNewFolder()
{
    const int kind = m_kinds->currentRow();
    if (kind < 0)
        return;
    if (m_prompter.ask(PromptIcon::Warning,
                       "Changes will become effective after the next programm start.\r\n"
                       "Files will not automatically be moved to the new folder!",
                       PromptButton::Ok | PromptButton::Cancel) != PromptButton::Ok)
        return;
    const QString folder = QDir::cleanPath(m_choice->text().trimmed());
    if (const QString why = folderProblem(folder); !why.isEmpty()) {
        m_prompter.error(why.toStdString());
        return;
    }
    m_new[static_cast<size_t>(kind)] = folder + u'/';
    showKind(kind);
    emit changed();
}

void FoldersPage::load(const TQXDM& dm, const IniFile&)
{
    for (size_t i = 0; i < 5; ++i) {
        m_inUse[i] = QString::fromStdString(dm.*(kKinds[i].inUse));
        m_new[i] = QString::fromStdString(dm.*(kKinds[i].pending));
    }
    m_kinds->setCurrentRow(0);
    showKind(0);
}

QString FoldersPage::problem() const
{
    // A folder chosen earlier may have gone away since.
    for (const QString& folder : m_new)
        if (!folder.isEmpty())
            if (const QString why = folderProblem(folder); !why.isEmpty())
                return why;
    return {};
}

void FoldersPage::apply(TQXDM& dm) const
{
    for (size_t i = 0; i < 5; ++i)
        dm.*(kKinds[i].pending) = m_new[i].toStdString();
}

} // namespace qx7
