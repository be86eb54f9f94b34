#include "bench/support/OffscreenEditor.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

namespace bench {

void PrepareOffscreenEditor(const std::string& scratch) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const std::string folder = scratch + "/" + name;
        std::filesystem::create_directories(folder);
        // The runtime folder must be the user's alone.
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        ::setenv(name, folder.c_str(), 1);
    }
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    // Wakes the loop now and then, so that the bound is seen even when no event comes.
    QTimer wake;
    wake.start(50);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

OffscreenEditor::OffscreenEditor() : window_(player_, messages_, questions_) {
    // The panel is cleared once for every report it shows.
    QObject::connect(window_.Problems()->model(), &QAbstractItemModel::modelReset, &window_,
                     [this] { ++reports_; });
    window_.show();
    WaitForReportAfter(0);
}

OffscreenEditor::~OffscreenEditor() {
    // Closed as an author closes it without saving: the journal goes.
    window_.close();
}

bool OffscreenEditor::WaitForReportAfter(int seen) {
    return WaitUntil([&] { return reports_ > seen; }, GenerousBound);
}

bool OffscreenEditor::OpenAndWait(const QString& path) {
    const int seen = reports_;
    if (!window_.Open(path)) {
        return false;
    }
    if (!WaitForReportAfter(seen)) {
        messages_.log << QStringLiteral("no check of %1 was shown").arg(path);
        return false;
    }
    return true;
}

QString OffscreenEditor::Trouble() const {
    return (messages_.log + questions_.told).join(u"; ");
}

} // namespace bench
