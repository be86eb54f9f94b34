// Makes the demo's pictures and sounds from their declarations:
//   przygoda_build_demo MEDIA OUTDIR
// writes the pictures into OUTDIR/Obrazki and the sounds into OUTDIR/Dzwieki. The scenario itself is
// built by `przygoda-kit build` from story.txt.
#include "demo/Media.h"
#include "demo/Pictures.h"
#include "demo/Sounds.h"
#include "platform/MediaFolders.h"
#include "scenario/AtomicFile.h"

#include <exception>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

void Check(const demo::Media& media, const std::string& fileName) {
    for (const auto& [name, d] : media.pictures) {
        if (!d.missing && !demo::IsScene(d.scene)) {
            throw demo::MediaError(fileName + ":" + std::to_string(d.line) + ": no scene called \"" +
                                   d.scene + "\"");
        }
    }
    for (const auto& [name, d] : media.sounds) {
        if (!d.missing && !demo::IsSoundKind(d.kind)) {
            throw demo::MediaError(fileName + ":" + std::to_string(d.line) + ": no sound kind called \"" +
                                   d.kind + "\"");
        }
    }
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    scenario::AtomicFile file(path.string());
    file.Write(bytes);
    file.Commit(true);
}

void Build(const fs::path& mediaPath, const fs::path& out) {
    const demo::Media media = demo::LoadMedia(mediaPath);
    Check(media, mediaPath.filename().string());

    // Start the media folders afresh, so that a file left out on purpose cannot linger from an older build.
    const fs::path obrazki = out / platform::PictureFolder;
    const fs::path dzwieki = out / platform::SoundFolder;
    fs::remove_all(obrazki);
    fs::remove_all(dzwieki);
    fs::create_directories(obrazki);
    fs::create_directories(dzwieki);

    for (const auto& [name, d] : media.pictures) {
        if (!d.missing) {
            Write(obrazki / name, demo::DrawPicture(d));
        }
    }
    for (const auto& [name, d] : media.sounds) {
        if (!d.missing) {
            Write(dzwieki / name, demo::MakeSound(d.kind));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: przygoda_build_demo MEDIA OUTDIR\n";
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
