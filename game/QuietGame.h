#pragma once
// The game window in quiet mode, for a program that shows steps without playing them (the story editor's
// preview): the window itself draws each step it is given, with the player's fonts, sizes, wrapping,
// centred picture and open buttons, but opens no sound, shows no box and announces nothing. What would
// have been a box (a missing or broken picture) goes to the host instead. It never touches the scenario
// reader, so that a game played meanwhile keeps it to itself. A child widget of the window's size, which
// takes neither clicks nor the focus.

#include "game/Urpggra.h"
#include "platform/MediaPlayer.h"
#include "platform/Messages.h"
#include "scenario/StepRecord.h"

#include <QWidget>

#include <functional>

namespace game {

class QuietGame : public QWidget {
    Q_OBJECT

  public:
    // `problem` gets what the window would have said in a box.
    explicit QuietGame(std::function<void(const QString&)> problem, QWidget* parent = nullptr);
    ~QuietGame() override;

    // Draws `step` as the player draws it once read from its files, with the first `open` buttons enabled
    // and its picture found beside a scenario in `folder`.
    void Show(const scenario::StepRecord& step, int open, const QString& folder);

    TFoRpgGra& Window() { return *window_; }

  private:
    class ToHost : public platform::IMessages {
      public:
        explicit ToHost(std::function<void(const QString&)> problem) : problem_(std::move(problem)) {}
        void ShowMessage(const QString& text) override { problem_(text); }
        void ShowError(const QString& text) override { problem_(text); }

      private:
        std::function<void(const QString&)> problem_;
    };
    class NoSound : public platform::IMediaPlayer {
      public:
        void Open(const QString&) override {}
        void Play() override {}
        void Close() override {}
    };

    ToHost messages_;
    NoSound sound_;
    TFoRpgGra* window_;
};

} // namespace game
