#pragma once
// Draws labels of one layout onto any QPainter: the printer, a PDF file, preview
// pictures. The painter works in device pixels; `pixelsPerMm` says how many there
// are to a millimetre, and fonts take their size from the device's resolution.
// Everything that does not change from label to label (fonts, parsed expressions,
// pictures) is prepared once.

#include "labels/Expression.h"
#include "labels/LabelLayout.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRectF>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace qx7 {

class LabelRenderer
{
public:
    // Relative picture file names are found in `imageFolder` (the layout's folder).
    LabelRenderer(const LabelLayout& layout, std::string imageFolder);
    ~LabelRenderer();

    // Draws one label whose top left corner is at `originMm` on the page; true when
    // some text landed on the label (a label of blank texts is not a printed label).
    // The names of the elements whose text did not fit (a long call in a narrow field)
    // go into `cut` when one is given.
    bool drawLabel(QPainter& painter, double pixelsPerMm, QPointF originMm,
                   const LabelRecord& record, const ExpressionContext& ctx,
                   std::vector<std::string>* cut = nullptr) const;

    // Pictures that could not be read (file name: reason), for the caller to report.
    const std::vector<std::string>& imageProblems() const { return m_imageProblems; }
    // Expressions that could not be read and print nothing (element name: reason).
    const std::vector<std::string>& expressionProblems() const { return m_expressionProblems; }

private:
    struct Prepared
    {
        const LayoutElement* element = nullptr;
        QFont font;
        QColor textColor;
        int alignFlags = 0;
        std::optional<Expression> expression;
        QImage image;
        // Metrics for the device being drawn on, made on first use.
        mutable std::shared_ptr<QFontMetricsF> metrics;
        mutable const QPaintDevice* metricsDevice = nullptr;
    };

    const QFontMetricsF& metricsFor(const Prepared& p, const QPaintDevice* device) const;

    std::string textOf(const Prepared& p, const LabelRecord& record,
                       const ExpressionContext& ctx) const;
    bool drawText(QPainter& painter, const Prepared& p, QRectF rect, const QRectF& band,
                  double pixelsPerMm, const std::string& text, bool* cut) const;
    void drawShape(QPainter& painter, const Prepared& p, QRectF rect, double pixelsPerMm) const;
    void drawImage(QPainter& painter, const Prepared& p, QRectF rect, double pixelsPerMm) const;
    void loadImage(Prepared& p, const std::string& folder);

    const LabelLayout& m_layout;
    std::vector<Prepared> m_elements;
    std::vector<std::string> m_imageProblems;
    std::vector<std::string> m_expressionProblems;
};

// The picture of an image element (a relative name is found in `folder`); a null image
// with the reason in `error` when it cannot be read.
QImage loadLayoutPicture(const std::string& name, const std::string& folder, std::string* error);
// A colour of the layout as Qt's colour.
QColor toQColor(const Color& c);
// Frame edges inside `rect` (device pixels).
void drawFrame(QPainter& painter, const Frame& frame, const QRectF& rect, double pixelsPerMm);

} // namespace qx7
