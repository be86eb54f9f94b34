#include "game/QuietGame.h"

#include "scenario/StepReader.h"

namespace game {

QuietGame::QuietGame(std::function<void(const QString&)> problem, QWidget* parent)
    : QWidget(parent), messages_(std::move(problem)), window_(new TFoRpgGra(messages_, sound_)) {
    setObjectName("PodgladGry");
    window_->SetMainForm(false);
    window_->SetQuiet(true);
    // A child at the window's size: setParent without flags drops the window's own frame.
    window_->setParent(this);
    window_->move(0, 0);
    setFixedSize(window_->size());
    // A picture of the step: the buttons show whether they are open, but nothing here is played.
    window_->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QWidget* child : window_->findChildren<QWidget*>()) {
        child->setFocusPolicy(Qt::NoFocus);
    }
    window_->setFocusPolicy(Qt::NoFocus);
    window_->show();
}

QuietGame::~QuietGame() {
    // The window stops its sound as it goes: before the seams it was given.
    delete window_;
}

void QuietGame::Show(const scenario::StepRecord& step, int open, const QString& folder) {
    scenario::TKrok krok;
    // Encoded and decoded as the reader decodes a record, so that the texts are clamped as in play.
    scenario::CopyStep(scenario::EncodeStep(step), krok);
    window_->SetMediaFolder(folder);
    window_->ShowGivenStep(krok, open);
}

} // namespace game
