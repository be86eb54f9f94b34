#pragma once
// Colours of the story source: keywords, comments, labels and targets, line by line. No state crosses a
// line, so only the lines in view are coloured: a story of a hundred thousand lines opens without a layout
// and its formats made for every line, and a line is coloured again once it has changed and is seen.

#include <QList>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>

class QPlainTextEdit;

namespace editor {

class SourceHighlighter : public QObject {
  public:
    explicit SourceHighlighter(QPlainTextEdit* view);

    // The colours of one line of the source.
    QList<QTextLayout::FormatRange> Formats(const QString& text) const;
    // Colours the lines now in view that are not coloured as they stand.
    void ColourVisible();
    // The same, once the events now waiting are handled.
    void ColourSoon();
    // After the whole text was set afresh: the one line a text keeps through that keeps its old state.
    void TextReplaced();

  private:
    // A line's state: never coloured (-1, as every new line is), coloured, or changed since it was.
    enum State { Coloured = 1, Stale = 2 };
    void Changed(int position, int removed, int added);

    QPlainTextEdit* view_;
    bool colouring_ = false;
    bool pending_ = false;
    QTextCharFormat keyword_;
    QTextCharFormat comment_;
    QTextCharFormat label_;
    QTextCharFormat target_;
};

} // namespace editor
