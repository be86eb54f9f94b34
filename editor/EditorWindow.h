#pragma once
// The editor's window: the steps, the form of the selected step, the source and the problems, with the
// commands of the menus. It owns the open story: its document, its file and its journal.

#include "editor/EditorMedia.h"
#include "editor/FieldMarks.h"
#include "editor/PlayTest.h"
#include "editor/ProblemsPanel.h"
#include "editor/Questions.h"
#include "editor/SourceView.h"
#include "editor/SpellChecker.h"
#include "editor/StepForm.h"
#include "editor/StepListModel.h"
#include "editor/StepPreview.h"
#include "editor/StoryFile.h"
#include "editor/StoryMap.h"
#include "editor/core/BackgroundCheck.h"
#include "editor/core/JournalWriter.h"
#include "editor/core/StoryDocument.h"
#include "platform/Announcer.h"
#include "platform/Messages.h"

#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include <memory>

namespace editor {

class EditorWindow : public QMainWindow, public StoryDocument::Listener {
    Q_OBJECT

  public:
    EditorWindow(platform::IMediaPlayer& player, platform::IMessages& messages, IQuestions& questions,
                 QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Opens a story source or a scenario (.Kro, unpacked into a new story); false when it could not be
    // opened (the reason was reported) or the author kept the story open now.
    bool Open(const QString& path);
    // A new, empty story.
    void New();
    bool Save();
    bool SaveAs();
    // Compiles the story and writes NAME.Kro and NAME.lis beside it, then checks them.
    bool Build();

    StoryDocument& Document() { return document_; }
    const StoryFile& File() const { return file_; }
    void SelectStep(std::size_t index);
    std::optional<std::size_t> SelectedStep() const { return form_->Current(); }

    StepForm* Form() const { return form_; }
    SourceView* Source() const { return source_; }
    QListView* Steps() const { return steps_; }
    QLineEdit* Filter() const { return filter_; }
    ProblemsPanel* Problems() const { return problems_; }
    StepPreview* Preview() const { return preview_; }
    PlayTest* Play() const { return play_; }
    SpellChecker* Spelling() const { return spell_; }
    FieldMarks* Marks() const { return marks_; }
    platform::TAnnouncer* Announcer() const { return announcer_; }
    // Plays the story in the game window from the selected step, or from the start as the player does.
    void PlayFromHere();
    void PlayFromStart();
    StoryMap* Map() const { return map_; }

    void PatchApplied(const Patch& patch) override;
    void StepsChanged() override;
    void TextReset() override;
    // At a start without a file: offers the newest draft of a story never saved that an editor left.
    void OfferUntitledRecovery();
    // Writes what the journal holds to the disk now (its timer does it soon after every change).
    void FlushJournal();

  signals:
    // What an action did, in words ("Dodano krok 12"), shown in the status bar and spoken.
    void Said(const QString& text);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void MakeMenus();
    void MakeViews();
    // Replaces the document by `bytes`, the story's file being `file`.
    void Load(std::string bytes, StoryFile file);
    // Asks about unsaved changes; false when the author cancels.
    bool MaySetStoryAside();
    bool WriteTo(const QString& path);
    // Offers the changes a journal kept of this story when the editor ended without saving them.
    void OfferRecovery();
    // The name findings carry: the story's file name, or the one it is to get.
    QString CheckedName() const;
    // The path findings name and media are found beside: the story's, or where it will be saved.
    QString CheckedPath() const;
    void Recover(const QString& journalPath, const std::string& onDisk);
    void UpdateTitle();
    void UpdateHistoryActions();
    void Say(const QString& text);
    void RememberRecent(const QString& path);
    void FillRecentMenu();
    void ShowChecked(std::shared_ptr<const CheckReport> report);
    void GoToProblem(const ProblemLocation& where);

    void AddStep();
    void DuplicateStep();
    void DeleteStep();
    void MoveStep(int delta);
    void RenumberStep();

    platform::IMediaPlayer& player_;
    platform::IMessages& messages_;
    IQuestions& questions_;
    StoryDocument document_;
    StoryFile file_;
    EditorMedia media_;
    StepListModel* model_ = nullptr;
    StepFilterModel* filterModel_ = nullptr;
    QListView* steps_ = nullptr;
    QLineEdit* filter_ = nullptr;
    StepForm* form_ = nullptr;
    SourceView* source_ = nullptr;
    ProblemsPanel* problems_ = nullptr;
    StepPreview* preview_ = nullptr;
    PlayTest* play_ = nullptr;
    StoryMap* map_ = nullptr;
    QMenu* recent_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    std::unique_ptr<JournalWriter> journal_;
    std::shared_ptr<kit::MediaProbe> probe_;
    std::unique_ptr<BackgroundCheck> check_;
    QTimer* journalTimer_ = nullptr;
    SpellChecker* spell_ = nullptr;
    FieldMarks* marks_ = nullptr;
    platform::TAnnouncer* announcer_ = nullptr;
};

} // namespace editor
