#pragma once
// Play from a step of the story being edited, in the player's own game window: the document built by the
// toolkit's writer into a temporary folder (nothing is written beside the story), the window opened there
// on the step with the buttons open on it, its picture and sound found as the player finds them beside the
// story, and play going on as in the player, endings, boxes and what a screen reader hears included.
// Leaving the game tells the step last shown.

#include "game/GameHost.h"
#include "game/Urpggra.h"
#include "platform/MediaPlayer.h"
#include "platform/Messages.h"

#include <QObject>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <string>

namespace editor {

class PlayTest : public QObject, public game::GameHost {
    Q_OBJECT

  public:
    PlayTest(platform::IMessages& messages, platform::IMediaPlayer& player, QObject* parent = nullptr);
    ~PlayTest() override;

    // Builds the story `bytes` (its mistakes named after `storyPath`) and plays it from record `step` with
    // `open` buttons, its media beside `mediaFolder`; a game being played ends first. Throws
    // std::runtime_error with the reason when the story does not build.
    void Play(const std::string& bytes, const std::string& storyPath, const QString& mediaFolder,
              std::int32_t step, int open);
    // Ends the game being played, as leaving it does.
    void Stop();
    bool Playing() const;
    // The window, once a game was played.
    game::TFoRpgGra* Window() const { return window_.get(); }

  signals:
    void Started();
    // The game was left on record `shown`.
    void Finished(std::int32_t shown);

  private:
    void GameLeft() override;

    platform::IMessages& messages_;
    platform::IMediaPlayer& player_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<game::TFoRpgGra> window_;
};

} // namespace editor
