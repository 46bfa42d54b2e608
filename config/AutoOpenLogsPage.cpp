#include "config/AutoOpenLogsPage.h"

#include "config/LogNameList.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qx7 {

AutoOpenLogsPage::AutoOpenLogsPage(QWidget* parent)
    : ConfigPage(QStringLiteral("config10"), parent), m_available(new LogNameList(this)),
      m_chosen(new LogNameList(this))
{
    setObjectName(QStringLiteral("autoOpenLogsPage"));
    m_available->setObjectName(QStringLiteral("availableLogList"));
    m_chosen->setObjectName(QStringLiteral("chosenLogList"));
    for (LogNameList* list : {m_available, m_chosen}) {
        list->setDropRule([this, list](const QString& source, const QStringList&) {
            return takesDrop(source, list);
        });
        connect(list, &LogNameList::namesDropped, this,
                [this, list](const QString& source, const QStringList& names, int row) {
                    dropNames(source, names, list, row);
                });
    }
    auto button = [this](const char* text, const char* name, const QString& hint) {
        auto* b = new QPushButton(QLatin1String(text), this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setMaximumWidth(40);
        return b;
    };
    m_include = button(">", "includeButton", tr("Include all selected files"));
    m_includeAll = button(">>", "includeAllButton", tr("Include all files"));
    m_exclude = button("<", "excludeButton", tr("Exclude all selected files"));
    m_excludeAll = button("<<", "excludeAllButton", tr("Exclude all files"));
    auto* text = new QLabel(
        tr("Up to 32 logs can be opened automatically at each QX program start. Click on the "
           "logs in the left box, then click on the arrow buttons to move them into the right "
           "box."),
        this);
    text->setWordWrap(true);
    box()->addWidget(text);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Available logs:"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Logs to be opened automatically:"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    for (QPushButton* b : {m_include, m_includeAll, m_exclude, m_excludeAll})
        arrows->addWidget(b);
    arrows->addStretch();
    grid->addLayout(arrows, 1, 1);
    grid->addWidget(m_chosen, 1, 2);
    box()->addLayout(grid, 1);
    connect(m_include, &QPushButton::clicked, this, [this] { move(m_available, m_chosen, false); });
    connect(m_includeAll, &QPushButton::clicked, this,
            [this] { move(m_available, m_chosen, true); });
    connect(m_exclude, &QPushButton::clicked, this, [this] { move(m_chosen, m_available, false); });
    connect(m_excludeAll, &QPushButton::clicked, this,
            [this] { move(m_chosen, m_available, true); });
}

void AutoOpenLogsPage::load(const TQXDM& dm, const IniFile& ini)
{
    m_available->clear();
    m_chosen->clear();
    QStringList chosen;
    for (int i = 0; i < 32; ++i) {
        const std::string log = ini.readString("OpenLogs", std::to_string(i), "");
        if (!log.empty())
            chosen << QString::fromStdString(log);
    }
    m_chosen->addItems(chosen);
    const QDir logs(QString::fromStdString(dm.QXLogPath));
    for (const QString& file : logs.entryList({QStringLiteral("*.qx7")}, QDir::Files, QDir::Name))
        if (!chosen.contains(file, Qt::CaseInsensitive) &&
            !chosen.contains(logs.filePath(file), Qt::CaseInsensitive))
            m_available->addItem(file);
    updateButtons();
}

void AutoOpenLogsPage::move(QListWidget* from, QListWidget* to, bool all)
{
    const int keepAt = from->currentRow();
    for (int i = 0; i < from->count();) {
        const bool full = to == m_chosen && m_chosen->count() >= kMaxLogs;
        if (!full && (all || from->item(i)->isSelected()))
            to->addItem(from->takeItem(i));
        else
            ++i;
    }
    finishMove(from, keepAt);
}

bool AutoOpenLogsPage::takesDrop(const QString& source, QListWidget* to) const
{
    if (source == to->objectName()) // the chosen list is reordered; the other is sorted
        return to == m_chosen;
    if (source != m_available->objectName() && source != m_chosen->objectName())
        return false;
    return to != m_chosen || m_chosen->count() < kMaxLogs;
}

void AutoOpenLogsPage::dropNames(const QString& source, const QStringList& names, QListWidget* to,
                                 int row)
{
    QListWidget* from = source == m_available->objectName() ? m_available : m_chosen;
    if (!takesDrop(source, to))
        return;
    const int keepAt = from->currentRow();
    // The entries keep the order they had in their list, whatever order they were picked in.
    QStringList ordered = names;
    const auto rowIn = [from](const QString& name) {
        const auto found = from->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? -1 : from->row(found.first());
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const QString& a, const QString& b) { return rowIn(a) < rowIn(b); });
    int at = std::clamp(row, 0, to->count());
    for (const QString& name : ordered) {
        if (to == m_chosen && from != to && m_chosen->count() >= kMaxLogs)
            break;
        const auto found = from->findItems(name, Qt::MatchExactly);
        if (found.isEmpty())
            continue;
        const int was = from->row(found.first());
        QListWidgetItem* item = from->takeItem(was);
        if (from == to && was < at)
            --at; // the entry left a gap above the place it goes to
        if (to == m_available) {
            // The available logs stay in name order wherever they are dropped.
            at = 0;
            while (at < to->count() &&
                   QString::compare(to->item(at)->text(), name, Qt::CaseInsensitive) < 0)
                ++at;
        }
        to->insertItem(at++, item);
    }
    if (from == to) {
        to->clearSelection();
        to->setCurrentRow(std::clamp(at - 1, 0, to->count() - 1));
        emit changed();
        return;
    }
    finishMove(from, keepAt);
}

void AutoOpenLogsPage::finishMove(QListWidget* from, int keepAt)
{
    // The selection stays near its old place.
    if (from->count() > 0)
        from->setCurrentRow(std::clamp(keepAt, 0, from->count() - 1));
    updateButtons();
    emit changed();
}

void AutoOpenLogsPage::updateButtons()
{
    const bool room = m_chosen->count() < kMaxLogs;
    m_include->setEnabled(room);
    m_includeAll->setEnabled(room);
    m_exclude->setEnabled(m_chosen->count() > 0);
    m_excludeAll->setEnabled(m_chosen->count() > 0);
}

void AutoOpenLogsPage::write(const TQXDM&, IniFile& ini) const
{
    ini.eraseSection("OpenLogs");
    for (int i = 0; i < m_chosen->count(); ++i)
        ini.writeString("OpenLogs", std::to_string(i), m_chosen->item(i)->text().toStdString());
}

} // namespace qx7
