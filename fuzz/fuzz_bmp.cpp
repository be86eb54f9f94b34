// Any bytes go to the BMP decoder; only its own BitmapError may come back.
#include "platform/bitmap/Bmp.h"

#include <cstddef>
#include <cstdint>

namespace {

// Pictures above a quarter megapixel are refused, as image decoders' fuzz targets do: a header claiming
// the decoder's full 64 MiB costs a large allocation and fill on every run and finds nothing new, since
// the checks are the same at every size. The unit tests cover the decoder's own limit.
constexpr std::int64_t kFuzzMaxPixels = 512 * 512;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = platform::DecodeBmp(std::span<const std::uint8_t>(data, size), kFuzzMaxPixels);
        // Touch the pixels so that anything left uninitialised is read.
        if (!image.isNull()) {
            volatile QRgb sink = image.pixel(image.width() - 1, 0);
            (void)sink;
        }
    } catch (const platform::BitmapError&) {
    }
    return 0;
}
