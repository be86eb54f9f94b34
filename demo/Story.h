#pragma once
// The demo story's readable source: the steps, and the pictures and sounds they name.

#include "tests/support/ScenarioWriter.h"

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace demo {

// A mistake in the story source, its message already prefixed with "file:line: ".
class StoryError : public std::runtime_error {
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

struct Story {
    std::vector<fixtures::Step> steps; // record n is steps[n]
    std::map<std::string, PictureDecl> pictures;
    std::map<std::string, SoundDecl> sounds;
};

// Which choice buttons a step of type `typ` offers at record `record`, as the player enables them.
std::array<bool, 4> EnabledChoices(std::uint8_t typ, std::int32_t record);

// Parses and checks the whole source; throws StoryError at the first mistake.
Story ParseStory(const std::string& text, const std::string& fileName);
Story LoadStory(const std::filesystem::path& path);

} // namespace demo
