#include "ui/manager/TQXManagerDlg.h"

#include "datamodule/TQXDM.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/manager/CallValidator.h"
#include "ui/manager/TableCursorModel.h"
#include "ui/QtProgress.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace qx7 {

namespace {

// Shows what a long run reports in the count label.
class LabelProgress final : public QtProgress
{
public:
    LabelProgress(QProgressBar* bar, QLabel* label) : QtProgress(bar), m_label(label) {}
    void message(const std::string& text) override
    {
        m_label->setText(QString::fromStdString(text));
        m_label->repaint();
    }

private:
    QLabel* m_label;
};

const char* kHighKey = "zzzzzzzzzzzzzz";

} // namespace

TQXManagerDlg::TQXManagerDlg(TQXDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TQXManagerDlg"));
    setWindowTitle(tr("QSL Manager Database"));
    ManagerDatabase& db = m_dm.managers();
    if (!db.isOpen())
        db.OpenManagerDB();
    if (db.isOpen())
        db.ResetManagerView();
    buildWidgets();
    connectSignals();
    showCount();
    m_findCall->setFocus();
}

TQXManagerDlg::~TQXManagerDlg() = default;

void TQXManagerDlg::buildWidgets()
{
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_findCall = new QLineEdit(this);
    m_findCall->setObjectName(QStringLiteral("findCallEdit"));
    m_findMgr = new QLineEdit(this);
    m_findMgr->setObjectName(QStringLiteral("findManagerEdit"));
    for (QLineEdit* e : {m_findCall, m_findMgr}) {
        e->setValidator(new CallValidator(e));
        e->setMaxLength(16);
        e->installEventFilter(this);
    }
    m_clear = button(tr("Clear Find &Fields"), "clearFindButton");
    m_delete = button(tr("De&lete Database"), "deleteButton");
    m_export = button(tr("&Export as text file..."), "exportButton");
    m_importDb = button(tr("&Import Database..."), "importDatabaseButton");
    m_importText = button(tr("Import &text file..."), "importTextButton");
    m_pack = button(tr("&Pack/Reindex"), "packButton");
    m_close = button(tr("&Close"), "closeButton");
    m_help = button(tr("&Help"), "helpButton");

    m_navigator = new QWidget(this);
    m_navigator->setObjectName(QStringLiteral("navigator"));
    auto* nav = new QHBoxLayout(m_navigator);
    nav->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, const char*> moves[] = {
        {"|<", "navFirst"}, {"<", "navPrior"}, {">", "navNext"}, {">|", "navLast"}};
    for (const auto& [text, name] : moves) {
        auto* b = new QToolButton(m_navigator);
        b->setText(QLatin1String(text));
        b->setObjectName(QLatin1String(name));
        nav->addWidget(b);
    }
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("countLabel"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setVisible(false);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("managerGrid"));
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setItemDelegate(new CallCellDelegate(m_grid));
    if (m_dm.managers().isOpen()) {
        m_model = new TableCursorModel(m_dm.managers().MgrTable(),
                                       {{"CALL", tr("DX Call")},
                                        {"MGR", tr("Manager")},
                                        {"DATEFROM", tr("valid from")},
                                        {"DATETO", tr("valid till")},
                                        {"MODE", tr("Mode")},
                                        {"BAND", tr("Band")},
                                        {"STATUS", tr("Status")}},
                                       this);
        m_grid->setModel(m_model);
        const int widths[] = {110, 110, 80, 80, 60, 50, 50};
        for (int c = 0; c < 7; ++c)
            m_grid->setColumnWidth(c, widths[c]);
    }

    auto* find = new QGridLayout;
    auto* callLabel = new QLabel(tr("Find &DX Call:"), this);
    callLabel->setBuddy(m_findCall);
    auto* mgrLabel = new QLabel(tr("Find &Manager Call:"), this);
    mgrLabel->setBuddy(m_findMgr);
    find->addWidget(callLabel, 0, 0);
    find->addWidget(m_findCall, 0, 1);
    find->addWidget(mgrLabel, 1, 0);
    find->addWidget(m_findMgr, 1, 1);
    find->addWidget(m_clear, 0, 2);
    find->addWidget(m_navigator, 1, 2);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_delete, m_export, m_importDb, m_importText, m_pack})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_help);
    buttons->addWidget(m_close);

    auto* left = new QVBoxLayout;
    left->addLayout(find);
    left->addWidget(m_grid, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(m_count, 1);
    status->addWidget(m_progress, 2);
    left->addLayout(status);

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(buttons);
    resize(760, 480);
}

void TQXManagerDlg::connectSignals()
{
    connect(m_findCall, &QLineEdit::textEdited, this, &TQXManagerDlg::findCall);
    connect(m_findMgr, &QLineEdit::textEdited, this, &TQXManagerDlg::findManager);
    connect(m_clear, &QPushButton::clicked, this, &TQXManagerDlg::clearFindFields);
    connect(m_delete, &QPushButton::clicked, this, &TQXManagerDlg::deleteDatabase);
    connect(m_export, &QPushButton::clicked, this, &TQXManagerDlg::exportTextFile);
    connect(m_importDb, &QPushButton::clicked, this, &TQXManagerDlg::importDatabase);
    connect(m_importText, &QPushButton::clicked, this, &TQXManagerDlg::importTextFile);
    connect(m_pack, &QPushButton::clicked, this, &TQXManagerDlg::packDatabase);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kManager), this); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, m_help, &QPushButton::click);
    auto nav = [this](const char* name, auto target) {
        connect(m_navigator->findChild<QToolButton*>(QLatin1String(name)), &QToolButton::clicked,
                this, [this, target] { moveTo(target(m_grid->currentIndex().row())); });
    };
    nav("navFirst", [](int) { return 0; });
    nav("navPrior", [](int row) { return std::max(0, row - 1); });
    nav("navNext", [](int row) { return row + 1; });
    nav("navLast", [this](int) { return m_model ? m_model->rowCount() - 1 : -1; });
}

void TQXManagerDlg::moveTo(int row)
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    row = std::clamp(row, 0, m_model->rowCount() - 1);
    m_grid->setCurrentIndex(m_model->index(row, std::max(0, m_grid->currentIndex().column())));
    m_model->gotoRow(row);
}

QString TQXManagerDlg::managerFolder() const
{
    return QString::fromStdString(m_dm.QXManagerPath);
}

void TQXManagerDlg::setDxCall(const QString& call)
{
    m_findCall->setText(call.toUpper());
    findCall();
    m_findCall->setFocus();
}

bool TQXManagerDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Entering a find field makes its index current, so the grid follows what is typed.
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_findCall)
            findCall();
        else if (watched == m_findMgr)
            findManager();
    }
    return QDialog::eventFilter(watched, event);
}

void TQXManagerDlg::findCall()
{
    ManagerDatabase& db = m_dm.managers();
    if (!db.isOpen() || !m_model)
        return;
    const std::string text = m_findCall->text().toStdString();
    db.MgrTable().setIndex("CALL");
    db.MgrTable().setRange(text, text + kHighKey);
    m_model->reload();
    showCount();
}

void TQXManagerDlg::findManager()
{
    ManagerDatabase& db = m_dm.managers();
    if (!db.isOpen() || !m_model)
        return;
    const std::string text = m_findMgr->text().toStdString();
    db.MgrTable().setIndex("MGR");
    db.MgrTable().setRange(text, text + kHighKey);
    m_model->reload();
    showCount();
}

void TQXManagerDlg::clearFindFields()
{
    m_findCall->clear();
    m_findMgr->clear();
    if (m_dm.managers().isOpen())
        m_dm.managers().ResetManagerView();
    if (m_model)
        m_model->reload();
    showCount();
    m_findCall->setFocus();
}

void TQXManagerDlg::showCount()
{
    const int n = m_model ? m_model->rowCount() : 0;
    m_count->setText(tr("%1 Record(s)").arg(n));
}

void TQXManagerDlg::setBusy(bool busy)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_findCall, m_findMgr, m_clear, m_delete,
                                                      m_export, m_importDb, m_importText, m_pack,
                                                      m_close, m_help, m_navigator, m_grid})
        w->setEnabled(!busy);
    m_progress->setVisible(busy);
    if (m_model) {
        if (busy)
            m_model->suspend();
        else
            m_model->resume();
    }
    if (!busy)
        clearFindFields();
}

void TQXManagerDlg::importTextFile()
{
    FileRequest request;
    request.caption = tr("Import text file");
    request.folder = managerFolder();
    request.defaultName = QStringLiteral("manager.txt");
    request.filters = {tr("Comma separated text file (*.txt)"),
                       tr("DX4WIN QSL manager format (*.txt)"),
                       tr("QW6QW QSL manager file (qsl.txt)")};
    const QString file = m_chooser(this, request);
    if (file.isEmpty())
        return;
    setBusy(true);
    LabelProgress progress(m_progress, m_count);
    m_dm.managers().importTextFile(QDir::toNativeSeparators(file).toStdString(), progress);
    setBusy(false);
}

void TQXManagerDlg::importDatabase()
{
    FileRequest request;
    request.caption = tr("Import Database");
    request.folder = managerFolder();
    request.defaultName = QStringLiteral("qmgr.dbf");
    request.filters = {tr("QY1QY Manager Database (qmgr.dbf)")};
    const QString file = m_chooser(this, request);
    if (file.isEmpty())
        return;
    setBusy(true);
    LabelProgress progress(m_progress, m_count);
    const bool ok = m_dm.managers().importManagerTable(file.toStdString(), progress);
    setBusy(false);
    if (!ok)
        m_dm.prompter().error("The manager table " + file.toStdString() +
                              " could not be imported.");
}

void TQXManagerDlg::exportTextFile()
{
    FileRequest request;
    request.save = true;
    request.caption = tr("Export as text file");
    request.folder = managerFolder();
    request.defaultName = QStringLiteral("manager.txt");
    request.filters = {tr("Comma separated text file (*.txt)"),
                       tr("DX4WIN QSL manager format (*.txt)")};
    const QString file = m_chooser(this, request);
    if (file.isEmpty())
        return;
    setBusy(true);
    LabelProgress progress(m_progress, m_count);
    const bool ok =
        m_dm.managers().exportTextFile(file.toStdString(), request.chosenFilter == 1, progress);
    setBusy(false);
    if (!ok)
        m_dm.prompter().error(file.toStdString() + " could not be written.");
}

void TQXManagerDlg::packDatabase()
{
    m_count->setText(tr("Please wait..."));
    m_count->repaint();
    setBusy(true);
    m_dm.managers().PackManagerDB();
    setBusy(false);
}

void TQXManagerDlg::deleteDatabase()
{
    const auto buttons = PromptButton::Yes | PromptButton::No | PromptButton::Cancel;
    Prompter& p = m_dm.prompter();
    if (p.ask(PromptIcon::Warning, "Are you sure to delete the QSL Manager Database?", buttons) !=
        PromptButton::Yes)
        return;
    if (p.ask(PromptIcon::Warning, "Are you really sure?", buttons) != PromptButton::Yes)
        return;
    setBusy(true);
    m_dm.managers().EmptyManagerDB();
    setBusy(false);
}

void TQXManagerDlg::done(int result)
{
    // The look-up of the log windows expects the call order without a range.
    if (m_dm.managers().isOpen())
        m_dm.managers().ResetManagerView();
    QDialog::done(result);
}

int TQXManagerDlg::exec(TQXDM& dm, QWidget* parent, const QString& dxCall)
{
    TQXManagerDlg dlg(dm, parent);
    if (!dxCall.isEmpty())
        dlg.setDxCall(dxCall);
    return dlg.exec();
}

} // namespace qx7
