#include "platform/StepMedia.h"

#include "platform/Files.h"
#include "platform/MediaFolders.h"

namespace platform {

namespace {

MediaLookup Find(const QString& scenarioFolder, const char* mediaFolder, const QString& name) {
    if (name.isEmpty()) {
        return {};
    }
    const QString folder =
        scenarioFolder.isEmpty() ? QString(mediaFolder) : scenarioFolder + u'/' + mediaFolder;
    const QString path = MediaPath(folder, name);
    return {FileExists(path) ? MediaLookup::Result::Present : MediaLookup::Result::Missing, path};
}

} // namespace

MediaLookup FindPicture(const QString& scenarioFolder, const QString& name) {
    return Find(scenarioFolder, PictureFolder, name);
}

MediaLookup FindSound(const QString& scenarioFolder, const QString& name) {
    return Find(scenarioFolder, SoundFolder, name);
}

QString MissingPictureMessage(const QString& name) {
    return "Nie masz obrazu \"" + name + "\"";
}

QString MissingSoundMessage(const QString& name) {
    return "Nie masz dzwieku \"" + name + "\"";
}

} // namespace platform
