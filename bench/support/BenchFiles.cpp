#include "bench/support/BenchFiles.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace bench {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
    }
}

} // namespace

Folder::Folder(bool makeCurrent) {
    std::string pattern = (std::filesystem::temp_directory_path() / "przygoda-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    path_ = pattern;
    if (makeCurrent) {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
}

Folder::~Folder() {
    std::error_code ec;
    if (!previous_.empty()) {
        std::filesystem::current_path(previous_, ec);
    }
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::vector<std::uint8_t> Bmp24(int width, int height,
                                const std::function<std::uint32_t(int x, int y)>& colour) {
    const std::uint32_t row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixels = row * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out{'B', 'M'};
    Put(out, 54 + pixels, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(width), 4);
    Put(out, static_cast<std::uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, pixels, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            Put(out, colour(x, y), 3); // blue, green, red
        }
        out.resize(out.size() + (row - static_cast<std::uint32_t>(width) * 3), 0);
    }
    return out;
}

std::vector<std::uint8_t> Wave(int samples) {
    std::vector<std::uint8_t> out{'R', 'I', 'F', 'F'};
    Put(out, 36 + static_cast<std::uint32_t>(samples) * 2, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, 1, 2);
    Put(out, 22050, 4);
    Put(out, 44100, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put(out, static_cast<std::uint32_t>(samples) * 2, 4);
    for (int i = 0; i < samples; ++i) {
        Put(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 0.125))), 2);
    }
    return out;
}

} // namespace bench
