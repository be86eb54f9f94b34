#include "platform/Announcer.h"

#include "platform/Controls.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace platform {

namespace {

constexpr const char* SpokenWithRole = "przygodaSpokenWithRole";

} // namespace

QString Sentence(const QString& text) {
    const QString plain = text.simplified();
    if (plain.isEmpty() || QStringLiteral(".!?:;").contains(plain.back())) {
        return plain;
    }
    return plain + u'.';
}

TAnnouncer::TAnnouncer(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("Announcer"));
    setGeometry(0, 0, 1, 1);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
    window->installEventFilter(this);
}

void TAnnouncer::Announce(const QString& text) {
    pending_ = text;
    hasPending_ = true;
    // Queued: the handler that announces finishes first (its focus changes and message boxes included).
    QTimer::singleShot(0, this, [this] { PresentWhenActive(); });
}

void TAnnouncer::PresentWhenActive() {
    if (!hasPending_ || !window()->isVisible() || QApplication::activeModalWidget() != nullptr) {
        return; // the window's next activation presents it
    }
    if (!window()->isActiveWindow()) {
        // The window manager may hand the focus back to a window without the toolkit hearing of it (seen
        // as a modal dialog closes): with no window of ours active, a little later will do.
        if (QApplication::activeWindow() == nullptr) {
            QTimer::singleShot(UnfocusedDelayMs, this, [this] {
                if (QApplication::activeWindow() == nullptr) {
                    Present();
                }
            });
        }
        return;
    }
    Present();
}

void TAnnouncer::Present() {
    if (!hasPending_ || !window()->isVisible() || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    hasPending_ = false;
    text_ = pending_;
    pending_.clear();
    ++presented_;
    // Shown afresh: the screen reader hears "showing" with the new name.
    hide();
    show();
}

bool TAnnouncer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && event->type() == QEvent::WindowActivate && hasPending_) {
        // After the activation itself, so that the window and its focused control are spoken first.
        QTimer::singleShot(0, this, [this] { PresentWhenActive(); });
    }
    return QWidget::eventFilter(watched, event);
}

QString LabelsText(const QWidget* window) {
    QStringList parts;
    for (const TLabel* label : window->findChildren<TLabel*>(Qt::FindDirectChildrenOnly)) {
        const QString text = Sentence(label->VisibleText());
        if (text.isEmpty() || label->isHidden()) {
            continue;
        }
        // A label that shows data, not a caption, says what the data is.
        parts << (label->property(SpokenWithRole).toBool() ? label->accessibleDescription() + ": " + text
                                                           : text);
    }
    return parts.join(u' ');
}

namespace {

class ReadOnShow : public QObject {
  public:
    ReadOnShow(QWidget* window, TAnnouncer* announcer) : QObject(window), announcer_(announcer) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            announcer_->Announce(LabelsText(static_cast<QWidget*>(watched)));
        }
        return false;
    }

  private:
    TAnnouncer* announcer_;
};

} // namespace

TAnnouncer* ReadLabelsOnShow(QWidget* window) {
    auto* announcer = new TAnnouncer(window);
    new ReadOnShow(window, announcer);
    return announcer;
}

void AnnounceCaptionChanges(TAnnouncer* announcer, TLabel* label) {
    label->setProperty(SpokenWithRole, true);
    QObject::connect(label, &TLabel::CaptionChanged, announcer, [announcer, label] {
        const QString text = label->VisibleText();
        if (!text.isEmpty()) {
            announcer->Announce(label->accessibleDescription() + QStringLiteral(": ") + text);
        }
    });
}

} // namespace platform
