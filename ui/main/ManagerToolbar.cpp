#include "ui/main/ManagerToolbar.h"

#include "store/SearchKeys.h"
#include "ui/log/LogTableModel.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolButton>

namespace qx7 {

ManagerToolbar::ManagerToolbar(QWidget* parent) : QToolBar(tr("Manager"), parent)
{
    setObjectName("ManagerToolbar");
    setAllowedAreas(Qt::TopToolBarArea);
    m_menu = new QMenu(this);
    m_menu->setObjectName("ManagerCandidateMenu");
    m_windowAction = m_menu->addAction(tr("&Manager Window..."));
    m_windowAction->setObjectName("ManagerWindowItem");
    m_windowAction->setEnabled(false); // the manager database window comes later
    m_noManagerAction = m_menu->addAction(tr("&No Manager"));
    m_noManagerAction->setObjectName("NoManagerItem");
    m_separator = m_menu->addSeparator();
    for (int i = 0; i < kMaxCandidates; ++i) {
        QAction* a = m_menu->addAction(QString());
        a->setObjectName(QStringLiteral("ManagerCandidate%1").arg(i + 1));
        a->setVisible(false);
        m_items.push_back(a);
    }
    m_separator->setVisible(false);
    connect(m_menu, &QMenu::triggered, this, &ManagerToolbar::choose);

    m_button = new QToolButton(this);
    m_button->setObjectName("ManagerDropDown");
    m_button->setText(tr("Mgr"));
    m_button->setToolTip(tr("QSL Managers of this call"));
    m_button->setMenu(m_menu);
    m_button->setPopupMode(QToolButton::InstantPopup);
    addWidget(m_button);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName("ManagerEdit");
    m_edit->setToolTip(tr("QSL Manager Call"));
    m_edit->setMaxLength(16);
    m_edit->setFixedWidth(100);
    m_edit->installEventFilter(this);
    addWidget(m_edit);
}

void ManagerToolbar::showManager(const std::string& qsoManager, const std::string& lookedUp,
                                 const std::vector<std::string>& candidates)
{
    m_edit->setText(QString::fromStdString(qsoManager.empty() ? lookedUp : qsoManager));
    QPalette pal = m_edit->palette();
    pal.setColor(QPalette::Text,
                 candidates.size() >= 2 ? Qt::red : palette().color(QPalette::Text));
    m_edit->setPalette(pal);
    m_atEntry = lookedUp;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const bool used = i < candidates.size();
        m_items[i]->setVisible(used);
        m_items[i]->setText(used ? QString::fromStdString(candidates[i]) : QString());
    }
    m_separator->setVisible(!candidates.empty());
}

void ManagerToolbar::choose(QAction* item)
{
    if (item == m_windowAction)
        return;
    QString text = item == m_noManagerAction ? QStringLiteral("-") : item->text();
    text.remove('&');
    text = text.section(' ', 0, 0);
    m_edit->setText(text);
    m_atEntry = text.toStdString();
    emit managerChosen(text.toStdString());
}

QMimeData* ManagerToolbar::dragData() const
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kManagerMimeType), m_edit->text().trimmed().toUtf8());
    return mime;
}

bool ManagerToolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn) {
            m_atEntry = m_edit->text().toStdString();
        } else if (event->type() == QEvent::FocusOut) {
            const std::string now = m_edit->text().toStdString();
            if (now != m_atEntry) {
                const std::string old = m_atEntry;
                m_atEntry = now;
                emit managerChanged(old, now);
            }
        } else if (event->type() == QEvent::MouseButtonPress) {
            const auto* m = static_cast<QMouseEvent*>(event);
            m_pressed = m->button() == Qt::LeftButton;
            m_pressAt = m->position().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_pressed = false;
        } else if (event->type() == QEvent::MouseMove && m_pressed && !m_edit->text().isEmpty() &&
                   (static_cast<QMouseEvent*>(event)->position().toPoint() - m_pressAt)
                           .manhattanLength() >= QApplication::startDragDistance()) {
            // The manager goes to a log grid; the drop there writes it into QSOs.
            m_pressed = false;
            auto* drag = new QDrag(m_edit);
            drag->setMimeData(dragData());
            drag->exec(Qt::CopyAction);
            return true;
        } else if (event->type() == QEvent::KeyPress) {
            const QString t = static_cast<QKeyEvent*>(event)->text();
            if (t.size() == 1 && t.at(0) >= QChar(' ') && t.at(0).unicode() < 128) {
                const auto c = acceptCallToKey(static_cast<char>(t.at(0).unicode()));
                if (!c)
                    return true;
                if (*c != t.at(0).unicode()) {
                    m_edit->insert(QString(QChar(*c)));
                    return true;
                }
            }
        }
    }
    return QToolBar::eventFilter(watched, event);
}

} // namespace qx7
