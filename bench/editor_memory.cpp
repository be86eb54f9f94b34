// bench_editor_memory STORY: the editor's window with the story open, on the offscreen platform with
// silent seams, until its check is shown and the window painted; then prints the process's peak resident
// memory ("vmhwm_kb=N vmrss_kb=N", from /proc/self/status) and ends. Exit 1 when the story did not open.
// bench_editor_window runs it in a child process for the peak memory figure.
#include "bench/support/OffscreenEditor.h"
#include "tests/support/TempDir.h"

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

long StatusKiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(key + ":")) {
            return std::stol(line.substr(key.size() + 1));
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_editor_memory STORY\n");
        return 2;
    }
    const QString story = QString::fromLocal8Bit(argv[1]);
    const fixtures::TempDir scratch;
    bench::PrepareOffscreenEditor(scratch.path().string());
    QApplication app(argc, argv);
    int rc = 0;
    {
        bench::OffscreenEditor editor;
        if (!editor.OpenAndWait(story)) {
            std::fprintf(stderr, "bench_editor_memory: %s\n", qPrintable(editor.Trouble()));
            rc = 1;
        }
        QCoreApplication::processEvents();
        std::printf("vmhwm_kb=%ld vmrss_kb=%ld\n", StatusKiB("VmHWM"), StatusKiB("VmRSS"));
        std::fflush(stdout);
    }
    return rc;
}
