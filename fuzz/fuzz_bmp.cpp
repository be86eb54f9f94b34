// Any bytes go to the BMP decoder; only its own BitmapError may come back.
#include "platform/bitmap/Bmp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = platform::DecodeBmp(std::span<const std::uint8_t>(data, size));
        // Touch the pixels so that anything left uninitialised is read.
        if (!image.isNull()) {
            volatile QRgb sink = image.pixel(image.width() - 1, 0);
            (void)sink;
        }
    } catch (const platform::BitmapError&) {
    }
    return 0;
}
