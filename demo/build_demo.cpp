// Builds the demo scenario from its readable source:
//   przygoda_build_demo STORY OUTDIR
// writes OUTDIR/Przygoda.Kro and OUTDIR/Przygoda.lis, the pictures into OUTDIR/Obrazki and the sounds
// into OUTDIR/Dzwieki.
#include "demo/Pictures.h"
#include "demo/Sounds.h"
#include "demo/Story.h"
#include "tests/support/ScenarioWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

void Check(const demo::Story& story, const std::string& fileName) {
    for (const auto& [name, d] : story.pictures) {
        if (!d.missing && !demo::IsScene(d.scene)) {
            throw demo::StoryError(fileName + ":" + std::to_string(d.line) + ": no scene called \"" +
                                   d.scene + "\"");
        }
    }
    for (const auto& [name, d] : story.sounds) {
        if (!d.missing && !demo::IsSoundKind(d.kind)) {
            throw demo::StoryError(fileName + ":" + std::to_string(d.line) + ": no sound kind called \"" +
                                   d.kind + "\"");
        }
    }
}

void Build(const fs::path& storyPath, const fs::path& out) {
    const demo::Story story = demo::LoadStory(storyPath);
    Check(story, storyPath.filename().string());

    // Start the media folders afresh, so that a file left out on purpose cannot linger from an older build.
    const fs::path obrazki = out / "Obrazki";
    const fs::path dzwieki = out / "Dzwieki";
    fs::remove_all(obrazki);
    fs::remove_all(dzwieki);
    fs::create_directories(obrazki);
    fs::create_directories(dzwieki);

    for (const auto& [name, d] : story.pictures) {
        if (!d.missing) {
            fixtures::WriteBytes(obrazki / name, demo::DrawPicture(d));
        }
    }
    for (const auto& [name, d] : story.sounds) {
        if (!d.missing) {
            fixtures::WriteBytes(dzwieki / name, demo::MakeSound(d.kind));
        }
    }
    // The step file last: the build treats it as the sign that everything else is there.
    fixtures::WriteScenario(out / "Przygoda.Kro", story.steps);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: przygoda_build_demo STORY OUTDIR\n";
        return 2;
    }
    try {
        Build(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "przygoda_build_demo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
