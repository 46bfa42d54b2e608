#include "ui/designer/TQXDesigner.h"

#include "labels/QxdFile.h"
#include "labels/render/LabelRenderer.h"
#include "ui/designer/TQXDesOptionsForm.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoCommand>
#include <QUndoStack>

#include <cmath>

namespace qx7 {

namespace {
constexpr double kPixelsPerMm = 6.0; // at zoom 1
} // namespace

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

// The frame over an element: selects it on a click, moves it on a drag.
class TQXDesigner::Frame : public QGraphicsRectItem
{
public:
    Frame(TQXDesigner& d, int index, const QRectF& rect)
        : QGraphicsRectItem(rect), m_d(d), m_index(index)
    {
        setFlags(ItemIsMovable | ItemIsSelectable);
        setPen(QPen(QColor(0, 120, 215), 0, Qt::DashLine));
    }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override
    {
        m_d.m_selected = m_index;
        QGraphicsRectItem::mousePressEvent(event);
    }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override
    {
        QGraphicsRectItem::mouseReleaseEvent(event);
        if (pos() != QPointF()) {
            const QPointF topLeft = (rect().topLeft() + pos()) / kPixelsPerMm;
            m_d.elementDragged(m_index, topLeft);
        }
    }

private:
    TQXDesigner& m_d;
    int m_index;
};

TQXDesigner::TQXDesigner(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TQXDesigner"));
    setWindowTitle(tr("Label Designer"));
    m_scene = new QGraphicsScene(this);
    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("designerView"));
    m_view->setBackgroundBrush(QColor(160, 160, 160));
    m_view->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(m_view);
    m_undo = new QUndoStack(this);
    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    QAction* undo = m_undo->createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_undo->createRedoAction(this, tr("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    QAction* addText = edit->addAction(tr("Add &text"), this, [this] { addTextElement("Text"); });
    addText->setObjectName(QStringLiteral("addTextAction"));
    QAction* del = edit->addAction(tr("&Delete"), this, [this] { deleteSelected(); });
    del->setShortcut(QKeySequence::Delete);
    QAction* zoomIn = viewMenu->addAction(tr("Zoom &in"), this, [this] { setZoom(m_zoom * 1.25); });
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction* zoomOut =
        viewMenu->addAction(tr("Zoom &out"), this, [this] { setZoom(m_zoom / 1.25); });
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    QAction* snap = viewMenu->addAction(tr("&Snap to grid"));
    snap->setCheckable(true);
    snap->setChecked(m_snap);
    connect(snap, &QAction::toggled, this, [this](bool on) { m_snap = on; });
    viewMenu->addAction(tr("&Options..."), this, [this, snap] {
        TQXDesOptionsForm options(m_gridMm, m_snap, this);
        if (options.exec() != QDialog::Accepted)
            return;
        snap->setChecked(options.snap());
        setGridMm(options.gridMm());
    });
    QAction* open = file->addAction(tr("&Open..."), this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Open Label Layout"), QFileInfo(QString::fromStdString(m_file)).absolutePath(),
            tr("Label layouts (*.qxd)"));
        if (path.isEmpty())
            return;
        const std::string error = openLayout(path.toStdString());
        if (!error.empty())
            QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
    });
    open->setShortcut(QKeySequence::Open);
    QAction* save = file->addAction(tr("&Save"), this, [this] {
        const std::string error =
            m_file.empty() ? std::string("no file name") : saveLayoutAs(m_file);
        if (!error.empty())
            QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
    });
    save->setShortcut(QKeySequence::Save);
    file->addAction(tr("Save &as..."), this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save Label Layout"),
                                                          QString::fromStdString(m_file),
                                                          tr("Label layouts (*.qxd)"));
        if (path.isEmpty())
            return;
        const std::string error = saveLayoutAs(path.toStdString());
        if (!error.empty())
            QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
    });
    file->addSeparator();
    file->addAction(tr("&Close"), this, &QWidget::close);

    QToolBar* bar = addToolBar(tr("Designer"));
    bar->addAction(undo);
    bar->addAction(redo);
    bar->addAction(addText);
    bar->addAction(del);
    bar->addAction(zoomIn);
    bar->addAction(zoomOut);
    connect(m_undo, &QUndoStack::indexChanged, this, [this] { updateStatus(); });
    resize(900, 600);
    rebuildScene();
}

TQXDesigner::~TQXDesigner()
{
    // The stack empties itself as it goes and says so; the layout is gone by then.
    m_undo->disconnect(this);
}

std::string TQXDesigner::openLayout(const std::string& path)
{
    LabelLayout loaded;
    std::string error;
    if (!openLayoutFile(path, loaded, &error))
        return error.empty() ? "cannot read " + path : error;
    m_file = path;
    m_undo->clear();
    m_selected = -1;
    setLayoutQuietly(loaded);
    setWindowTitle(
        tr("Label Designer - %1").arg(QFileInfo(QString::fromStdString(path)).fileName()));
    return {};
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
    emit layoutSaved(QString::fromStdString(path));
    return {};
}

void TQXDesigner::selectElement(int index)
{
    m_selected = index >= 0 && index < int(m_layout.Elements.size()) ? index : -1;
    rebuildScene();
}

void TQXDesigner::changeLayout(const LabelLayout& after, const QString& what)
{
    m_undo->push(new Snapshot(*this, m_layout, after, what));
}

void TQXDesigner::addTextElement(const std::string& caption)
{
    LabelLayout after = m_layout;
    LayoutElement e;
    e.kind = ElementKind::Text;
    int n = 1;
    while (after.findElement("QRLabel" + std::to_string(n)))
        ++n;
    e.name = "QRLabel" + std::to_string(n);
    e.caption = caption;
    e.left = snapped(2);
    e.top = snapped(2);
    e.width = 20;
    e.height = 5;
    e.font.family = "Arial";
    e.font.pointSize = 8;
    after.Elements.push_back(e);
    m_selected = int(after.Elements.size()) - 1;
    changeLayout(after, tr("Add %1").arg(QString::fromStdString(e.name)));
}

void TQXDesigner::moveSelected(double dxMm, double dyMm)
{
    if (m_selected < 0)
        return;
    LabelLayout after = m_layout;
    LayoutElement& e = after.Elements[size_t(m_selected)];
    e.left = std::max(0.0, e.left + dxMm);
    e.top = std::max(0.0, e.top + dyMm);
    changeLayout(after, tr("Move %1").arg(QString::fromStdString(e.name)));
}

void TQXDesigner::deleteSelected()
{
    if (m_selected < 0)
        return;
    LabelLayout after = m_layout;
    const std::string name = after.Elements[size_t(m_selected)].name;
    after.Elements.erase(after.Elements.begin() + m_selected);
    m_selected = -1;
    changeLayout(after, tr("Delete %1").arg(QString::fromStdString(name)));
}

void TQXDesigner::setGridMm(double mm)
{
    m_gridMm = std::clamp(mm, 0.1, 20.0);
    rebuildScene();
}

void TQXDesigner::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.25, 8.0);
    m_view->resetTransform();
    m_view->scale(m_zoom, m_zoom);
    updateStatus();
}

void TQXDesigner::elementDragged(int index, QPointF newTopLeftMm)
{
    if (index < 0 || index >= int(m_layout.Elements.size()))
        return;
    LabelLayout after = m_layout;
    LayoutElement& e = after.Elements[size_t(index)];
    e.left = std::max(0.0, snapped(newTopLeftMm.x()));
    e.top = std::max(0.0, snapped(newTopLeftMm.y()));
    m_selected = index;
    // Rebuilding the scene deletes the frame being released: after its event.
    QMetaObject::invokeMethod(
        this,
        [this, after, name = e.name] {
            changeLayout(after, tr("Move %1").arg(QString::fromStdString(name)));
        },
        Qt::QueuedConnection);
}

void TQXDesigner::keyPressEvent(QKeyEvent* event)
{
    // Arrows move by the grid step, with Ctrl by a tenth of a millimetre.
    const double step = event->modifiers() & Qt::ControlModifier ? 0.1 : m_gridMm;
    switch (event->key()) {
    case Qt::Key_Left:
        moveSelected(-step, 0);
        return;
    case Qt::Key_Right:
        moveSelected(step, 0);
        return;
    case Qt::Key_Up:
        moveSelected(0, -step);
        return;
    case Qt::Key_Down:
        moveSelected(0, step);
        return;
    case Qt::Key_Tab:
        if (!m_layout.Elements.empty())
            selectElement((m_selected + 1) % int(m_layout.Elements.size()));
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

bool TQXDesigner::focusNextPrevChild(bool /*next*/)
{
    return false;
}

void TQXDesigner::setLayoutQuietly(const LabelLayout& layout)
{
    m_layout = layout;
    if (m_selected >= int(m_layout.Elements.size()))
        m_selected = -1;
    rebuildScene();
}

double TQXDesigner::snapped(double mm) const
{
    if (!m_snap)
        return mm;
    return std::round(mm / m_gridMm) * m_gridMm;
}

void TQXDesigner::rebuildScene()
{
    m_scene->clear();
    const double w = m_layout.labelWidthMm(), h = m_layout.labelHeightMm();
    const QSize size(std::max(1, int(std::ceil(w * kPixelsPerMm))),
                     std::max(1, int(std::ceil(h * kPixelsPerMm))));
    QImage label(size, QImage::Format_RGB32);
    label.fill(Qt::white);
    {
        QPainter painter(&label);
        painter.setRenderHint(QPainter::Antialiasing);
        // Grid dots first, the label drawn over them as it will print.
        painter.setPen(QColor(200, 200, 200));
        for (double x = 0; x < w; x += m_gridMm)
            for (double y = 0; y < h; y += m_gridMm)
                painter.drawPoint(QPointF(x * kPixelsPerMm, y * kPixelsPerMm));
        // At design time a data field shows its field name.
        LabelRecord design;
        for (const LayoutElement& e : m_layout.Elements)
            if (!e.dataField.empty())
                design.set(e.dataField, e.dataField);
        const LabelRenderer renderer(
            m_layout, QFileInfo(QString::fromStdString(m_file)).absolutePath().toStdString());
        ExpressionContext ctx;
        ctx.record = &design;
        renderer.drawLabel(painter, kPixelsPerMm, QPointF(0, 0), design, ctx);
    }
    m_scene->addPixmap(QPixmap::fromImage(label));
    for (size_t i = 0; i < m_layout.Elements.size(); ++i) {
        const LayoutElement& e = m_layout.Elements[i];
        auto* frame = new Frame(*this, int(i),
                                QRectF(e.left * kPixelsPerMm, e.top * kPixelsPerMm,
                                       e.width * kPixelsPerMm, e.height * kPixelsPerMm));
        if (int(i) == m_selected)
            frame->setPen(QPen(QColor(215, 0, 0), 0, Qt::SolidLine));
        m_scene->addItem(frame);
    }
    m_scene->setSceneRect(-10, -10, size.width() + 20, size.height() + 20);
    updateStatus();
}

void TQXDesigner::updateStatus()
{
    QString text = tr("Label %1 x %2 mm   grid %3 mm   zoom %4%")
                       .arg(m_layout.labelWidthMm(), 0, 'f', 1)
                       .arg(m_layout.labelHeightMm(), 0, 'f', 1)
                       .arg(m_gridMm, 0, 'f', 1)
                       .arg(int(std::lround(m_zoom * 100)));
    if (m_selected >= 0) {
        const LayoutElement& e = m_layout.Elements[size_t(m_selected)];
        text += tr("   %1 at %2, %3 mm")
                    .arg(QString::fromStdString(e.name))
                    .arg(e.left, 0, 'f', 1)
                    .arg(e.top, 0, 'f', 1);
    }
    m_status->setText(text);
}

} // namespace qx7
