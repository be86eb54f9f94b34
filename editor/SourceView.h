#pragma once
// The whole story source, editable and highlighted. It follows the document patch by patch and turns the
// author's typing into line replacements, so the document stays the one text every view edits.

#include "editor/core/StoryDocument.h"

#include <QPlainTextEdit>

namespace editor {

class SourceView : public QPlainTextEdit, public StoryDocument::Listener {
    Q_OBJECT

  public:
    SourceView(StoryDocument& document, QWidget* parent = nullptr);
    ~SourceView() override;

    // Shows the document's text afresh (after opening a story).
    void Reload();
    // Puts the cursor at the start of a line (0-based) and brings it into view.
    void GoToLine(std::size_t line);

    void PatchApplied(const Patch& patch) override;

  signals:
    // The cursor moved to another line (0-based), so that the form can follow.
    void LineChanged(std::size_t line);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ContentsChange(int position, int charsRemoved, int charsAdded);

    StoryDocument& document_;
    class SourceHighlighter* highlighter_ = nullptr;
    // Set while the view writes a patch of the document into itself, or reports its own edit.
    bool following_ = false;
    int lastLine_ = -1;
};

} // namespace editor
