#pragma once
// Bounded waits for tests that drive modal windows: nothing here can block for good, and every bound is
// generous, so that a slow or loaded machine only makes a test slower, never fail.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

namespace fixtures {

// How long a condition may take on a loaded machine.
inline constexpr int kWaitMs = 60'000;

inline bool WaitUntil(const std::function<bool()>& condition, int ms = kWaitMs) {
    const QDeadlineTimer deadline(ms);
    while (!condition() && !deadline.hasExpired()) {
        QTest::qWait(5);
    }
    return condition();
}

// Processes every event posted before the call, such as a zero-time timer a window set for itself.
inline bool DrainPostedEvents() {
    bool drained = false;
    QTimer::singleShot(0, [&drained] { drained = true; });
    return WaitUntil([&drained] { return drained; });
}

// Runs `open`, which returns when the modal window it shows is dismissed. `inspect` gets that window once
// it is the active modal widget and should dismiss it; after `ms` every visible dialog is rejected anyway.
// Returns whether `inspect` ran.
inline bool WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect,
                      int ms = kWaitMs) {
    bool inspected = false;
    const QDeadlineTimer deadline(ms);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!inspected && modal != nullptr && modal->isVisible()) {
            inspected = true;
            inspect(modal);
        } else if (deadline.hasExpired()) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                    dialog->reject();
                }
            }
        }
    });
    poll.start(5);
    open();
    return inspected;
}

} // namespace fixtures
