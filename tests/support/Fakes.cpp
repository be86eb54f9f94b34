#include "tests/support/Fakes.h"

#include <QDir>
#include <QFileInfo>

namespace fixtures {

void RecordingMessages::ShowMessage(const QString& text) {
    messages << text;
    log << "message: " + text;
    if (onBox) {
        onBox(text);
    }
}

void RecordingMessages::ShowError(const QString& text) {
    errors << text;
    log << "error: " + text;
    if (onBox) {
        onBox(text);
    }
}

bool FakeOpenFileDialog::Execute() {
    ++executions;
    if (nextChoice.isEmpty()) {
        return false;
    }
    const QFileInfo chosen(nextChoice);
    fileName = chosen.absoluteFilePath();
    QDir::setCurrent(chosen.absolutePath());
    return true;
}

void RecordingMediaPlayer::Open(const QString& fileName) {
    Close();
    calls << "open " + fileName;
    if (!deviceFailsWith.isEmpty()) {
        throw platform::SoundDeviceError(deviceFailsWith.toStdString());
    }
    if (!failOpenWith.isEmpty()) {
        throw std::runtime_error(failOpenWith.toStdString());
    }
    openPath = fileName;
}

void RecordingMediaPlayer::Play() {
    calls << "play";
    playing = !openPath.isEmpty();
}

void RecordingMediaPlayer::Close() {
    if (!openPath.isEmpty()) {
        calls << "close";
    }
    openPath.clear();
    playing = false;
}

} // namespace fixtures
