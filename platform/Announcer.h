#pragma once
// A screen reader's voice for what the program presents while the focus stays put.
//
// Orca speaks an object of accessible role notification each time it becomes showing, and says nothing
// about a changed name, description or text of the focused control, nor about a label shown afresh. So a
// window that wants something spoken shows an invisible announcer (1 x 1 pixel, painting nothing, never
// focused) anew with the text as its accessible name. What is announced while its window is not the
// active one (being shown, or behind a message box) waits until the window is active again, so that it is
// neither lost nor spoken before the window it belongs to.

#include <QString>
#include <QWidget>

namespace platform {

class TLabel;

class TAnnouncer : public QWidget {
    Q_OBJECT

  public:
    explicit TAnnouncer(QWidget* window);

    void Announce(const QString& text);
    // The text last presented to the screen reader, and the one still waiting for the window.
    QString Text() const { return text_; }
    QString Pending() const { return pending_; }
    bool HasPending() const { return hasPending_; }
    int Presented() const { return presented_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PresentWhenActive();
    void Present();

    static constexpr int UnfocusedDelayMs = 1000;

    QString text_;
    QString pending_;
    bool hasPending_ = false;
    int presented_ = 0;
};

// A part of an announcement: on one line, ending as a sentence, so that the speech pauses after it.
QString Sentence(const QString& text);

// The visible texts of a window's labels, in the order the window made them, as one announcement.
QString LabelsText(const QWidget* window);

// Reads the window's labels aloud each time it is shown: a window of static texts (the menu, the
// credits) is otherwise heard only as its caption and its focused button.
TAnnouncer* ReadLabelsOnShow(QWidget* window);

// Announces "<the label's role>: <its text>" whenever a non-empty text replaces the label's caption; the
// label is read so in LabelsText too, since its text alone (a path) does not say what it is.
void AnnounceCaptionChanges(TAnnouncer* announcer, TLabel* label);

} // namespace platform
