#pragma once
// The frame the designer lays over an element: a click selects it (Shift adds to the
// selection), a drag moves it, the eight handles of a selected frame resize it, a
// double click asks for its properties. The frame only shows the change while the
// mouse is down; the designer makes it one undoable step when the button is released.

#include <QGraphicsRectItem>
#include <QPen>

namespace qx7 {

// Scene pixels per millimetre of the label at zoom 1.
inline constexpr double kDesignPixelsPerMm = 6.0;

class FrameHost
{
public:
    virtual ~FrameHost() = default;
    virtual void framePressed(int index, bool extend) = 0;
    virtual void frameMoved(int index, QPointF topLeftMm) = 0;
    virtual void frameResized(int index, QRectF rectMm) = 0;
    virtual void frameDoubleClicked(int index) = 0;
    // The view's zoom (handles keep their size on the screen) and the grid snap.
    virtual double frameZoom() const = 0;
    virtual double snapXMm(double mm) const = 0;
    virtual double snapYMm(double mm) const = 0;
    // How a frame that is not selected is drawn (Qt::NoPen: not at all).
    virtual QPen framePen() const = 0;
};

class ElementFrame : public QGraphicsRectItem
{
public:
    // Handles clockwise from the top left corner.
    enum Handle
    {
        None = -1,
        TopLeft,
        Top,
        TopRight,
        Right,
        BottomRight,
        Bottom,
        BottomLeft,
        Left
    };

    ElementFrame(FrameHost& host, int index, const QRectF& rect);

    int index() const { return m_index; }
    void setSelectedLook(bool selected, bool primary);
    // The handle under a point of the scene, or None.
    Handle handleAt(QPointF scenePos) const;
    // Where a handle's square is centred, in scene coordinates.
    QPointF handleCentre(Handle h) const;

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    double handleHalf() const;
    QRectF resized(QPointF delta) const;

    FrameHost& m_host;
    int m_index;
    bool m_selected = false;
    Handle m_dragHandle = None;
    bool m_dragging = false;
    QPointF m_pressPos;
    QRectF m_startRect;
};

} // namespace qx7
