#pragma once
// The map pane: a search line, the map and the shortest way to the selected step in words. It follows the
// document: an edit that changes no step's number, label, type or targets moves nothing and costs a
// repaint; one that does is laid out again on a thread of its own, from the last picture so that the
// rest of the map stays where it was, while the last picture stays on screen. "Ułóż od nowa" lays the
// whole map out afresh.

#include "editor/MapView.h"
#include "editor/core/StepMarks.h"

#include <QLabel>
#include <QLineEdit>
#include <QThreadPool>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace editor {

class StoryDocument;

class StoryMap : public QWidget {
    Q_OBJECT

  public:
    explicit StoryMap(const StoryDocument& document, QWidget* parent = nullptr);
    ~StoryMap() override;

    // The document's text was replaced, or its steps changed (`changed`: the one step that did).
    void DocumentReset();
    void DocumentChanged(std::optional<std::size_t> changed);
    void SetMarks(const StepMarks& marks);
    // While held, the map lays nothing out: a new story is laid out once its first check is done, so that
    // the two never hold a big story's working memory at the same time, and drawn with its marks at once.
    void Hold(bool held);
    // The step selected elsewhere in the window.
    void SelectStep(std::optional<std::size_t> index);
    // Lays the whole map out afresh.
    void LayOutAgain();
    // Goes to the first step the search line finds, or the next one on each repeat.
    void FindNext();
    // The map's commands, each with its shortcut.
    void FillMenu(QMenu* menu);

    MapView* View() const { return view_; }
    QLineEdit* Search() const { return search_; }
    QLabel* Way() const { return way_; }
    // A layout or an overview is being made.
    bool Busy() const { return running_; }
    // How many pictures have been shown: a test waits for the next.
    int Pictures() const { return pictures_; }

  signals:
    void StepSelected(std::size_t index);
    void StepOpened(std::size_t index);

  private:
    struct Signature { // what of a step the map's shape depends on
        std::int64_t number;
        std::string label;
        std::optional<int> typ;
        std::array<std::optional<ChoiceTarget>, 4> target;
        bool operator==(const Signature&) const = default;
    };
    static Signature SignatureOf(const StepView& step);
    void Restructure(bool full);
    void StartJob();

    const StoryDocument& document_;
    MapView* view_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLabel* way_ = nullptr;
    std::vector<Signature> signatures_;
    std::shared_ptr<const MapStructure> structure_; // the newest, laid out or waiting to be
    std::shared_ptr<const MapPicture> picture_;     // the one shown
    StepMarks marks_;
    // The next job: a structure to lay out (null: the picture's again, for new marks) and how.
    bool pending_ = false;
    bool pendingFull_ = false;
    bool pendingShape_ = false;
    bool running_ = false;
    bool held_ = false;
    int pictures_ = 0;
    std::string lastQuery_;
    std::size_t lastFound_ = 0;
    QThreadPool pool_;
};

} // namespace editor
