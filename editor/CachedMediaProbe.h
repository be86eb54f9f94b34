#pragma once
// The toolkit's media check for a story checked again after every edit: a picture or sound is decoded
// once, and again only when its file changes (another size or modification time).

#include "kit/PlayerMediaProbe.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <mutex>

namespace editor {

class CachedMediaProbe : public kit::MediaProbe {
  public:
    explicit CachedMediaProbe(kit::PlayerMediaProbe::SoundOpener openSound);
    std::optional<kit::MediaProblem> Picture(const std::string& folder, const std::string& name) override;
    std::optional<kit::MediaProblem> Sound(const std::string& folder, const std::string& name) override;

  private:
    struct Entry {
        qint64 size = -1;
        QDateTime modified;
        std::optional<kit::MediaProblem> problem;
    };
    std::optional<kit::MediaProblem> Cached(const QString& key, const QString& path,
                                            const std::function<std::optional<kit::MediaProblem>()>& probe);

    kit::PlayerMediaProbe probe_;
    std::mutex mutex_;
    std::map<QString, Entry> entries_;
};

} // namespace editor
