#include "config/TQXConfigDlg2.h"

#include "config/AutoOpenLogsPage.h"
#include "config/ConfigPage.h"
#include "config/FoldersPage.h"
#include "config/ListPages.h"
#include "config/PrintFormatPages.h"
#include "config/PrintQueuePages.h"
#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "ui/help/HelpWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qx7 {

TQXConfigDlg2::TQXConfigDlg2(TQXDM& dm, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_tree(new QTreeWidget(this)), m_stack(new QStackedWidget(this)),
      m_ok(new QPushButton(tr("&OK"), this)), m_cancel(new QPushButton(tr("&Cancel"), this)),
      m_help(new QPushButton(tr("&Help"), this)), m_apply(new QPushButton(tr("&Apply"), this))
{
    setObjectName(QStringLiteral("TQXConfigDlg2"));
    setWindowTitle(tr("Configuration"));
    m_tree->setObjectName(QStringLiteral("configTree"));
    m_tree->header()->hide();
    m_tree->setMaximumWidth(190);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_ok->setDefault(true);
    buildTree();

    auto* pages = new QHBoxLayout;
    pages->addWidget(m_tree);
    pages->addWidget(m_stack, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_ok, m_cancel, m_help, m_apply})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pages, 1);
    layout->addLayout(buttons);
    resize(720, 500);

    const IniFile ini(m_dm.iniPath());
    for (ConfigPage* p : m_pages)
        p->load(m_dm, ini);
    m_apply->setEnabled(false);
    connectSignals();
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
}

TQXConfigDlg2::~TQXConfigDlg2() = default;

QTreeWidgetItem* TQXConfigDlg2::addNode(QTreeWidgetItem* parent, const QString& caption,
                                        ConfigPage* page)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, caption);
    item->setData(0, Qt::UserRole, m_stack->addWidget(page));
    return item;
}

void TQXConfigDlg2::buildTree()
{
    auto* intro = new IntroPage(this);
    auto* handling = new HandlingPage(this);
    auto* confirm = new ConfirmQsosPage(this);
    auto* sorting = new SortingPage(this);
    auto* empty = new EmptyPage(this);
    auto* date = new DatePage(this);
    auto* other = new OtherFormatsPage(this);
    auto* freq = new FrequencyPage(this);
    auto* zero = new SlashedZeroPage(this);
    auto* importExport = new ImportExportPage(this);
    auto* bands = new VisibilityPage(VisibilityPage::Kind::Bands, this);
    auto* modes = new VisibilityPage(VisibilityPage::Kind::Modes, this);
    auto* autoOpen = new AutoOpenLogsPage(this);
    auto* folders = new FoldersPage(m_dm.prompter(), this);
    auto* engine = new EngineFactsPage(this);
    // Apply copies the pages in this order (the queue order switches the queue's index).
    m_pages = {handling, confirm, sorting, empty,        date,     other,   zero,
               bands,    modes,   freq,    importExport, autoOpen, folders, engine};

    const int introIndex = m_stack->addWidget(intro);
    auto group = [&](const QString& caption) {
        auto* item = new QTreeWidgetItem(m_tree);
        item->setText(0, caption);
        item->setData(0, Qt::UserRole, introIndex);
        return item;
    };
    QTreeWidgetItem* queue = group(tr("Print Queue"));
    addNode(queue, tr("Handling"), handling);
    addNode(queue, tr("Confirm QSOs"), confirm);
    addNode(queue, tr("Sorting"), sorting);
    addNode(queue, tr("Empty"), empty);
    QTreeWidgetItem* formats = group(tr("Print Formats"));
    addNode(formats, tr("Date"), date);
    addNode(formats, tr("Other"), other);
    addNode(formats, tr("Bands/Frequencies"), freq);
    addNode(formats, tr("Slashed Zero"), zero);
    addNode(nullptr, tr("Import/Export"), importExport);
    addNode(nullptr, tr("Bands"), bands);
    addNode(nullptr, tr("Modes"), modes);
    addNode(nullptr, tr("Auto Open Logs"), autoOpen);
    addNode(nullptr, tr("Folders"), folders);
    addNode(nullptr, tr("BDE"), engine);
    m_tree->expandAll();
}

void TQXConfigDlg2::connectSignals()
{
    for (ConfigPage* p : m_pages)
        connect(p, &ConfigPage::changed, this, &TQXConfigDlg2::markChanged);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_stack->setCurrentIndex(item->data(0, Qt::UserRole).toInt());
    });
    connect(m_apply, &QPushButton::clicked, this, &TQXConfigDlg2::applyChanges);
    connect(m_ok, &QPushButton::clicked, this, &TQXConfigDlg2::writeAndClose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (ConfigPage* p = currentPage())
            HelpWindow::showTopic(p->helpTopic(), this);
    });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, m_help, &QPushButton::click);
}

void TQXConfigDlg2::markChanged()
{
    m_apply->setEnabled(true);
}

ConfigPage* TQXConfigDlg2::currentPage() const
{
    return qobject_cast<ConfigPage*>(m_stack->currentWidget());
}

bool TQXConfigDlg2::showPage(const QString& caption)
{
    const auto found = m_tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty())
        return false;
    m_tree->setCurrentItem(found.first());
    return true;
}

bool TQXConfigDlg2::applyChanges()
{
    // Every page is checked before any value moves, so a refusal changes nothing.
    for (ConfigPage* p : m_pages) {
        if (const QString why = p->problem(); !why.isEmpty()) {
            m_stack->setCurrentWidget(p);
            m_dm.prompter().error(why.toStdString());
            return false;
        }
    }
    for (ConfigPage* p : m_pages)
        p->apply(m_dm);
    m_apply->setEnabled(false);
    emit settingsApplied();
    return true;
}

bool TQXConfigDlg2::writeAndClose()
{
    if (!applyChanges())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    IniFile ini(m_dm.iniPath());
    ini.eraseSection("FreqFormats"); // the table replaces the section whole
    for (ConfigPage* p : m_pages)
        p->write(m_dm, ini);
    const bool saved = ini.save();
    QApplication::restoreOverrideCursor();
    if (!saved) {
        m_dm.prompter().error("The settings could not be written to " + m_dm.iniPath() + ".");
        return false;
    }
    accept();
    return true;
}

int TQXConfigDlg2::exec(TQXDM& dm, QWidget* parent)
{
    TQXConfigDlg2 dlg(dm, parent);
    return dlg.exec();
}

} // namespace qx7
