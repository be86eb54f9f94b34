#pragma once
// The toolkit's media check for a story checked again after every edit. A picture or sound is decoded once,
// and again only when its file changes; where a step's file is found, or that it is missing, is looked up
// once, and again only when the story's folder or its media folders change. A story of thousands of steps
// is then checked without listing a folder or opening a file for each of them.

#include "kit/PlayerMediaProbe.h"

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

namespace editor {

class CachedMediaProbe : public kit::MediaProbe {
  public:
    explicit CachedMediaProbe(kit::PlayerMediaProbe::SoundOpener openSound);
    std::optional<kit::MediaProblem> Picture(const std::string& folder, const std::string& name) override;
    std::optional<kit::MediaProblem> Sound(const std::string& folder, const std::string& name) override;
    void NewCheck() override;
    // Changes when a media folder changes or a picture or sound found is rewritten.
    std::uint64_t Version() override;

    // What a file or folder is now: equal stamps mean nothing was added, removed, renamed or rewritten.
    struct Stamp {
        std::int64_t size = -1; // -1: not there
        std::int64_t modifiedNs = 0;
        std::uint64_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };

  private:
    enum class Kind : char { Picture = 'P', Sound = 'S' };
    struct Entry {
        bool present = false;
        std::string path;
        Stamp file;
        std::optional<kit::MediaProblem> problem;
    };
    struct MediaFolder {
        std::string path;
        Stamp stamp;
        bool operator==(const MediaFolder&) const = default;
    };
    // A story's two media folders, and what was found in them since they last changed.
    struct Folder {
        std::uint64_t seenInCheck = 0;
        std::array<MediaFolder, 2> media;
        std::unordered_map<std::string, Entry> entries; // by kind and name
    };
    std::optional<kit::MediaProblem> Probe(Kind kind, const std::string& folder, const std::string& name);
    Folder& Current(const std::string& folder);

    kit::PlayerMediaProbe probe_;
    std::mutex mutex_;
    std::uint64_t check_ = 1;
    std::map<std::string, Folder> folders_;
    std::string key_;       // kept, so that looking up a name makes no new string
    bool uncached_ = false; // a name was looked up that is not remembered
    std::uint64_t version_ = 1;
};

} // namespace editor
