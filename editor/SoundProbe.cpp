#include "editor/SoundProbe.h"

#include "platform/MediaPlayer.h"
#include "platform/sound/SdlMediaPlayer.h"

#include <QProcess>

#include <cstdlib>
#include <iostream>

namespace editor {

namespace {

// A probe that has not answered by then is taken as a sound that does not open.
constexpr int ProbeLimitMs = 30000;

} // namespace

int RunSoundProbe(const char* path) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    try {
        platform::SdlMediaPlayer player;
        player.Open(QString::fromLocal8Bit(path));
        player.Close();
        return 0;
    } catch (const std::exception& e) {
        std::cout << e.what() << std::flush;
        return 1;
    }
}

void OpenSoundElsewhere(const QString& program, const QString& path) {
    QProcess probe;
    probe.setProcessChannelMode(QProcess::SeparateChannels);
    probe.start(program, {QString::fromLatin1(SoundProbeOption), path});
    if (!probe.waitForFinished(ProbeLimitMs) || probe.exitStatus() != QProcess::NormalExit) {
        probe.kill();
        probe.waitForFinished();
        throw platform::MediaError(QObject::tr("Sprawdzanie dźwięku nie powiodło się").toStdString());
    }
    if (probe.exitCode() != 0) {
        throw platform::MediaError(QString::fromUtf8(probe.readAllStandardOutput()).toStdString());
    }
}

} // namespace editor
