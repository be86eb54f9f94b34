#include "editor/CachedMediaProbe.h"

#include "platform/Files.h"
#include "platform/MediaFolders.h"
#include "platform/StepMedia.h"
#include "scenario/Cp1250.h"

#include <QFile>

#include <algorithm>
#include <ctime>

#include <sys/stat.h>

namespace editor {

namespace {

QString Utf(const std::string& cp1250) {
    return QString::fromStdString(scenario::Cp1250ToUtf8(cp1250));
}

CachedMediaProbe::Stamp StampOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    return {static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_ino)};
}

// A change made within the clock's coarse tick of the last one may leave a folder's or file's time as it
// was; what changed that recently is not trusted, and is looked at again until it has settled.
bool Settled(const CachedMediaProbe::Stamp& stamp) {
    constexpr std::int64_t SettleNs = 2'000'000'000;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return stamp.modifiedNs < static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec - SettleNs;
}

} // namespace

CachedMediaProbe::CachedMediaProbe(kit::PlayerMediaProbe::SoundOpener openSound)
    : probe_(std::move(openSound)) {}

void CachedMediaProbe::NewCheck() {
    const std::lock_guard lock(mutex_);
    ++check_;
}

std::uint64_t CachedMediaProbe::Version() {
    const std::lock_guard lock(mutex_);
    if (uncached_) {
        return 0;
    }
    for (auto& [path, known] : folders_) {
        Current(path);
        // A file rewritten is forgotten, and read again when it is asked for.
        const auto stale = std::erase_if(known.entries, [](const auto& named) {
            const Entry& entry = named.second;
            return entry.present && StampOf(QString::fromStdString(entry.path)) != entry.file;
        });
        version_ += stale > 0 ? 1 : 0;
    }
    return version_;
}

CachedMediaProbe::Folder& CachedMediaProbe::Current(const std::string& folder) {
    Folder& known = folders_[folder];
    if (known.seenInCheck == check_) {
        return known;
    }
    // A file appears, goes or is renamed only by changing the folder that holds it. The media folders are
    // found again, as the player finds them, in any letter case; the story's own folder changes with every
    // save and journal entry, and only decides which folders those are.
    const QString story = QString::fromStdString(folder);
    std::array<MediaFolder, 2> now;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const QString path =
            platform::MediaPath(story, i == 0 ? platform::PictureFolder : platform::SoundFolder);
        now[i] = {path.toStdString(), StampOf(path)};
    }
    if (now != known.media ||
        !std::all_of(now.begin(), now.end(), [](const MediaFolder& m) { return Settled(m.stamp); })) {
        known.entries.clear();
        known.media = now;
        ++version_;
    }
    known.seenInCheck = check_;
    return known;
}

std::optional<kit::MediaProblem> CachedMediaProbe::Probe(Kind kind, const std::string& folder,
                                                         const std::string& name) {
    const std::lock_guard lock(mutex_);
    Folder& known = Current(folder);
    // A name in a folder of its own would depend on that folder too: such names are looked up every time.
    const bool remembered = name.find_first_of("\\/") == std::string::npos;
    key_.assign(1, static_cast<char>(kind)).append(name);
    if (remembered) {
        const auto found = known.entries.find(key_);
        if (found != known.entries.end() &&
            (!found->second.present ||
             StampOf(QString::fromStdString(found->second.path)) == found->second.file)) {
            return found->second.problem;
        }
        // A file rewritten since: its answer may be another one now.
        version_ += found != known.entries.end() ? 1 : 0;
    }
    const QString utf = Utf(name);
    const QString storyFolder = QString::fromStdString(folder);
    const platform::MediaLookup lookup = kind == Kind::Picture ? platform::FindPicture(storyFolder, utf)
                                                               : platform::FindSound(storyFolder, utf);
    Entry entry;
    entry.present = lookup.result == platform::MediaLookup::Result::Present;
    if (entry.present) {
        entry.path = lookup.path.toStdString();
        // Taken before the file is read: a file rewritten while it is read is read again next time.
        entry.file = StampOf(lookup.path);
    }
    entry.problem = kind == Kind::Picture ? probe_.Picture(folder, name) : probe_.Sound(folder, name);
    if (!remembered) {
        uncached_ = true;
        return entry.problem;
    }
    return known.entries.insert_or_assign(key_, std::move(entry)).first->second.problem;
}

std::optional<kit::MediaProblem> CachedMediaProbe::Picture(const std::string& folder,
                                                           const std::string& name) {
    return Probe(Kind::Picture, folder, name);
}

std::optional<kit::MediaProblem> CachedMediaProbe::Sound(const std::string& folder, const std::string& name) {
    return Probe(Kind::Sound, folder, name);
}

} // namespace editor
