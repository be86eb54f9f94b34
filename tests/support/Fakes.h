#pragma once
// Recording stand-ins for the seams, so that no test ever blocks on a modal box or needs a sound card.

#include "platform/FileDialog.h"
#include "platform/MediaPlayer.h"
#include "platform/Messages.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace fixtures {

struct RecordingMessages : platform::IMessages {
    QStringList messages;
    QStringList errors;
    // Everything shown, in order, messages prefixed "message: " and errors "error: ".
    QStringList log;
    // Runs while a box is "open", to observe the program's state at that moment.
    std::function<void(const QString&)> onBox;

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
};

struct FakeOpenFileDialog : platform::IOpenFileDialog {
    // The answer of the next Execute: a path confirms (and changes the current directory), empty cancels.
    QString nextChoice;
    QString fileName;
    int executions = 0;

    bool Execute() override;
    QString FileName() const override { return fileName; }
};

struct RecordingMediaPlayer : platform::IMediaPlayer {
    QStringList calls; // "open <path>", "play", "close"
    QString openPath;
    bool playing = false;
    // Open throws this message when it is not empty.
    QString failOpenWith;
    // Open throws a SoundDeviceError with this message when it is not empty, as without a sound device.
    QString deviceFailsWith;

    void Open(const QString& fileName) override;
    void Play() override;
    void Close() override;
};

} // namespace fixtures
