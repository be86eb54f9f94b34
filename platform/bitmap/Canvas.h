#pragma once
// Drawing primitives on a canvas image.

#include <QColor>
#include <QImage>
#include <QRect>

namespace platform {

// A rectangle from (left, top) to (right, bottom), right and bottom exclusive: a black one-pixel outline,
// the inside filled with `brush`. Drawing is clipped to the canvas.
void Rectangle(QImage& canvas, int left, int top, int right, int bottom, QColor brush);

// Copies `source` (within the source image) onto `dest` (right and bottom exclusive) on the canvas,
// stretching or shrinking as the two sizes require. Drawing is clipped to the canvas.
void CopyRect(QImage& canvas, const QRect& dest, const QImage& image, const QRect& source);

} // namespace platform
