#include "editor/CachedMediaProbe.h"

#include "platform/StepMedia.h"
#include "scenario/Cp1250.h"

#include <QFileInfo>

namespace editor {

namespace {

QString Utf(const std::string& cp1250) {
    return QString::fromStdString(scenario::Cp1250ToUtf8(cp1250));
}

} // namespace

CachedMediaProbe::CachedMediaProbe(kit::PlayerMediaProbe::SoundOpener openSound)
    : probe_(std::move(openSound)) {}

std::optional<kit::MediaProblem>
CachedMediaProbe::Cached(const QString& key, const QString& path,
                         const std::function<std::optional<kit::MediaProblem>()>& probe) {
    const QFileInfo file(path);
    const qint64 size = file.size();
    const QDateTime modified = file.lastModified();
    {
        const std::lock_guard lock(mutex_);
        const auto it = entries_.find(key);
        if (it != entries_.end() && it->second.size == size && it->second.modified == modified) {
            return it->second.problem;
        }
    }
    Entry entry{size, modified, probe()};
    const std::lock_guard lock(mutex_);
    return entries_.insert_or_assign(key, std::move(entry)).first->second.problem;
}

std::optional<kit::MediaProblem> CachedMediaProbe::Picture(const std::string& folder,
                                                           const std::string& name) {
    const platform::MediaLookup picture = platform::FindPicture(QString::fromStdString(folder), Utf(name));
    if (picture.result != platform::MediaLookup::Result::Present) {
        return probe_.Picture(folder, name);
    }
    // The message names the file as the step does: the entry is per name as well as per file.
    return Cached(u'P' + picture.path + u'\n' + Utf(name), picture.path,
                  [&] { return probe_.Picture(folder, name); });
}

std::optional<kit::MediaProblem> CachedMediaProbe::Sound(const std::string& folder, const std::string& name) {
    const platform::MediaLookup sound = platform::FindSound(QString::fromStdString(folder), Utf(name));
    if (sound.result != platform::MediaLookup::Result::Present) {
        return probe_.Sound(folder, name);
    }
    return Cached(u'S' + sound.path + u'\n' + Utf(name), sound.path,
                  [&] { return probe_.Sound(folder, name); });
}

} // namespace editor
