#include "labels/render/LabelRenderer.h"

#include "labels/render/JpegReader.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace qx7 {

namespace {

// Pen and frame widths are given in screen pixels of 1/96 inch.
constexpr double kMmPerScreenPixel = 25.4 / 96.0;

Qt::PenStyle qtPenStyle(PenStyle s)
{
    switch (s) {
    case PenStyle::Solid:
    case PenStyle::InsideFrame:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Clear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

Qt::PenStyle qtFrameStyle(FrameStyle s)
{
    switch (s) {
    case FrameStyle::Solid:
    case FrameStyle::InsideFrame:
        return Qt::SolidLine;
    case FrameStyle::Dashed:
        return Qt::DashLine;
    case FrameStyle::Dot:
        return Qt::DotLine;
    case FrameStyle::DashDot:
        return Qt::DashDotLine;
    case FrameStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case FrameStyle::HiddenMark:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle qtBrushStyle(BrushStyle s)
{
    switch (s) {
    case BrushStyle::Solid:
        return Qt::SolidPattern;
    case BrushStyle::Clear:
        return Qt::NoBrush;
    case BrushStyle::Horizontal:
        return Qt::HorPattern;
    case BrushStyle::Vertical:
        return Qt::VerPattern;
    case BrushStyle::FDiagonal:
        return Qt::FDiagPattern;
    case BrushStyle::BDiagonal:
        return Qt::BDiagPattern;
    case BrushStyle::Cross:
        return Qt::CrossPattern;
    case BrushStyle::DiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::NoBrush;
}

// Raster operations exist only on pixel devices; PDF and printers draw plainly.
QPainter::CompositionMode compositionFor(PenMode m, const QPainter& painter)
{
    if (painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::Raster)
        return QPainter::CompositionMode_SourceOver;
    switch (m) {
    case PenMode::Not:
        return QPainter::RasterOp_NotDestination;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case PenMode::NotCopy:
        return QPainter::RasterOp_NotSource;
    case PenMode::Merge:
        return QPainter::RasterOp_SourceOrDestination;
    case PenMode::Mask:
        return QPainter::RasterOp_SourceAndDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

QFont toQFont(const FontSpec& f)
{
    QFont font(QString::fromStdString(f.family));
    font.setPointSizeF(f.pointSize > 0 ? f.pointSize : 10.0);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

bool isAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

std::string lowerExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return ext;
}

} // namespace

QColor toQColor(const Color& c)
{
    return QColor(c.red(), c.green(), c.blue());
}

void drawFrame(QPainter& painter, const Frame& frame, const QRectF& rect, double pixelsPerMm)
{
    if (!frame.any() || frame.width <= 0 || frame.style == FrameStyle::HiddenMark)
        return;
    const double w = frame.width * kMmPerScreenPixel * pixelsPerMm;
    QPen pen(toQColor(frame.color), w, qtFrameStyle(frame.style), Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Lines lie inside the rectangle, so the frame never reaches a neighbouring label.
    const QRectF r = rect.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    if (frame.top)
        painter.drawLine(r.topLeft(), r.topRight());
    if (frame.bottom)
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    if (frame.left)
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (frame.right)
        painter.drawLine(r.topRight(), r.bottomRight());
}

LabelRenderer::LabelRenderer(const LabelLayout& layout, std::string imageFolder) : m_layout(layout)
{
    if (!imageFolder.empty() && imageFolder.back() != '/')
        imageFolder += '/';
    m_elements.reserve(layout.Elements.size());
    for (const LayoutElement& e : layout.Elements) {
        Prepared p;
        p.element = &e;
        p.font = toQFont(e.font);
        p.textColor = toQColor(e.font.color);
        p.alignFlags = Qt::AlignTop | (e.alignment == TextAlignment::Right      ? Qt::AlignRight
                                       : e.alignment == TextAlignment::Centered ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft);
        if (e.wordWrap)
            p.alignFlags |= Qt::TextWordWrap;
        if (e.kind == ElementKind::Expression) {
            p.expression.emplace(e.expression);
            if (!p.expression->parsed())
                m_expressionProblems.push_back(e.name + ": " + p.expression->problem());
        }
        if (e.kind == ElementKind::Image)
            loadImage(p, imageFolder);
        m_elements.push_back(std::move(p));
    }
}

LabelRenderer::~LabelRenderer() = default;

void LabelRenderer::loadImage(Prepared& p, const std::string& folder)
{
    const std::string& name = p.element->imageFile;
    if (name.empty())
        return;
    std::string error;
    p.image = loadLayoutPicture(name, folder, &error);
    if (p.image.isNull())
        m_imageProblems.push_back(error);
}

QImage loadLayoutPicture(const std::string& name, const std::string& folder, std::string* error)
{
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    const std::string path = isAbsolute(name) ? name : dir + name;
    const std::string ext = lowerExtension(path);
    std::string why;
    QImage image;
    if (ext == "jpg" || ext == "jpeg")
        image = readJpeg(path, &why);
    else if (!image.load(QString::fromStdString(path)))
        why = path + ": not a picture this program can read";
    if (image.isNull() && error)
        *error = why.empty() ? path : why;
    return image;
}

std::string LabelRenderer::textOf(const Prepared& p, const LabelRecord& record,
                                  const ExpressionContext& ctx) const
{
    const LayoutElement& e = *p.element;
    switch (e.kind) {
    case ElementKind::Text:
        return e.caption;
    case ElementKind::DataField:
        return record.value(e.dataField);
    case ElementKind::Expression:
        return p.expression->evaluateText(ctx);
    case ElementKind::Memo: {
        std::string text;
        for (size_t i = 0; i < e.lines.size(); ++i)
            text += (i ? "\n" : "") + e.lines[i];
        return text;
    }
    default:
        return {};
    }
}

const QFontMetricsF& LabelRenderer::metricsFor(const Prepared& p, const QPaintDevice* device) const
{
    if (!p.metrics || p.metricsDevice != device) {
        p.metrics = std::make_shared<QFontMetricsF>(p.font, const_cast<QPaintDevice*>(device));
        p.metricsDevice = device;
    }
    return *p.metrics;
}

bool LabelRenderer::drawLabel(QPainter& painter, double pixelsPerMm, QPointF originMm,
                              const LabelRecord& record, const ExpressionContext& ctx,
                              std::vector<std::string>* cut) const
{
    const QRectF band(originMm.x() * pixelsPerMm, originMm.y() * pixelsPerMm,
                      m_layout.labelWidthMm() * pixelsPerMm,
                      m_layout.labelHeightMm() * pixelsPerMm);
    if (m_layout.Band.background.rgb != 0xFFFFFF)
        painter.fillRect(band, toQColor(m_layout.Band.background));
    bool wroteText = false;
    for (const Prepared& p : m_elements) {
        const LayoutElement& e = *p.element;
        const QRectF rect(band.left() + e.left * pixelsPerMm, band.top() + e.top * pixelsPerMm,
                          e.width * pixelsPerMm, e.height * pixelsPerMm);
        if (e.isTextKind()) {
            bool cutOff = false;
            wroteText = drawText(painter, p, rect, band, pixelsPerMm, textOf(p, record, ctx),
                                 cut ? &cutOff : nullptr) ||
                        wroteText;
            if (cutOff)
                cut->push_back(e.name);
            continue;
        }
        // Nothing may spill onto the neighbouring labels.
        const bool clip = !band.contains(rect);
        if (clip) {
            painter.save();
            painter.setClipRect(band, Qt::IntersectClip);
        }
        if (e.kind == ElementKind::Shape)
            drawShape(painter, p, rect, pixelsPerMm);
        else
            drawImage(painter, p, rect, pixelsPerMm);
        if (clip)
            painter.restore();
    }
    drawFrame(painter, m_layout.Band.frame, band, pixelsPerMm);
    return wroteText;
}

bool LabelRenderer::drawText(QPainter& painter, const Prepared& p, QRectF rect, const QRectF& band,
                             double pixelsPerMm, const std::string& utf8, bool* cut) const
{
    const LayoutElement& e = *p.element;
    const QString text = QString::fromStdString(utf8);
    const double angle = e.rotation / 10.0;
    const double radians = angle * M_PI / 180.0;
    const bool upright = std::abs(std::sin(radians)) > std::abs(std::cos(radians));
    // Rotated text is laid out in the element's box turned with it.
    QRectF box(0, 0, upright ? rect.height() : rect.width(),
               upright ? rect.width() : rect.height());
    const QFontMetricsF& fm = metricsFor(p, painter.device());
    if (e.autoSize || e.autoStretch) {
        const QRectF need = fm.boundingRect(QRectF(0, 0, box.width(), 1e6), p.alignFlags, text);
        if (e.autoSize && !e.wordWrap) {
            const double grow = need.width() - box.width();
            box.setWidth(need.width());
            if (!upright && e.alignment == TextAlignment::Right)
                rect.adjust(-grow, 0, 0, 0);
            else if (!upright && e.alignment == TextAlignment::Centered)
                rect.adjust(-grow / 2, 0, grow / 2, 0);
            else if (!upright)
                rect.setWidth(need.width());
        }
        if (e.autoStretch && need.height() > box.height()) {
            box.setHeight(need.height());
            if (!upright)
                rect.setHeight(need.height());
        }
    }
    if (!e.transparent)
        painter.fillRect(rect & band, toQColor(e.background));
    // Text is cut at its element and at the label's edge. Most texts fit, and
    // leaving their clipping out keeps PDF files small and quick to write.
    const bool fits = angle == 0 && !e.wordWrap && !text.contains(QLatin1Char('\n')) &&
                      fm.horizontalAdvance(text) <= rect.width() + 0.5 &&
                      fm.height() <= rect.height() + 0.5 && band.contains(rect);
    painter.setFont(p.font);
    painter.setPen(p.textColor);
    if (fits) {
        painter.drawText(rect, p.alignFlags, text);
    } else {
        if (cut && !text.trimmed().isEmpty()) {
            // The text as laid out against what is shown of its box: half a pixel of
            // rounding aside, anything beyond is lost on the paper.
            // Turned text is measured in its own turned box.
            const QRectF laid = angle == 0 ? rect : box;
            const QRectF shown = (angle == 0 ? rect & band : box).adjusted(-0.5, -0.5, 0.5, 0.5);
            *cut = !shown.contains(fm.boundingRect(laid, p.alignFlags, text));
        }
        painter.save();
        painter.setClipRect(rect & band, Qt::IntersectClip);
        if (angle == 0) {
            painter.drawText(rect, p.alignFlags, text);
        } else {
            painter.translate(rect.center());
            painter.rotate(-angle);
            box.moveCenter(QPointF(0, 0));
            painter.drawText(box, p.alignFlags, text);
        }
        painter.restore();
    }
    drawFrame(painter, e.frame, rect & band, pixelsPerMm);
    const QRectF shown = rect & band;
    return !text.trimmed().isEmpty() && shown.width() > 0 && shown.height() > 0;
}

void LabelRenderer::drawShape(QPainter& painter, const Prepared& p, QRectF rect,
                              double pixelsPerMm) const
{
    const LayoutElement& e = *p.element;
    const double w = std::max(e.penWidth, 1) * kMmPerScreenPixel * pixelsPerMm;
    painter.save();
    painter.setCompositionMode(compositionFor(e.penMode, painter));
    painter.setPen(QPen(toQColor(e.penColor), w, qtPenStyle(e.penStyle), Qt::FlatCap));
    painter.setBrush(QBrush(toQColor(e.brushColor), qtBrushStyle(e.brushStyle)));
    // Keep the whole line inside the element, as a frame drawn inside it.
    const QRectF r = rect.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    switch (e.shape) {
    case ShapeKind::Rectangle:
        painter.drawRect(r);
        break;
    case ShapeKind::Circle:
        painter.drawEllipse(r);
        break;
    case ShapeKind::VerticalLine:
        painter.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
        break;
    case ShapeKind::HorizontalLine:
        painter.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        break;
    case ShapeKind::TopAndBottom:
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        break;
    case ShapeKind::LeftAndRight:
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.drawLine(r.topRight(), r.bottomRight());
        break;
    }
    painter.restore();
}

void LabelRenderer::drawImage(QPainter& painter, const Prepared& p, QRectF rect,
                              double pixelsPerMm) const
{
    const LayoutElement& e = *p.element;
    if (!p.image.isNull()) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        QRectF target = rect;
        if (!e.stretch) {
            // The picture's own size: its resolution when it says, else a screen's.
            const double dpmX = p.image.dotsPerMeterX() > 0 ? p.image.dotsPerMeterX() : 3780;
            const double dpmY = p.image.dotsPerMeterY() > 0 ? p.image.dotsPerMeterY() : 3780;
            target.setSize(QSizeF(p.image.width() * 1000.0 / dpmX * pixelsPerMm,
                                  p.image.height() * 1000.0 / dpmY * pixelsPerMm));
            if (e.center)
                target.moveCenter(rect.center());
        }
        painter.drawImage(target, p.image);
        painter.restore();
    }
    drawFrame(painter, e.frame, rect, pixelsPerMm);
}

} // namespace qx7
