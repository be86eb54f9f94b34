#pragma once
// The "Podgląd" view: the selected step drawn by the game window itself in quiet mode (game::QuietGame),
// with the buttons open there, redrawn as soon as the form shows the step afresh (after every edit). What
// the window would have said in a box (a picture missing or broken) is written under it. It waits while a
// game is being played, so that only one game runs at a time.

#include "editor/ButtonSearch.h"
#include "editor/core/StoryDocument.h"
#include "game/QuietGame.h"

#include <QLabel>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace editor {

class StepPreview : public QWidget, public StoryDocument::Listener {
    Q_OBJECT

  public:
    // `folder` gives the folder the story's media folders lie in.
    StepPreview(StoryDocument& document, std::function<QString()> folder, QWidget* parent = nullptr);
    ~StepPreview() override;

    // Draws the step at `index` (nothing for none), unless paused; the last asked for is drawn on resuming.
    void ShowStep(std::optional<std::size_t> index);
    void SetPaused(bool paused);
    // The buttons open on the step at `index` as the preview shows them, and play from there starts with.
    int OpenOn(std::size_t index);

    game::QuietGame* Game() const { return game_; }
    QLabel* Problems() const { return problems_; }
    // The steps drawn so far, for those who wait for a redraw.
    int Drawn() const { return drawn_; }

    void PatchApplied(const Patch& patch) override;
    void TextReset() override;

  private:
    void Redraw();

    StoryDocument& document_;
    std::function<QString()> folder_;
    game::QuietGame* game_;
    QLabel* problems_;
    std::unique_ptr<ButtonSearch> search_;
    QStringList said_;
    std::optional<std::size_t> index_;
    bool paused_ = false;
    int drawn_ = 0;
};

} // namespace editor
