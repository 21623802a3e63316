// Painting a drawing with Qt: on a window, or on an image for a PNG file.
#pragma once

#include <string>

#include "platform/Drawing.h"

class QPainter;

namespace rh::qt {

// Paints `drawing` with `painter`, whose coordinates are the drawing's pixels times `scale` (for a
// device finer than the drawing, such as a PDF page drawn in points at 1200 dots per inch).
void PaintDrawing(QPainter& painter, const Drawing& drawing, double scale = 1);

// The drawing rasterized at its own size and encoded as PNG. Needs a QGuiApplication (fonts).
// FileFault when it cannot be encoded.
std::string DrawingPng(const Drawing& drawing);

}  // namespace rh::qt
