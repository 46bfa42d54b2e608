#include "ui/wizard/BreaksPaintBox.h"

#include "convert/specs/TextSpecDraft.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace qx7 {

namespace {

constexpr int kMargin = 6;
constexpr int kRuler = 22;
constexpr int kGrip = 3;

} // namespace

BreaksPaintBox::BreaksPaintBox(TextSpecDraft& draft, QWidget* parent)
    : QWidget(parent), m_draft(draft)
{
    setObjectName(QStringLiteral("BreaksPaintBox"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

int BreaksPaintBox::charWidth() const
{
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

int BreaksPaintBox::lineHeight() const
{
    return fontMetrics().height();
}

int BreaksPaintBox::xOfPosition(int position) const
{
    return kMargin + position * charWidth();
}

int BreaksPaintBox::positionAt(int x) const
{
    const int cw = charWidth();
    return std::max(0, (x - kMargin + cw / 2) / cw);
}

QSize BreaksPaintBox::sizeHint() const
{
    size_t longest = 0;
    for (const std::string& line : m_draft.sample())
        longest = std::max(longest, line.size());
    return {xOfPosition(static_cast<int>(longest) + 2) + kMargin,
            kRuler + lineHeight() * static_cast<int>(m_draft.sample().size()) + kMargin};
}

int BreaksPaintBox::breakNear(int x) const
{
    for (int b : m_draft.breaks())
        if (std::abs(xOfPosition(b) - x) <= kGrip)
            return b;
    return -1;
}

QList<std::pair<QRect, QString>> BreaksPaintBox::rulerNumbers() const
{
    QList<std::pair<QRect, QString>> numbers;
    const QFontMetrics fm = fontMetrics();
    const int baseline = kRuler - 9;
    for (int pos = 10; xOfPosition(pos) < width(); pos += 10) {
        const QString text = QString::number(pos);
        const QRect at(xOfPosition(pos) + 2, baseline - fm.ascent(), fm.horizontalAdvance(text),
                       fm.height());
        if (at.right() < width())
            numbers.append({at, text});
    }
    return numbers;
}

void BreaksPaintBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // Ruler: a tick per character, a number every ten.
    p.setPen(palette().color(QPalette::Text));
    for (int pos = 0; xOfPosition(pos) < width(); ++pos) {
        const int x = xOfPosition(pos);
        const int tick = pos % 10 == 0 ? 8 : pos % 5 == 0 ? 5 : 2;
        p.drawLine(x, kRuler - tick, x, kRuler);
    }
    for (const auto& [at, text] : rulerNumbers())
        p.drawText(at.left(), kRuler - 9, text);
    p.drawLine(kMargin, kRuler, width(), kRuler);
    int y = kRuler + fontMetrics().ascent();
    for (const std::string& line : m_draft.sample()) {
        const QString text = QString::fromStdString(line);
        for (int i = 0; i < text.size(); ++i)
            p.drawText(xOfPosition(i), y, QString(text[i]));
        y += lineHeight();
    }
    for (int b : m_draft.breaks()) {
        const int x = xOfPosition(b);
        p.setPen(QPen(b == m_dragged ? Qt::red : Qt::blue, 1));
        p.drawLine(x, kRuler - 10, x, height());
        p.setBrush(b == m_dragged ? Qt::red : Qt::blue);
        p.drawPolygon(QPolygon(
            {QPoint(x - 4, kRuler - 10), QPoint(x + 4, kRuler - 10), QPoint(x, kRuler - 4)}));
    }
}

void BreaksPaintBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragged = breakNear(event->position().toPoint().x());
    m_moved = false;
    m_skipRelease = false;
    update();
}

void BreaksPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    setCursor(m_dragged >= 0 || breakNear(x) >= 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
    if (m_dragged < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const int to = positionAt(x);
    if (to != m_dragged && m_draft.moveBreak(m_dragged, to)) {
        m_dragged = to;
        m_moved = true;
        update();
        emit breaksChanged();
    }
}

void BreaksPaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || std::exchange(m_skipRelease, false)) {
        m_dragged = -1;
        return;
    }
    // A click away from every break makes a new one.
    if (m_dragged < 0 && m_draft.addBreak(positionAt(event->position().toPoint().x())))
        emit breaksChanged();
    m_dragged = -1;
    update();
}

void BreaksPaintBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of the pair has set a break here; both go.
    const int at = breakNear(event->position().toPoint().x());
    if (at >= 0 && m_draft.removeBreak(at))
        emit breaksChanged();
    m_dragged = -1;
    m_skipRelease = true;
    update();
}

} // namespace qx7
