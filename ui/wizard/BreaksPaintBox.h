#pragma once
// The field-break editor of a fixed-width log: the sample lines in a fixed font under a
// ruler, with a line at every break. A click sets a break, a double-click on a break
// deletes it, dragging a break moves it. The breaks live in the specification draft.

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

#include <utility>

namespace qx7 {

class TextSpecDraft;

class BreaksPaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit BreaksPaintBox(TextSpecDraft& draft, QWidget* parent = nullptr);

    // The pixel x of the boundary before character `position`, and back.
    int xOfPosition(int position) const;
    int positionAt(int x) const;
    QSize sizeHint() const override;
    // Where the ruler's numbers go (one every ten characters), with their texts; a number
    // that would not fit wholly into the box is left out rather than cut.
    QList<std::pair<QRect, QString>> rulerNumbers() const;

signals:
    void breaksChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int breakNear(int x) const; // the break within a few pixels of x, or -1
    int charWidth() const;
    int lineHeight() const;

    TextSpecDraft& m_draft;
    int m_dragged = -1; // the break being dragged, by its position
    bool m_moved = false;
    bool m_skipRelease = false; // the release that ends a double-click
};

} // namespace qx7
