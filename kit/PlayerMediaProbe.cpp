#include "kit/PlayerMediaProbe.h"

#include "platform/StepMedia.h"
#include "platform/bitmap/Bmp.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "scenario/Cp1250.h"

#include <QString>

#include <cstdlib>
#include <memory>

namespace kit {

namespace {

QString Utf(const std::string& cp1250) {
    return QString::fromStdString(scenario::Cp1250ToUtf8(cp1250));
}

std::string Shown(const QString& path, const std::string& folder) {
    const QString prefix = QString::fromStdString(folder) + u'/';
    return (path.startsWith(prefix) ? path.mid(prefix.size()) : path).toStdString();
}

// One sound player for the whole process, opened at the first sound checked and kept until the program
// ends, as the player keeps its own: closing SDL's audio and opening it again costs tens of milliseconds
// for each probe.
platform::SdlMediaPlayer& SoundPlayer() {
    static auto* player = new platform::SdlMediaPlayer;
    return *player;
}

} // namespace

PlayerMediaProbe::PlayerMediaProbe()
    : open_([](const QString& path) {
          SoundPlayer().Open(path);
          SoundPlayer().Close();
      }) {
    // Checking a sound opens it, never plays it: no sound card is needed or taken.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

PlayerMediaProbe::PlayerMediaProbe(SoundOpener open) : open_(std::move(open)) {}

std::optional<MediaProblem> PlayerMediaProbe::Picture(const std::string& folder, const std::string& name) {
    const platform::MediaLookup picture = platform::FindPicture(QString::fromStdString(folder), Utf(name));
    if (picture.result == platform::MediaLookup::Result::None) {
        return std::nullopt;
    }
    const std::string shown = Shown(picture.path, folder);
    if (picture.result == platform::MediaLookup::Result::Missing) {
        return MediaProblem{Severity::Warning, "brak obrazu " + shown + ": gracz pokaże „" +
                                                   platform::MissingPictureMessage(Utf(name)).toStdString() +
                                                   "”"};
    }
    try {
        platform::LoadBmpFile(picture.path);
    } catch (const std::exception& e) {
        // The game window sets the step's texts before its picture, and its sound after it.
        return MediaProblem{Severity::Error,
                            "obraz " + shown + " nie wczytuje się: „" + e.what() +
                                "”; gracz zgłosi to w okienku błędu, a krok pokaże z tekstami "
                                "i przyciskami, ale bez obrazu i bez dźwięku"};
    }
    return std::nullopt;
}

std::optional<MediaProblem> PlayerMediaProbe::Sound(const std::string& folder, const std::string& name) {
    const platform::MediaLookup sound = platform::FindSound(QString::fromStdString(folder), Utf(name));
    if (sound.result == platform::MediaLookup::Result::None) {
        return std::nullopt;
    }
    const std::string shown = Shown(sound.path, folder);
    if (sound.result == platform::MediaLookup::Result::Missing) {
        return MediaProblem{Severity::Warning, "brak dźwięku " + shown + ": gracz pokaże „" +
                                                   platform::MissingSoundMessage(Utf(name)).toStdString() +
                                                   "”"};
    }
    try {
        open_(sound.path);
    } catch (const std::exception& e) {
        return MediaProblem{Severity::Error, "dźwięk " + shown + " nie otwiera się: „" + e.what() +
                                                 "”; gracz zgłosi to w okienku błędu, a krok pokaże bez "
                                                 "dźwięku"};
    }
    return std::nullopt;
}

} // namespace kit
