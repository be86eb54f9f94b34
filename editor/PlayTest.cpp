#include "editor/PlayTest.h"

#include "game/Scenariusz.h"
#include "kit/Build.h"
#include "kit/Source.h"

#include <QFileInfo>

#include <stdexcept>

namespace editor {

PlayTest::PlayTest(platform::IMessages& messages, platform::IMediaPlayer& player, QObject* parent)
    : QObject(parent), messages_(messages), player_(player) {}

PlayTest::~PlayTest() {
    if (window_) {
        // Hidden without leaving: the reader closes, and nobody is told of a game the editor ends.
        window_->SetHost(nullptr);
        window_->Hide();
    }
}

bool PlayTest::Playing() const {
    return window_ && window_->isVisible();
}

void PlayTest::Play(const std::string& bytes, const std::string& storyPath, const QString& mediaFolder,
                    std::int32_t step, int open) {
    const kit::ParseResult parsed =
        kit::ParseStory(bytes, QFileInfo(QString::fromStdString(storyPath)).fileName().toStdString());
    if (!parsed.errors.empty()) {
        const kit::Finding& first = parsed.errors.front();
        throw std::runtime_error(
            tr("Historia ma błędy (%1); popraw je, zanim zagrasz.").arg(parsed.errors.size()).toStdString() +
            "\n" + first.file + ":" + std::to_string(first.line) + ": " + first.message);
    }
    if (Playing()) {
        window_->Hide();
    }
    // A folder of its own for each game, removed with the next one or with the editor.
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid()) {
        throw std::runtime_error(
            tr("Nie można utworzyć folderu tymczasowego: %1").arg(dir->errorString()).toStdString());
    }
    const std::string kro = kit::ScenarioPath(parsed.story, storyPath, dir->path().toStdString());
    kit::WriteStory(parsed.story, kro, false);
    dir_ = std::move(dir);

    if (!window_) {
        window_ = std::make_unique<game::TFoRpgGra>(messages_, player_);
        window_->SetHost(this);
    }
    game::Scenariusz = QString::fromStdString(kro);
    window_->SetMediaFolder(mediaFolder);
    window_->SetStart(step, open);
    emit Started();
    window_->Show();
}

void PlayTest::Stop() {
    if (Playing()) {
        window_->Hide();
        GameLeft();
    }
}

void PlayTest::GameLeft() {
    emit Finished(window_->ShownStep());
}

} // namespace editor
