#include "platform/bitmap/Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

bool Direct(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

QRgb PixelOf(const QImage& canvas, const QColor& colour) {
    switch (canvas.format()) {
    case QImage::Format_RGB32:
        return colour.rgb() | 0xFF000000u;
    case QImage::Format_ARGB32_Premultiplied:
        return qPremultiply(colour.rgba());
    default:
        return colour.rgba();
    }
}

// Fills [x0, x1) x [y0, y1), clipped to the canvas. 64-bit so that far-off coordinates cannot overflow.
void Fill(QImage& canvas, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
          const QColor& colour) {
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, canvas.width());
    y1 = std::min<std::int64_t>(y1, canvas.height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    if (!Direct(canvas.format())) {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(int(x0), int(y0), int(x1 - x0), int(y1 - y0)), colour);
        return;
    }
    const QRgb pixel = PixelOf(canvas, colour);
    for (std::int64_t y = y0; y < y1; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(int(y)));
        std::fill(row + x0, row + x1, pixel);
    }
}

// Nearest source index for each destination index, sampling at pixel centres so that equal sizes map
// one to one and shrinking drops columns evenly instead of always the last ones.
std::int64_t Nearest(std::int64_t i, std::int64_t sourceStart, std::int64_t sourceSize,
                     std::int64_t destSize) {
    return sourceStart + (2 * i + 1) * sourceSize / (2 * destSize);
}

} // namespace

void Rectangle(QImage& canvas, int left, int top, int right, int bottom, QColor brush) {
    if (canvas.isNull() || right <= left || bottom <= top) {
        return;
    }
    const std::int64_t l = left, t = top, r = right, b = bottom;
    const QColor black(Qt::black);
    Fill(canvas, l, t, r, t + 1, black);
    Fill(canvas, l, b - 1, r, b, black);
    Fill(canvas, l, t, l + 1, b, black);
    Fill(canvas, r - 1, t, r, b, black);
    Fill(canvas, l + 1, t + 1, r - 1, b - 1, brush);
}

// Nearest-neighbour, and a plain copy: the source replaces the canvas pixels, alpha included, the way a
// blit would. Source pixels outside the image leave the canvas as it was. Canvases that are not 32-bit
// fall back to QPainter, whose sampling may differ by a pixel at the seams.
void CopyRect(QImage& canvas, const QRect& dest, const QImage& image, const QRect& source) {
    if (canvas.isNull() || image.isNull() || dest.width() <= 0 || dest.height() <= 0 || source.width() <= 0 ||
        source.height() <= 0) {
        return;
    }
    if (!Direct(canvas.format())) {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(dest, image, source);
        return;
    }
    // A shallow copy: when the image is the canvas itself, writing detaches the canvas and the source
    // keeps the pixels as they were before the copy.
    const QImage src = image.format() == canvas.format() ? image : image.convertToFormat(canvas.format());

    const std::int64_t dx0 = std::max<std::int64_t>(dest.x(), 0);
    const std::int64_t dx1 = std::min<std::int64_t>(std::int64_t{dest.x()} + dest.width(), canvas.width());
    const std::int64_t dy0 = std::max<std::int64_t>(dest.y(), 0);
    const std::int64_t dy1 = std::min<std::int64_t>(std::int64_t{dest.y()} + dest.height(), canvas.height());
    if (dx0 >= dx1 || dy0 >= dy1) {
        return;
    }
    std::vector<int> columns;
    columns.reserve(static_cast<std::size_t>(dx1 - dx0));
    for (std::int64_t x = dx0; x < dx1; ++x) {
        const std::int64_t sx = Nearest(x - dest.x(), source.x(), source.width(), dest.width());
        columns.push_back(sx >= 0 && sx < src.width() ? int(sx) : -1);
    }
    for (std::int64_t y = dy0; y < dy1; ++y) {
        const std::int64_t sy = Nearest(y - dest.y(), source.y(), source.height(), dest.height());
        if (sy < 0 || sy >= src.height()) {
            continue;
        }
        const QRgb* from = reinterpret_cast<const QRgb*>(src.constScanLine(int(sy)));
        QRgb* to = reinterpret_cast<QRgb*>(canvas.scanLine(int(y))) + dx0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i] >= 0) {
                to[i] = from[columns[i]];
            }
        }
    }
}

} // namespace platform
