// The designer's menus and the commands that go through a dialog: the layout settings
// wizard, placing an element, the element and frame dialogs.

#include "core/Prompter.h"
#include "labels/LayoutOperations.h"
#include "ui/designer/ElementDialogs.h"
#include "ui/designer/TQXDesigner.h"
#include "ui/designer/TQXDesOptionsForm.h"
#include "ui/designer/TQXDesSettingsForm.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

namespace qx7 {

namespace {

// What a new element holds before its dialog opens.
void giveDefaults(LayoutElement& e)
{
    if (e.isTextKind()) {
        e.font.family = "Arial";
        e.font.pointSize = 8;
    }
    switch (e.kind) {
    case ElementKind::Text:
        e.caption = "Text";
        break;
    case ElementKind::DataField:
        e.dataField = e.caption = "HISCALL";
        break;
    case ElementKind::Expression:
        e.expression = "MYCALL";
        break;
    case ElementKind::Memo:
        e.lines = {"Memo"};
        e.height = 10;
        break;
    case ElementKind::Shape:
        e.width = e.height = 10;
        break;
    case ElementKind::Image:
        e.width = e.height = 15;
        break;
    }
}

} // namespace

void TQXDesigner::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    QAction* zoomIn = viewMenu->addAction(tr("Zoom &in"), this, [this] { setZoom(m_zoom * 1.25); });
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction* zoomOut =
        viewMenu->addAction(tr("Zoom &out"), this, [this] { setZoom(m_zoom / 1.25); });
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    QAction* snap = viewMenu->addAction(tr("&Snap to grid"));
    snap->setCheckable(true);
    snap->setChecked(m_options.snap);
    connect(snap, &QAction::toggled, this, [this](bool on) { m_options.snap = on; });
    viewMenu->addAction(tr("&Options..."), this, [this, snap] {
        TQXDesOptionsForm form(m_options, this);
        if (runDialog(form) != QDialog::Accepted)
            return;
        setOptions(form.options());
        snap->setChecked(m_options.snap);
        emit optionsChanged();
    });

    QMenu* layoutMenu = menuBar()->addMenu(tr("&Layout"));
    QAction* settings =
        layoutMenu->addAction(tr("La&yout settings"), this, [this] { layoutSettings(); });
    settings->setObjectName(QStringLiteral("layoutSettingsAction"));
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    layoutMenu->addAction(tr("Label &frame..."), this, [this] { editBandFrame(); });
    layoutMenu->addAction(tr("Analyz&e layout settings"), this, [this] { runLayoutCheck(true); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
    const std::pair<const char*, QString> topics[] = {
        {help::kDesignerIntro, tr("&Help about QX Label Designer")},
        {help::kDesignerNewLayout, tr("Ho&w to create a label design")},
        {help::kDesignerElements, tr("Help about layout &elements")}};
    for (const auto& [topic, caption] : topics) {
        QAction* a = helpMenu->addAction(caption, this, [this, topic = topic] {
            HelpWindow::showTopic(QString::fromLatin1(topic), this);
        });
        a->setObjectName(QStringLiteral("help-%1").arg(QString::fromLatin1(topic)));
        if (topic == help::kDesignerIntro)
            a->setShortcut(QKeySequence::HelpContents);
    }

    QToolBar* bar = addToolBar(tr("Designer"));
    bar->setObjectName(QStringLiteral("designerToolbar"));
    for (QAction* a : findChildren<QAction*>())
        if (a->property("onToolbar").toBool())
            bar->addAction(a);
    bar->addAction(zoomIn);
    bar->addAction(zoomOut);
}

void TQXDesigner::buildFileMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* create = file->addAction(tr("&New..."), this, [this] { newLayout(); });
    create->setObjectName(QStringLiteral("newLayoutAction"));
    create->setShortcut(QKeySequence::New);
    QAction* open = file->addAction(tr("&Load..."), this, [this] {
        if (!mayDiscard())
            return;
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Open Label Layout"), QFileInfo(QString::fromStdString(m_file)).absolutePath(),
            tr("QX Label Layouts (*.qxd)"));
        if (path.isEmpty())
            return;
        const std::string error = openLayout(path.toStdString());
        if (!error.empty())
            m_prompter->error(error);
    });
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    const auto saveAs = [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save Label Layout"),
                                                          QString::fromStdString(m_file),
                                                          tr("QX Label Layouts (*.qxd)"));
        if (path.isEmpty())
            return;
        const std::string error = saveLayoutAs(path.toStdString());
        if (!error.empty())
            m_prompter->error(error);
    };
    QAction* save = file->addAction(tr("&Save"), this, [this, saveAs] {
        if (m_file.empty())
            return saveAs();
        const std::string error = saveLayoutAs(m_file);
        if (!error.empty())
            m_prompter->error(error);
    });
    save->setShortcut(QKeySequence::Save);
    file->addAction(tr("Save &as..."), this, saveAs)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    file->addAction(tr("Ba&ck to Log Window"), this, &QWidget::close)
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
}

void TQXDesigner::buildEditMenu()
{
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = m_undo->createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_undo->createRedoAction(this, tr("&Redo"));
    // Ctrl+Y opens the layout settings.
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(undo);
    edit->addAction(redo);
    undo->setProperty("onToolbar", true);
    redo->setProperty("onToolbar", true);

    QMenu* add = edit->addMenu(tr("Add &new element"));
    const std::pair<ElementKind, QString> kinds[] = {
        {ElementKind::DataField, tr("&Data field")},  {ElementKind::Text, tr("&Text field")},
        {ElementKind::Expression, tr("&Expression")}, {ElementKind::Memo, tr("&Memo")},
        {ElementKind::Shape, tr("&Shape")},           {ElementKind::Image, tr("&Image")}};
    for (const auto& [kind, caption] : kinds) {
        QAction* a = add->addAction(caption, this, [this, kind = kind] {
            armTool(kind);
            m_view->viewport()->setCursor(Qt::CrossCursor);
        });
        a->setObjectName(
            QStringLiteral("add%1Action").arg(QString::fromLatin1(elementKindName(kind))));
        a->setProperty("onToolbar", true);
    }
    QAction* addText = edit->addAction(tr("Add &text"), this, [this] { addTextElement("Text"); });
    addText->setObjectName(QStringLiteral("addTextAction"));
    QAction* properties = edit->addAction(tr("&Properties..."), this, [this] {
        if (m_selected >= 0)
            editElement(m_selected);
    });
    properties->setObjectName(QStringLiteral("propertiesAction"));
    edit->addAction(tr("Set &frame..."), this, [this] {
        if (m_selected < 0)
            return;
        const LayoutElement& e = m_layout.Elements[size_t(m_selected)];
        FrameDialog dialog(e.frame, e.background, this);
        if (runDialog(dialog) != QDialog::Accepted)
            return;
        LabelLayout after = m_layout;
        after.Elements[size_t(m_selected)].frame = dialog.frame();
        after.Elements[size_t(m_selected)].background = dialog.background();
        changeLayout(after, tr("Frame of %1").arg(QString::fromStdString(e.name)));
    });
    QAction* del = edit->addAction(tr("&Delete"), this, [this] { deleteSelected(); });
    del->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    del->setProperty("onToolbar", true);

    QMenu* align = edit->addMenu(tr("&Align element"));
    const std::pair<AlignMode, QString> modes[] = {
        {AlignMode::Left, tr("&Left")},
        {AlignMode::Right, tr("&Right")},
        {AlignMode::Top, tr("&Top")},
        {AlignMode::Bottom, tr("&Bottom")},
        {AlignMode::HorizontalCenters, tr("Centers &horizontal")},
        {AlignMode::VerticalCenters, tr("Centers &vertical")},
        {AlignMode::LabelHorizontal, tr("Center on label h&orizontal")},
        {AlignMode::LabelVertical, tr("Center on label v&ertical")},
        {AlignMode::EqualHorizontal, tr("Equal space hori&zontal")},
        {AlignMode::EqualVertical, tr("Equal space verti&cal")}};
    for (const auto& [mode, caption] : modes)
        align->addAction(caption, this, [this, mode = mode] { alignSelection(mode); })
            ->setObjectName(
                QStringLiteral("align-%1").arg(QString::fromLatin1(alignModeName(mode))));
}

bool TQXDesigner::newLayout()
{
    if (!mayDiscard())
        return false;
    LabelLayout fresh;
    fresh.Units = m_layout.Units;
    TQXDesSettingsForm wizard(fresh, TQXDesSettingsForm::Mode::NewLayout, *m_prompter, this);
    if (runDialog(wizard) != QDialog::Accepted)
        return false;
    m_file.clear();
    m_undo->clear();
    m_selection.clear();
    m_selected = -1;
    setLayoutQuietly(wizard.resultLayout());
    // A new layout is not on disk yet: it counts as modified until saved.
    m_undo->resetClean();
    updateCaption();
    updateStatus();
    runLayoutCheck(false);
    return true;
}

bool TQXDesigner::layoutSettings()
{
    TQXDesSettingsForm wizard(m_layout, TQXDesSettingsForm::Mode::Settings, *m_prompter, this);
    if (runDialog(wizard) != QDialog::Accepted)
        return false;
    changeLayout(wizard.resultLayout(), tr("Layout settings"));
    runLayoutCheck(false);
    return true;
}

bool TQXDesigner::addElement(ElementKind kind, QPointF topLeftMm)
{
    LabelLayout after = m_layout;
    LayoutElement& e = after.addElement(kind);
    giveDefaults(e);
    e.left = std::max(0.0, snappedX(topLeftMm.x()));
    e.top = std::max(0.0, snappedY(topLeftMm.y()));
    const ElementDialogContext context{
        m_prompter, QFileInfo(QString::fromStdString(m_file)).absolutePath().toStdString()};
    const std::unique_ptr<ElementDialog> dialog = makeElementDialog(e, context, this);
    if (runDialog(*dialog) != QDialog::Accepted)
        return false;
    e = dialog->element();
    const QString what = tr("Add %1").arg(QString::fromStdString(e.name));
    m_selection = {int(after.Elements.size()) - 1};
    m_selected = m_selection.back();
    changeLayout(after, what);
    return true;
}

bool TQXDesigner::editElement(int index)
{
    if (index < 0 || index >= int(m_layout.Elements.size()))
        return false;
    const ElementDialogContext context{
        m_prompter, QFileInfo(QString::fromStdString(m_file)).absolutePath().toStdString()};
    const std::unique_ptr<ElementDialog> dialog =
        makeElementDialog(m_layout.Elements[size_t(index)], context, this);
    if (runDialog(*dialog) != QDialog::Accepted)
        return false;
    LabelLayout after = m_layout;
    after.Elements[size_t(index)] = dialog->element();
    selectElement(index);
    changeLayout(after, tr("Edit %1").arg(QString::fromStdString(dialog->element().name)));
    return true;
}

bool TQXDesigner::editBandFrame()
{
    FrameDialog dialog(m_layout.Band.frame, m_layout.Band.background, this);
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    LabelLayout after = m_layout;
    after.Band.frame = dialog.frame();
    after.Band.background = dialog.background();
    // The label stays a detail band that starts no page of its own.
    after.Band.bandType = "detail";
    after.Band.startPageNum = 0;
    after.Band.pageStep = 0;
    changeLayout(after, tr("Label frame"));
    return true;
}

} // namespace qx7
