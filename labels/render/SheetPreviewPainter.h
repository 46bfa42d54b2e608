#pragma once
// Paints the wizard's sheet picture (see labels/SheetPreview.h) with QPainter.

#include "labels/SheetPreview.h"

#include <QImage>

#include <vector>

class QPainter;

namespace qx7 {

void paintSheetPreview(QPainter& painter, const std::vector<PreviewStep>& steps);
QImage sheetPreviewImage(const SheetGeometry& sheet, int width = 160, int height = 180);

} // namespace qx7
