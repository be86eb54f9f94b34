#pragma once
// The demo's media declarations (media.txt): the pictures and sounds its steps name, and how to make them.

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace demo {

// A mistake in media.txt, its message already prefixed with "file:line: ".
class MediaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class PictureFormat { Rgb24, Pal8, Rle8 };

struct PictureDecl {
    int width = 0;
    int height = 0;
    PictureFormat format = PictureFormat::Rgb24;
    std::string scene;
    bool missing = false; // named by a step, left out on purpose
    int line = 0;
};

struct SoundDecl {
    std::string kind;
    bool missing = false;
    int line = 0;
};

struct Media {
    std::map<std::string, PictureDecl> pictures;
    std::map<std::string, SoundDecl> sounds;
};

// Parses the whole declaration file; throws MediaError at the first mistake.
Media ParseMedia(const std::string& text, const std::string& fileName);
Media LoadMedia(const std::filesystem::path& path);

} // namespace demo
