#include "editor/EditorMedia.h"

#include "platform/MediaFolders.h"
#include "platform/StepMedia.h"
#include "platform/bitmap/Bmp.h"

#include <QDir>

namespace editor {

namespace {

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
}

} // namespace

QStringList EditorMedia::Pictures() {
    return FilesIn(folder_ + u'/' + QString::fromLatin1(platform::PictureFolder));
}

QStringList EditorMedia::Sounds() {
    return FilesIn(folder_ + u'/' + QString::fromLatin1(platform::SoundFolder));
}

QImage EditorMedia::Picture(const QString& name) {
    const platform::MediaLookup picture = platform::FindPicture(folder_, name);
    if (picture.result != platform::MediaLookup::Result::Present) {
        throw platform::MediaError(platform::MissingPictureMessage(name).toStdString());
    }
    return platform::LoadBmpFile(picture.path);
}

void EditorMedia::PlaySound(const QString& name) {
    const platform::MediaLookup sound = platform::FindSound(folder_, name);
    if (sound.result != platform::MediaLookup::Result::Present) {
        throw platform::MediaError(platform::MissingSoundMessage(name).toStdString());
    }
    player_.Open(sound.path);
    player_.Play();
}

void EditorMedia::StopSound() {
    player_.Close();
}

} // namespace editor
