#pragma once
// Colours of the story source: keywords, comments, labels and targets, line by line (no state crosses a
// line, so a change re-highlights only the lines it touches).

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace editor {

class SourceHighlighter : public QSyntaxHighlighter {
  public:
    explicit SourceHighlighter(QTextDocument* document);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    QTextCharFormat keyword_;
    QTextCharFormat comment_;
    QTextCharFormat label_;
    QTextCharFormat target_;
};

} // namespace editor
