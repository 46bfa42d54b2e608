#include "ui/designer/TQXDesigner.h"

#include "labels/LayoutOperations.h"
#include "labels/QxdFile.h"
#include "labels/render/LabelRenderer.h"
#include "labels/render/LayoutFindings.h"
#include "ui/QtPrompter.h"

#include <QDialog>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace qx7 {

// One undo step: the layout before and after.
class TQXDesigner::Snapshot : public QUndoCommand
{
public:
    Snapshot(TQXDesigner& designer, LabelLayout before, LabelLayout after, const QString& text)
        : QUndoCommand(text), m_d(designer), m_before(std::move(before)), m_after(std::move(after))
    {}
    void undo() override { m_d.setLayoutQuietly(m_before); }
    void redo() override { m_d.setLayoutQuietly(m_after); }

private:
    TQXDesigner& m_d;
    LabelLayout m_before, m_after;
};

TQXDesigner::TQXDesigner(QWidget* parent)
    : QMainWindow(parent), m_ownPrompter(std::make_unique<QtPrompter>(this)),
      m_prompter(m_ownPrompter.get()), m_runDialog([](QDialog& d) { return d.exec(); })
{
    setObjectName(QStringLiteral("TQXDesigner"));
    m_scene = new QGraphicsScene(this);
    m_scene->installEventFilter(this);
    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("designerView"));
    m_view->setBackgroundBrush(QColor(160, 160, 160));
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setMouseTracking(true);
    setCentralWidget(m_view);
    m_undo = new QUndoStack(this);
    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);
    buildMenus();
    connect(m_undo, &QUndoStack::indexChanged, this, [this] { updateStatus(); });
    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { updateStatus(); });
    resize(900, 600);
    updateCaption();
    rebuildScene();
}

TQXDesigner::~TQXDesigner()
{
    // The stack empties itself as it goes and says so; the layout is gone by then.
    m_undo->disconnect(this);
}

bool TQXDesigner::isModified() const
{
    return !m_undo->isClean();
}

int TQXDesigner::runDialog(QDialog& dialog)
{
    return m_runDialog(dialog);
}

bool TQXDesigner::mayDiscard()
{
    return !isModified() ||
           m_prompter->ask(PromptIcon::Confirmation, "Layout not saved! Continue?",
                           PromptButton::Ok | PromptButton::Cancel) == PromptButton::Ok;
}

std::string TQXDesigner::openLayout(const std::string& path)
{
    LabelLayout loaded;
    std::string error;
    if (!openLayoutFile(path, loaded, &error))
        return error.empty() ? "cannot read " + path : error;
    m_file = path;
    m_undo->clear();
    m_selection.clear();
    m_selected = -1;
    setLayoutQuietly(loaded);
    updateCaption();
    runLayoutCheck(false);
    return {};
}

int TQXDesigner::runLayoutCheck(bool askedFor)
{
    const std::string folder =
        m_file.empty() ? std::string()
                       : QFileInfo(QString::fromStdString(m_file)).absolutePath().toStdString();
    return reportLayoutCheck(findLayoutProblems(m_layout, folder), *m_prompter, askedFor);
}

std::string TQXDesigner::saveLayoutAs(const std::string& path)
{
    std::string error;
    LabelLayout saved = m_layout;
    if (!saveLayoutFile(path, saved, &error))
        return error.empty() ? "cannot write " + path : error;
    m_layout.Page.QSOLines = saved.Page.QSOLines;
    m_layout.Page.FooterLines = saved.Page.FooterLines;
    m_file = path;
    m_undo->setClean();
    updateCaption();
    emit layoutSaved(QString::fromStdString(path));
    return {};
}

void TQXDesigner::updateCaption()
{
    setWindowTitle(m_file.empty() ? tr("QX QSL Label Designer")
                                  : tr("QX Label Designer  [%1]")
                                        .arg(QFileInfo(QString::fromStdString(m_file)).fileName()));
}

void TQXDesigner::selectElement(int index)
{
    setSelection(index >= 0 ? std::vector<int>{index} : std::vector<int>{});
}

void TQXDesigner::setSelection(std::vector<int> indexes)
{
    std::erase_if(indexes, [this](int i) { return i < 0 || i >= int(m_layout.Elements.size()); });
    m_selection.clear();
    for (int i : indexes)
        if (std::find(m_selection.begin(), m_selection.end(), i) == m_selection.end())
            m_selection.push_back(i);
    m_selected = m_selection.empty() ? -1 : m_selection.back();
    refreshFrames();
}

void TQXDesigner::toggleSelected(int index)
{
    std::vector<int> next = m_selection;
    const auto at = std::find(next.begin(), next.end(), index);
    if (at != next.end())
        next.erase(at);
    else
        next.push_back(index);
    setSelection(next);
}

void TQXDesigner::framePressed(int index, bool extend)
{
    if (extend)
        toggleSelected(index);
    else if (std::find(m_selection.begin(), m_selection.end(), index) == m_selection.end())
        selectElement(index);
}

void TQXDesigner::frameDoubleClicked(int index)
{
    // The dialog rebuilds the scene: not while the frame is still handling its event.
    QMetaObject::invokeMethod(
        this, [this, index] { editElement(index); }, Qt::QueuedConnection);
}

void TQXDesigner::changeLayout(const LabelLayout& after, const QString& what)
{
    if (after == m_layout)
        return;
    m_undo->push(new Snapshot(*this, m_layout, after, what));
}

void TQXDesigner::changeLater(const LabelLayout& after, const QString& what)
{
    // Rebuilding the scene deletes the frame being released: after its event.
    QMetaObject::invokeMethod(
        this, [this, after, what] { changeLayout(after, what); }, Qt::QueuedConnection);
}

void TQXDesigner::addTextElement(const std::string& caption)
{
    LabelLayout after = m_layout;
    LayoutElement& e = after.addElement(ElementKind::Text);
    e.caption = caption;
    e.left = snappedX(2);
    e.top = snappedY(2);
    e.width = 20;
    e.height = 5;
    e.font.family = "Arial";
    e.font.pointSize = 8;
    const QString what = tr("Add %1").arg(QString::fromStdString(e.name));
    m_selection = {int(after.Elements.size()) - 1};
    m_selected = m_selection.back();
    changeLayout(after, what);
}

void TQXDesigner::moveSelected(double dxMm, double dyMm)
{
    if (m_selection.empty())
        return;
    LabelLayout after = m_layout;
    for (int i : m_selection) {
        LayoutElement& e = after.Elements[size_t(i)];
        e.left = std::max(0.0, e.left + dxMm);
        e.top = std::max(0.0, e.top + dyMm);
    }
    changeLayout(
        after, tr("Move %1").arg(QString::fromStdString(after.Elements[size_t(m_selected)].name)));
}

void TQXDesigner::resizeSelected(double dwMm, double dhMm)
{
    if (m_selection.empty())
        return;
    LabelLayout after = m_layout;
    for (int i : m_selection) {
        LayoutElement& e = after.Elements[size_t(i)];
        e.width = std::max(0.5, e.width + dwMm);
        e.height = std::max(0.5, e.height + dhMm);
    }
    changeLayout(
        after,
        tr("Resize %1").arg(QString::fromStdString(after.Elements[size_t(m_selected)].name)));
}

void TQXDesigner::deleteSelected()
{
    if (m_selection.empty())
        return;
    LabelLayout after = m_layout;
    std::vector<int> doomed = m_selection;
    std::sort(doomed.rbegin(), doomed.rend());
    const std::string name = after.Elements[size_t(m_selected)].name;
    for (int i : doomed)
        after.Elements.erase(after.Elements.begin() + i);
    m_selection.clear();
    m_selected = -1;
    changeLayout(after, doomed.size() == 1 ? tr("Delete %1").arg(QString::fromStdString(name))
                                           : tr("Delete %1 elements").arg(doomed.size()));
}

void TQXDesigner::alignSelection(AlignMode mode)
{
    LabelLayout after = m_layout;
    if (alignElements(after, m_selection, mode))
        changeLayout(after, tr("Align (%1)").arg(QString::fromLatin1(alignModeName(mode))));
}

void TQXDesigner::setGridMm(double mm)
{
    DesignerOptions o = m_options;
    o.gridXMm = o.gridYMm = o.keyGridXMm = o.keyGridYMm = mm;
    setOptions(o);
}

void TQXDesigner::setOptions(const DesignerOptions& options)
{
    m_options = options;
    for (double* mm :
         {&m_options.gridXMm, &m_options.gridYMm, &m_options.keyGridXMm, &m_options.keyGridYMm})
        *mm = std::clamp(*mm, 0.0, 20.0);
    rebuildScene();
}

QPen TQXDesigner::framePen() const
{
    if (!m_options.showFrames)
        return QPen(Qt::NoPen);
    return QPen(m_options.frameColor, 0, m_options.frameLine);
}

void TQXDesigner::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.25, 8.0);
    m_view->resetTransform();
    m_view->scale(m_zoom, m_zoom);
    for (ElementFrame* f : m_frames)
        f->setSelectedLook(std::find(m_selection.begin(), m_selection.end(), f->index()) !=
                               m_selection.end(),
                           f->index() == m_selected);
    updateStatus();
}

void TQXDesigner::elementDragged(int index, QPointF newTopLeftMm)
{
    if (index < 0 || index >= int(m_layout.Elements.size()))
        return;
    LabelLayout after = m_layout;
    LayoutElement& e = after.Elements[size_t(index)];
    e.left = std::max(0.0, snappedX(newTopLeftMm.x()));
    e.top = std::max(0.0, snappedY(newTopLeftMm.y()));
    changeLater(after, tr("Move %1").arg(QString::fromStdString(e.name)));
}

void TQXDesigner::elementResized(int index, QRectF rectMm)
{
    if (index < 0 || index >= int(m_layout.Elements.size()))
        return;
    LabelLayout after = m_layout;
    LayoutElement& e = after.Elements[size_t(index)];
    const QRectF r = rectMm.normalized();
    e.left = std::max(0.0, r.left());
    e.top = std::max(0.0, r.top());
    // An edge dragged past the label's left or top keeps the other edge where it was.
    e.width = std::max(0.5, r.right() - e.left);
    e.height = std::max(0.5, r.bottom() - e.top);
    changeLater(after, tr("Resize %1").arg(QString::fromStdString(e.name)));
}

ElementFrame* TQXDesigner::frameOf(int index) const
{
    return index >= 0 && index < int(m_frames.size()) ? m_frames[size_t(index)] : nullptr;
}

void TQXDesigner::keyPressEvent(QKeyEvent* event)
{
    // Arrows move by the grid step, with Ctrl by a tenth of a millimetre; with Shift
    // they make the selection wider, narrower, taller or lower.
    // A keyboard grid of 0 moves by the finest step.
    const bool fine = event->modifiers() & Qt::ControlModifier;
    const double stepX = fine || m_options.keyGridXMm <= 0 ? 0.1 : m_options.keyGridXMm;
    const double stepY = fine || m_options.keyGridYMm <= 0 ? 0.1 : m_options.keyGridYMm;
    const bool size = event->modifiers() & Qt::ShiftModifier;
    const auto change = [&](double dx, double dy) {
        size ? resizeSelected(dx, dy) : moveSelected(dx, dy);
    };
    switch (event->key()) {
    case Qt::Key_Left:
        change(-stepX, 0);
        return;
    case Qt::Key_Right:
        change(stepX, 0);
        return;
    case Qt::Key_Up:
        change(0, -stepY);
        return;
    case Qt::Key_Down:
        change(0, stepY);
        return;
    case Qt::Key_Tab:
        if (!m_layout.Elements.empty())
            selectElement((m_selected + 1) % int(m_layout.Elements.size()));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_selected >= 0)
            editElement(m_selected);
        return;
    case Qt::Key_Escape:
        m_tool.reset();
        m_view->viewport()->unsetCursor();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

bool TQXDesigner::focusNextPrevChild(bool /*next*/)
{
    return false;
}

bool TQXDesigner::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_scene || event->type() != QEvent::GraphicsSceneMousePress)
        return QMainWindow::eventFilter(watched, event);
    const auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const QPointF mm = mouse->scenePos() / kDesignPixelsPerMm;
    if (m_tool) {
        const ElementKind kind = *m_tool;
        m_tool.reset();
        m_view->viewport()->unsetCursor();
        QMetaObject::invokeMethod(
            this, [this, kind, mm] { addElement(kind, mm); }, Qt::QueuedConnection);
        return true;
    }
    const bool onFrame = std::any_of(m_frames.begin(), m_frames.end(), [&](ElementFrame* f) {
        return f->shape().contains(f->mapFromScene(mouse->scenePos()));
    });
    if (!onFrame)
        setSelection({});
    return false;
}

void TQXDesigner::setLayoutQuietly(const LabelLayout& layout)
{
    m_layout = layout;
    std::erase_if(m_selection, [this](int i) { return i >= int(m_layout.Elements.size()); });
    if (m_selected >= int(m_layout.Elements.size()))
        m_selected = m_selection.empty() ? -1 : m_selection.back();
    rebuildScene();
}

double TQXDesigner::snappedX(double mm) const
{
    return m_options.snap ? onGrid(mm, m_options.gridXMm) : mm;
}

double TQXDesigner::snappedY(double mm) const
{
    return m_options.snap ? onGrid(mm, m_options.gridYMm) : mm;
}

void TQXDesigner::rebuildScene()
{
    m_scene->clear();
    m_frames.clear();
    const double w = m_layout.labelWidthMm(), h = m_layout.labelHeightMm();
    const QSize size(std::max(1, int(std::ceil(w * kDesignPixelsPerMm))),
                     std::max(1, int(std::ceil(h * kDesignPixelsPerMm))));
    QImage label(size, QImage::Format_RGB32);
    label.fill(Qt::white);
    {
        QPainter painter(&label);
        painter.setRenderHint(QPainter::Antialiasing);
        // Grid dots first, the label drawn over them as it will print.
        painter.setPen(QColor(200, 200, 200));
        // A grid finer than half a millimetre would grey the label over.
        const double gx = m_options.gridXMm, gy = m_options.gridYMm;
        if (m_options.showGrid && gx >= 0.5 && gy >= 0.5)
            for (double x = 0; x < w; x += gx)
                for (double y = 0; y < h; y += gy)
                    painter.drawPoint(QPointF(x * kDesignPixelsPerMm, y * kDesignPixelsPerMm));
        // At design time a data field shows its field name.
        LabelRecord design;
        for (const LayoutElement& e : m_layout.Elements)
            if (!e.dataField.empty())
                design.set(e.dataField, e.dataField);
        const LabelRenderer renderer(
            m_layout, QFileInfo(QString::fromStdString(m_file)).absolutePath().toStdString());
        ExpressionContext ctx;
        ctx.record = &design;
        renderer.drawLabel(painter, kDesignPixelsPerMm, QPointF(0, 0), design, ctx);
    }
    m_scene->addPixmap(QPixmap::fromImage(label));
    for (size_t i = 0; i < m_layout.Elements.size(); ++i) {
        const LayoutElement& e = m_layout.Elements[i];
        auto* frame =
            new ElementFrame(*this, int(i),
                             QRectF(e.left * kDesignPixelsPerMm, e.top * kDesignPixelsPerMm,
                                    e.width * kDesignPixelsPerMm, e.height * kDesignPixelsPerMm));
        m_scene->addItem(frame);
        m_frames.push_back(frame);
    }
    m_scene->setSceneRect(-10, -10, size.width() + 20, size.height() + 20);
    refreshFrames();
}

void TQXDesigner::refreshFrames()
{
    for (ElementFrame* f : m_frames)
        f->setSelectedLook(std::find(m_selection.begin(), m_selection.end(), f->index()) !=
                               m_selection.end(),
                           f->index() == m_selected);
    updateStatus();
}

void TQXDesigner::updateStatus()
{
    // Measures in the unit of the options; a character is a tenth of an inch across
    // and a sixth of an inch down, a printer's character cell.
    const auto across = [this](double mm) {
        switch (m_options.unit) {
        case DesignUnit::Inches:
            return QString::number(mm / 25.4, 'f', 2);
        case DesignUnit::Characters:
            return QString::number(mm / 2.54, 'f', 1);
        case DesignUnit::Mm:
            break;
        }
        return QString::number(mm, 'f', 1);
    };
    const auto down = [this, &across](double mm) {
        return m_options.unit == DesignUnit::Characters ? QString::number(mm * 6 / 25.4, 'f', 1)
                                                        : across(mm);
    };
    const QString unit = m_options.unit == DesignUnit::Inches       ? tr("in")
                         : m_options.unit == DesignUnit::Characters ? tr("chars")
                                                                    : tr("mm");
    QString text = tr("Label %1 x %2 %3   grid %4 mm   zoom %5%")
                       .arg(across(m_layout.labelWidthMm()), down(m_layout.labelHeightMm()), unit)
                       .arg(m_options.gridXMm, 0, 'f', 1)
                       .arg(int(std::lround(m_zoom * 100)));
    if (m_options.gridYMm != m_options.gridXMm)
        text.replace(tr("grid %1 mm").arg(m_options.gridXMm, 0, 'f', 1),
                     tr("grid %1 x %2 mm")
                         .arg(m_options.gridXMm, 0, 'f', 1)
                         .arg(m_options.gridYMm, 0, 'f', 1));
    if (m_selected >= 0) {
        const LayoutElement& e = m_layout.Elements[size_t(m_selected)];
        text += tr("   %1 at %2, %3 %4, %5 x %6 %4")
                    .arg(QString::fromStdString(e.name), across(e.left), down(e.top), unit,
                         across(e.width), down(e.height));
        if (m_selection.size() > 1)
            text += tr("   (%1 selected)").arg(m_selection.size());
    }
    if (isModified())
        text += tr("   modified");
    m_status->setText(text);
}

} // namespace qx7
