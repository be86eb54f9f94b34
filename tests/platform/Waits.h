#pragma once
// Bounded waits for tests that drive modal windows: nothing here can block for good.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace platform_tests {

// Processes events until `condition` holds or `ms` pass; returns whether it held.
inline bool WaitUntil(const std::function<bool()>& condition, int ms = 5000) {
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

// Runs `open`, which shows a modal window and returns when it is dismissed. Meanwhile `inspect` is
// called once with that window as soon as it is the active modal widget, and must dismiss it. Whatever
// happens, after `ms` every visible dialog is rejected so that `open` returns. Returns whether `inspect`
// ran.
inline bool WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect,
                      int ms = 5000) {
    bool inspected = false;
    const QDeadlineTimer deadline(ms);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget();
            modal != nullptr && modal->isVisible() && !inspected) {
            inspected = true;
            inspect(modal);
        } else if (deadline.hasExpired()) {
            poll.stop();
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                    dialog->reject();
                }
            }
        }
    });
    poll.start();
    open();
    poll.stop();
    return inspected;
}

} // namespace platform_tests
