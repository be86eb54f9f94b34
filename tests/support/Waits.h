#pragma once
// Bounded waits for tests that drive modal windows: nothing here can block for good.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

namespace platform_tests {

inline bool WaitUntil(const std::function<bool()>& condition, int ms = 3000) {
    const QDeadlineTimer deadline(ms);
    while (!condition() && !deadline.hasExpired()) {
        QTest::qWait(5);
    }
    return condition();
}

// Runs `open`, which returns when the modal window it shows is dismissed. `inspect` gets that window once
// it is the active modal widget and should dismiss it; after `ms` every visible dialog is rejected anyway.
// Returns whether `inspect` ran.
inline bool WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect,
                      int ms = 5000) {
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

} // namespace platform_tests
