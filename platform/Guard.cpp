#include "platform/Guard.h"

#include <QtGlobal>

#include <exception>

namespace platform {

namespace {

// Reporting must not throw either: the caller may be a Qt frame.
void Report(IMessages& messages, const QString& message) {
    try {
        messages.ShowError(ErrorBoxText(message));
    } catch (const std::exception& e) {
        qWarning("Error box failed: %s (reporting: %s)", e.what(), qUtf8Printable(message));
    } catch (...) {
        qWarning("Error box failed (reporting: %s)", qUtf8Printable(message));
    }
}

} // namespace

bool Guard(IMessages& messages, const std::function<void()>& body) {
    try {
        if (body) {
            body();
        }
        return true;
    } catch (const std::exception& e) {
        Report(messages, QString::fromUtf8(e.what()));
    } catch (...) {
        Report(messages, QStringLiteral("Nieoczekiwany błąd"));
    }
    return false;
}

} // namespace platform
