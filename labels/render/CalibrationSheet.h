#pragma once
// The test sheet a printer is calibrated with: millimetre rulers along the top and
// left edges (a long tick every 10 mm, numbered) and the outline of every label of the
// layout's sheet. Printed as the layout asks, without any calibration, so that what the
// user measures on it is the printer's own error.

#include "labels/LabelLayout.h"

#include <string>

class QPainter;

namespace qx7 {

// Draws the sheet with the paper's corner at the painter's origin.
void drawCalibrationSheet(QPainter& painter, double pixelsPerMm, const LabelLayout& layout);

// Prints one test sheet on `printer` (empty: the default printer) and waits for the
// spooler to finish it. Returns the message when it did not print.
std::string printCalibrationSheet(const LabelLayout& layout, const std::string& printer);

} // namespace qx7
