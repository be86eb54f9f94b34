#pragma once
// The form's pictures and sounds as the player has them: its media lookup, its BMP decoder and its sound
// player on the real sound device.

#include "editor/FormMedia.h"
#include "platform/MediaPlayer.h"

#include <QString>

namespace editor {

class EditorMedia : public IFormMedia {
  public:
    explicit EditorMedia(platform::IMediaPlayer& player) : player_(player) {}

    // The story's folder, where Obrazki/ and Dzwieki/ lie.
    void SetFolder(const QString& folder) { folder_ = folder; }

    QStringList Pictures() override;
    QStringList Sounds() override;
    QImage Picture(const QString& name) override;
    void PlaySound(const QString& name) override;
    void StopSound() override;

  private:
    platform::IMediaPlayer& player_;
    QString folder_ = ".";
};

} // namespace editor
