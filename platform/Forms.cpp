#include "platform/Forms.h"

#include "platform/Guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

namespace platform {

namespace {

bool mainFormCreated = false;

// A clear-on-exit flag, so that re-entering Close from FormClose does nothing.
class Reentry {
  public:
    explicit Reentry(bool& flag) : flag_(flag) { flag_ = true; }
    ~Reentry() { flag_ = false; }
    Reentry(const Reentry&) = delete;
    Reentry& operator=(const Reentry&) = delete;

  private:
    bool& flag_;
};

QWidget* FirstTabStop(QWidget* window) {
    for (QWidget* w = window->nextInFocusChain(); w != nullptr && w != window; w = w->nextInFocusChain()) {
        if (!w->isWindow() && window->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) != 0 &&
            w->isEnabled() && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

} // namespace

TForm::TForm(IMessages& messages, const QString& objectName, const QString& caption, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      messages_(messages) {
    if (!mainFormCreated) {
        mainFormCreated = true;
        isMain_ = true;
    }
    setObjectName(objectName);
    setWindowTitle(caption);
    setFixedSize(clientSize);
}

void TForm::Show() {
    if (isVisible()) {
        return;
    }
    Guard([this] { FormShow(); });
    if (!shownOnce_) {
        shownOnce_ = true;
        CentreOnScreen();
        const QSize assumedFrame = frameGeometry().size();
        show();
        // The frame is known only once the window manager framed the window: centre that when it differs.
        QTimer::singleShot(0, this, [this, assumedFrame] {
            if (isVisible() && frameGeometry().size() != assumedFrame) {
                CentreOnScreen();
            }
        });
    } else {
        show();
    }
    raise();
    activateWindow();
}

void TForm::Hide() {
    if (!isVisible()) {
        return;
    }
    Guard([this] { FormHide(); });
    hide();
}

void TForm::Close() {
    if (closing_) {
        return;
    }
    const Reentry reentry(closing_);
    Guard([this] { FormClose(); });
    if (isMain_) {
        Terminate();
    } else {
        Hide();
    }
}

void TForm::Terminate() {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    // Queued, so that the handler that asked for it finishes first, and so that asking before the
    // event loop runs still ends it.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TForm::Guard(const std::function<void()>& body) {
    return platform::Guard(messages_, body);
}

void TForm::OnClick(QPushButton* button, std::function<void()> handler) {
    connect(button, &QPushButton::clicked, this, [this, handler = std::move(handler)] { Guard(handler); });
}

void TForm::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
}

void TForm::FocusFirstControl() {
    const QWidget* current = focusWidget();
    if (current != nullptr && current->isVisible() && current->isEnabled()) {
        return; // the window chose its control itself
    }
    if (QWidget* first = FirstTabStop(this)) {
        first->setFocus(Qt::TabFocusReason);
    }
}

void TForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    Close();
}

void TForm::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        QPushButton* button = qobject_cast<QPushButton*>(focusWidget());
        if (button == nullptr || !isAncestorOf(button)) {
            button = defaultButton_;
        }
        if (button != nullptr && button->isEnabled() && button->isVisible()) {
            event->accept();
            button->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool TForm::event(QEvent* event) {
    const bool firstActivation = event->type() == QEvent::WindowActivate && !activatedOnce_;
    const bool handled = QWidget::event(event);
    if (firstActivation) {
        activatedOnce_ = true;
        FocusFirstControl();
    }
    return handled;
}

} // namespace platform
