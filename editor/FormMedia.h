#pragma once
// What the step form needs of the scenario's pictures and sounds: the files to choose from, a picture as
// the player's decoder reads it, and a sound played and stopped with the player's sound player.

#include <QImage>
#include <QStringList>

namespace editor {

class IFormMedia {
  public:
    virtual ~IFormMedia() = default;
    // The files in the story's Obrazki/ and Dzwieki/ folders, sorted; empty when there is no such folder.
    virtual QStringList Pictures() = 0;
    virtual QStringList Sounds() = 0;
    // The picture named as a step names it, found as the player finds it. Throws with the decoder's or
    // the player's own message when it cannot be shown.
    virtual QImage Picture(const QString& name) = 0;
    // Plays the sound named as a step names it; throws with the sound player's message.
    virtual void PlaySound(const QString& name) = 0;
    virtual void StopSound() = 0;
};

} // namespace editor
