// bench_editor_memory STORY: the editor's window with the story open, on the offscreen platform with
// silent seams, until its check is shown, its map laid out and drawn and the window painted; then prints the
// process's peak resident memory ("vmhwm_kb=N vmrss_kb=N", from /proc/self/status) and ends. Exit 1 when the
// story did not open. bench_editor_window runs it in a child process for the peak memory figure.
#include "bench/support/OffscreenEditor.h"
#include "bench/support/PeakMemory.h"
#include "editor/StoryMap.h"
#include "tests/support/TempDir.h"

#include <QApplication>

#include <cstdio>

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
        const editor::StoryMap* map = editor.Window().Map();
        if (!bench::WaitUntil([&] { return map->Pictures() > 0 && !map->Busy(); }, bench::GenerousBound)) {
            std::fprintf(stderr, "bench_editor_memory: the map was never drawn\n");
            rc = 1;
        }
        QCoreApplication::processEvents();
        bench::PrintPeakMemory();
    }
    return rc;
}
