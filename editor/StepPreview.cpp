#include "editor/StepPreview.h"

#include "editor/PreviewStep.h"

#include <QVBoxLayout>

namespace editor {

StepPreview::StepPreview(StoryDocument& document, std::function<QString()> folder, QWidget* parent)
    : QWidget(parent), document_(document), folder_(std::move(folder)),
      game_(new game::QuietGame([this](const QString& text) { said_ << text; })), problems_(new QLabel),
      search_(std::make_unique<ButtonSearch>()) {
    setObjectName("Podglad");
    setAccessibleName(tr("Podgląd"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(game_, 0, Qt::AlignHCenter | Qt::AlignTop);
    problems_->setObjectName("PodgladProblemy");
    problems_->setWordWrap(true);
    problems_->setAccessibleName(tr("Problemy podglądu"));
    layout->addWidget(problems_);
    layout->addStretch(1);
    document_.AddListener(this);
}

StepPreview::~StepPreview() {
    document_.RemoveListener(this);
}

void StepPreview::PatchApplied(const Patch&) {
    search_->Changed();
}

void StepPreview::TextReset() {
    search_->Changed();
}

void StepPreview::ShowStep(std::optional<std::size_t> index) {
    index_ = index;
    if (!paused_) {
        Redraw();
    }
}

void StepPreview::SetPaused(bool paused) {
    paused_ = paused;
    if (!paused_) {
        Redraw();
    }
}

int StepPreview::OpenOn(std::size_t index) {
    const StepView& step = document_.Step(index);
    if (const std::optional<int> open = OpenByType(step)) {
        return *open;
    }
    // The type carries the buttons over: as many as the walk finds open there at most, all four where
    // nothing reaches the step.
    return search_->MostOpen(document_, step.number).value_or(4);
}

void StepPreview::Redraw() {
    said_.clear();
    if (index_ && *index_ < document_.StepCount()) {
        const std::size_t index = *index_;
        game_->Show(RecordOf(document_.Step(index)), OpenOn(index), folder_());
    } else {
        game_->Show({}, 0, folder_());
    }
    problems_->setText(said_.join(u'\n'));
    ++drawn_;
}

} // namespace editor
