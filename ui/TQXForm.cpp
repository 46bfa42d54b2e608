#include "ui/TQXForm.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

#include <sstream>

namespace qx7 {

TQXForm::TQXForm(TQXDM& dm, QWidget* parent) : QMainWindow(parent), m_dm(dm)
{
    setObjectName("QXForm");
    setWindowTitle(QStringLiteral("QX7 - QSL Labels"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("MDIArea");
    setCentralWidget(m_mdi);
    buildMenus();
    restorePlacement();
}

void TQXForm::buildMenus()
{
    const std::pair<const char*, const char*> menus[] = {
        {"FileMenu", "&File"}, {"OptionsMenu", "&Options"}, {"SearchMenu", "&Search"},
        {"LogMenu", "&Log"},   {"WindowsMenu", "&Windows"}, {"HelpMenu", "&Help"}};
    for (const auto& [name, title] : menus) {
        QMenu* m = menuBar()->addMenu(tr(title));
        m->setObjectName(QString::fromLatin1(name));
    }
    QAction* exitAction = menu("FileMenu")->addAction(tr("E&xit"));
    exitAction->setObjectName("ExitAction");
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    QAction* cascade = menu("WindowsMenu")->addAction(tr("&Cascade"));
    connect(cascade, &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    QAction* tile = menu("WindowsMenu")->addAction(tr("&Tile"));
    connect(tile, &QAction::triggered, m_mdi, &QMdiArea::tileSubWindows);
}

QMenu* TQXForm::menu(const QString& objectName) const
{
    return menuBar()->findChild<QMenu*>(objectName);
}

void TQXForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TQXForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // A table engine that could not start or is too old ends the program at the first
    // activation, after the other windows exist.
    if (!m_shutDownChecked) {
        m_shutDownChecked = true;
        // The queue is the program's working table: without it there is nothing to do.
        if (m_dm.ShutDown || !m_dm.OpenPrintQueue()) {
            m_dm.ShutDown = true;
            QTimer::singleShot(0, this, &QWidget::close);
            return;
        }
        m_dm.managers().OpenManagerDB();
        LabelLayout layout;
        m_dm.loadLayout(m_dm.LastQXD, layout); // its counts decide the labels' lines
    }
}

void TQXForm::restorePlacement()
{
    // "flags showCmd minX minY maxX maxY left top right bottom", as Windows saves it.
    IniFile ini(m_dm.iniPath());
    std::istringstream in(ini.readString("QXForm", "WindowSize", ""));
    int v[10];
    for (int& x : v)
        if (!(in >> x))
            return;
    if (v[8] > v[6] && v[9] > v[7])
        setGeometry(v[6], v[7], v[8] - v[6], v[9] - v[7]);
    if (v[1] == 3)
        setWindowState(Qt::WindowMaximized);
}

void TQXForm::savePlacement()
{
    IniFile ini(m_dm.iniPath());
    const QRect r = normalGeometry();
    std::ostringstream out;
    out << "0 " << (isMaximized() ? 3 : 1) << " -1 -1 -1 -1 " << r.left() << ' ' << r.top() << ' '
        << r.right() + 1 << ' ' << r.bottom() + 1;
    ini.writeString("QXForm", "WindowSize", out.str());
    ini.save();
}

void TQXForm::closeEvent(QCloseEvent* event)
{
    if (!m_dm.ShutDown) {
        savePlacement();
        m_dm.writeSettingsAtExit();
    }
    event->accept();
}

} // namespace qx7
