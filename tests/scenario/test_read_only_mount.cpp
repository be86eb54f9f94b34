// The reader opens a scenario read-only: proven on a read-only file system, which binds root too (file
// permissions do not, and CI runs as root). The file system is a tmpfs mounted, filled and remounted
// read-only inside a private mount namespace that a child process makes for itself.
#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kImpossible = 2;

bool WriteText(const char* path, const std::string& text) {
    std::ofstream out(path);
    return static_cast<bool>(out << text);
}

// Enters a private mount namespace: directly with the right to mount, else inside a new user namespace
// that maps the caller to root.
std::string EnterPrivateMounts() {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWNS) != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            return std::string("no private mount namespace: ") + std::strerror(errno);
        }
        WriteText("/proc/self/setgroups", "deny");
        if (!WriteText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            return "user namespace without an id map";
        }
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return std::string("mounts cannot be made private: ") + std::strerror(errno);
    }
    return {};
}

// In the child: writes the scenario to a tmpfs at `dir`, remounts it read-only and plays it. Reports
// through `report` why it could not, or what failed.
int PlayOnReadOnlyFileSystem(const fs::path& dir, std::string& report) {
    if (report = EnterPrivateMounts(); !report.empty()) {
        return kImpossible;
    }
    if (::mount("przygoda", dir.c_str(), "tmpfs", 0, "size=1m") != 0) {
        report = std::string("no tmpfs: ") + std::strerror(errno);
        return kImpossible;
    }
    fixtures::Step step;
    step.targets = {1, 0, 2, 1};
    fixtures::WriteScenario(dir / "las.Kro", {step, step, step});
    if (::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        report = std::string("cannot remount read-only: ") + std::strerror(errno);
        return kImpossible;
    }
    // The mount must refuse writing even to root, or the test would prove nothing.
    if (const int fd = ::open((dir / "las.Kro").c_str(), O_RDWR); fd >= 0 || errno != EROFS) {
        report = "the read-only mount still lets the file be opened for writing";
        return kImpossible;
    }
    try {
        scenario::AktKrok = std::make_unique<scenario::TKrok>();
        scenario::OpenScenario((dir / "las.Kro").string());
        for (std::int32_t target : {2, 0, 1}) {
            scenario::NrKroku = target;
            scenario::GoToStep();
        }
        scenario::CloseScenario();
    } catch (const scenario::InOutError& e) {
        report = std::string("the scenario did not play from a read-only file system: ") + e.what();
        return kFailed;
    }
    return kPassed;
}

TEST(ReadOnlyScenario, PlaysFromAReadOnlyFileSystemEvenAsRoot) {
    const fixtures::TempDir dir;
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        std::string report;
        const int result = PlayOnReadOnlyFileSystem(dir.path(), report);
        [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], report.data(), report.size());
        ::_exit(result);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == kImpossible) {
        GTEST_SKIP() << report;
    }
    EXPECT_EQ(WEXITSTATUS(status), kPassed) << report;
}

} // namespace
