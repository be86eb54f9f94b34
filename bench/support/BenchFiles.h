#pragma once
// What the benchmarks set up, apart from the tests' fixtures: a scratch folder, files written whole, a
// 24-bit BMP and a PCM wave. Scenarios are written by the program's own scenario writer.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// A fresh folder under the temporary folder, removed with its contents; optionally the current directory
// while it lives, as choosing a scenario makes it.
class Folder {
  public:
    explicit Folder(bool makeCurrent = false);
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A bottom-up 24-bit BMP whose pixel (x, y) has the colour 0xRRGGBB.
std::vector<std::uint8_t> Bmp24(int width, int height,
                                const std::function<std::uint32_t(int x, int y)>& colour);

// A 16-bit mono PCM wave at 22050 Hz of `samples` samples of a soft tone.
std::vector<std::uint8_t> Wave(int samples);

} // namespace bench
