#include "editor/core/JournalPaths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace editor {

namespace {

constexpr std::string_view UntitledPrefix = "bez-nazwy-";
constexpr std::string_view Suffix = ".dziennik";

} // namespace

std::string JournalPathFor(const std::string& storyPath) {
    const std::size_t slash = storyPath.find_last_of('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return storyPath.substr(0, name) + "." + storyPath.substr(name) + std::string(Suffix);
}

std::string UntitledJournalFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return std::string(data) + "/przygoda-edytor";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share/przygoda-edytor";
}

std::string NewUntitledJournalPath() {
    static std::atomic<unsigned> counter{0};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return UntitledJournalFolder() + "/" + std::string(UntitledPrefix) + stamp + "-" +
           std::to_string(::getpid()) + "-" + std::to_string(++counter) + std::string(Suffix);
}

std::vector<std::string> FindUntitledJournals() {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(UntitledJournalFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(UntitledPrefix) && name.ends_with(Suffix) && entry.is_regular_file(error) &&
            !JournalInUse(entry.path().string())) {
            found.push_back(entry.path().string());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool JournalInUse(const std::string& journalPath) {
    const int fd = ::open(journalPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

} // namespace editor
