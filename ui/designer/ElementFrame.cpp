#include "ui/designer/ElementFrame.h"

#include <QCursor>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>

namespace qx7 {

namespace {

// Smallest element a resize leaves, in millimetres.
constexpr double kMinSizeMm = 0.5;

bool movesLeft(ElementFrame::Handle h)
{
    return h == ElementFrame::TopLeft || h == ElementFrame::BottomLeft || h == ElementFrame::Left;
}
bool movesRight(ElementFrame::Handle h)
{
    return h == ElementFrame::TopRight || h == ElementFrame::Right ||
           h == ElementFrame::BottomRight;
}
bool movesTop(ElementFrame::Handle h)
{
    return h == ElementFrame::TopLeft || h == ElementFrame::Top || h == ElementFrame::TopRight;
}
bool movesBottom(ElementFrame::Handle h)
{
    return h == ElementFrame::BottomLeft || h == ElementFrame::Bottom ||
           h == ElementFrame::BottomRight;
}

Qt::CursorShape cursorOf(ElementFrame::Handle h)
{
    switch (h) {
    case ElementFrame::TopLeft:
    case ElementFrame::BottomRight:
        return Qt::SizeFDiagCursor;
    case ElementFrame::TopRight:
    case ElementFrame::BottomLeft:
        return Qt::SizeBDiagCursor;
    case ElementFrame::Top:
    case ElementFrame::Bottom:
        return Qt::SizeVerCursor;
    case ElementFrame::Left:
    case ElementFrame::Right:
        return Qt::SizeHorCursor;
    default:
        return Qt::SizeAllCursor;
    }
}

} // namespace

ElementFrame::ElementFrame(FrameHost& host, int index, const QRectF& rect)
    : QGraphicsRectItem(rect), m_host(host), m_index(index)
{
    setFlag(ItemIsSelectable, false);
    setAcceptHoverEvents(true);
    setSelectedLook(false, false);
}

void ElementFrame::setSelectedLook(bool selected, bool primary)
{
    prepareGeometryChange();
    m_selected = selected;
    if (!selected)
        setPen(m_host.framePen());
    else
        setPen(QPen(QColor(215, 0, 0), 0, primary ? Qt::SolidLine : Qt::DashLine));
    update();
}

double ElementFrame::handleHalf() const
{
    // Four screen pixels whatever the zoom.
    return 4.0 / std::max(m_host.frameZoom(), 0.01);
}

QPointF ElementFrame::handleCentre(Handle h) const
{
    const QRectF r = rect().translated(pos());
    const double midX = r.center().x(), midY = r.center().y();
    const std::array<QPointF, 8> centres = {
        r.topLeft(),     QPointF(midX, r.top()),    r.topRight(),   QPointF(r.right(), midY),
        r.bottomRight(), QPointF(midX, r.bottom()), r.bottomLeft(), QPointF(r.left(), midY)};
    return h == None ? r.center() : centres[size_t(h)];
}

ElementFrame::Handle ElementFrame::handleAt(QPointF scenePos) const
{
    if (!m_selected)
        return None;
    const double half = handleHalf();
    for (int h = TopLeft; h <= Left; ++h) {
        const QPointF c = handleCentre(Handle(h));
        if (std::abs(scenePos.x() - c.x()) <= half && std::abs(scenePos.y() - c.y()) <= half)
            return Handle(h);
    }
    return None;
}

QRectF ElementFrame::boundingRect() const
{
    const double half = handleHalf();
    return rect().adjusted(-half - 1, -half - 1, half + 1, half + 1);
}

QPainterPath ElementFrame::shape() const
{
    QPainterPath path;
    path.addRect(m_selected ? boundingRect() : rect());
    return path;
}

void ElementFrame::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setPen(pen());
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect());
    if (!m_selected)
        return;
    const double half = handleHalf();
    painter->setPen(QPen(Qt::black, 0));
    painter->setBrush(QColor(215, 0, 0));
    for (int h = TopLeft; h <= Left; ++h) {
        const QPointF c = handleCentre(Handle(h)) - pos();
        painter->drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
    }
}

QRectF ElementFrame::resized(QPointF delta) const
{
    const double ppm = kDesignPixelsPerMm;
    const auto snapX = [&](double px) { return m_host.snapXMm(px / ppm) * ppm; };
    const auto snapY = [&](double px) { return m_host.snapYMm(px / ppm) * ppm; };
    const double minSize = kMinSizeMm * ppm;
    QRectF r = m_startRect;
    if (movesLeft(m_dragHandle))
        r.setLeft(std::min(snapX(r.left() + delta.x()), r.right() - minSize));
    if (movesRight(m_dragHandle))
        r.setRight(std::max(snapX(r.right() + delta.x()), r.left() + minSize));
    if (movesTop(m_dragHandle))
        r.setTop(std::min(snapY(r.top() + delta.y()), r.bottom() - minSize));
    if (movesBottom(m_dragHandle))
        r.setBottom(std::max(snapY(r.bottom() + delta.y()), r.top() + minSize));
    return r;
}

void ElementFrame::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragHandle = handleAt(event->scenePos());
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    if (m_dragHandle == None)
        m_host.framePressed(m_index, extend);
    m_dragging = !extend || m_dragHandle != None;
    m_pressPos = event->scenePos();
    m_startRect = rect();
    event->accept();
}

void ElementFrame::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPointF delta = event->scenePos() - m_pressPos;
    if (m_dragHandle == None) {
        setPos(delta);
    } else {
        prepareGeometryChange();
        setRect(resized(delta));
    }
}

void ElementFrame::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    const QPointF delta = event->scenePos() - m_pressPos;
    if (m_dragHandle != None) {
        const QRectF r = resized(delta);
        if (r != m_startRect)
            m_host.frameResized(
                m_index, QRectF(r.topLeft() / kDesignPixelsPerMm, r.size() / kDesignPixelsPerMm));
    } else if (!delta.isNull()) {
        m_host.frameMoved(m_index, (m_startRect.topLeft() + delta) / kDesignPixelsPerMm);
    }
    m_dragHandle = None;
}

void ElementFrame::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_host.frameDoubleClicked(m_index);
}

void ElementFrame::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    setCursor(cursorOf(handleAt(event->scenePos())));
}

} // namespace qx7
