#pragma once
// The demo's pictures: simple scenes drawn from shapes, written as BMP files byte for byte.

#include "demo/Media.h"

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

bool IsScene(const std::string& scene);

// The whole BMP file of `scene` drawn at the declared size and in the declared format.
// Throws std::invalid_argument for an unknown scene.
std::vector<std::uint8_t> DrawPicture(const PictureDecl& decl);

} // namespace demo
