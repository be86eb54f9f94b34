#include "kit/PlayerMediaProbe.h"

#include "platform/Files.h"
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

} // namespace

// One sound player for the whole process, opened at the first sound checked and kept until the program
// ends, as the player keeps its own: closing SDL's audio and opening it again costs tens of milliseconds
// for each probe.
namespace {

platform::SdlMediaPlayer& SoundPlayer() {
    static auto* player = new platform::SdlMediaPlayer;
    return *player;
}

} // namespace

PlayerMediaProbe::PlayerMediaProbe() {
    // Checking a sound opens it, never plays it: no sound card is needed or taken.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

std::optional<MediaProblem> PlayerMediaProbe::Picture(const std::string& folder, const std::string& name) {
    const QString path = platform::MediaPath(QString::fromStdString(folder + "/Obrazki"), Utf(name));
    const std::string shown = Shown(path, folder);
    if (!platform::FileExists(path)) {
        return MediaProblem{Severity::Warning, "brak obrazu " + shown + ": gracz pokaże „Nie masz obrazu \"" +
                                                   scenario::Cp1250ToUtf8(name) + "\"”"};
    }
    try {
        platform::LoadBmpFile(path);
    } catch (const std::exception& e) {
        return MediaProblem{Severity::Error, "obraz " + shown + " nie wczytuje się: „" + e.what() +
                                                 "”; gracz przerwie pokazywanie kroku"};
    }
    return std::nullopt;
}

std::optional<MediaProblem> PlayerMediaProbe::Sound(const std::string& folder, const std::string& name) {
    const QString path = platform::MediaPath(QString::fromStdString(folder + "/Dzwieki"), Utf(name));
    const std::string shown = Shown(path, folder);
    if (!platform::FileExists(path)) {
        return MediaProblem{Severity::Warning, "brak dźwięku " + shown +
                                                   ": gracz pokaże „Nie masz dzwieku \"" +
                                                   scenario::Cp1250ToUtf8(name) + "\"”"};
    }
    try {
        SoundPlayer().Open(path);
        SoundPlayer().Close();
    } catch (const std::exception& e) {
        return MediaProblem{Severity::Error, "dźwięk " + shown + " nie otwiera się: „" + e.what() +
                                                 "”; gracz przerwie pokazywanie kroku"};
    }
    return std::nullopt;
}

} // namespace kit
