// The story editor's window on the generated story of 10,000 steps (bench/support/GeneratedStory), on the
// offscreen platform with silent seams: opening the story until its first step and its highlighted source
// show; one keystroke in the form's description (the interface thread's CPU time only: the background
// check burns the other processor meanwhile); a form edit until the source shows it and a source edit
// until the form shows it; a keystroke until the problems panel shows the findings it changes; the peak
// memory of a process with the story open. Anchors: `przygoda-kit build` and `check` of the same story,
// and a bare Qt window, each in a child process.
#include "bench/support/EditorBench.h"
#include "bench/support/GeneratedStory.h"
#include "bench/support/OffscreenEditor.h"
#include "editor/CachedMediaProbe.h"
#include "editor/core/BackgroundCheck.h"

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using bench::OpenedEditor;
using bench::Seconds;
using bench::ThreadCpuSeconds;

constexpr std::size_t Steps = bench::EditorSteps;
constexpr std::size_t Middle = Steps / 2;
// The peak memory's budget: the bare window and this much a step.
constexpr double BudgetKiBPerStep = 20;

const std::string& g_scratch = bench::EditorScratch();
const std::string& g_story = bench::EditorStory();

QString StoryPath() {
    return QString::fromStdString(g_story);
}

struct Child {
    int status = -1;
    std::string out; // what it printed
    bool Exited(std::initializer_list<int> codes) const {
        if (!WIFEXITED(status)) {
            return false;
        }
        for (int code : codes) {
            if (WEXITSTATUS(status) == code) {
                return true;
            }
        }
        return false;
    }
    // A value the child printed as "key=N", -1 when it did not.
    long Printed(const std::string& key) const {
        const std::size_t at = out.find(key + "=");
        return at == std::string::npos ? -1 : std::stol(out.substr(at + key.size() + 1));
    }
};

// Runs `args` (the program first) to its end, keeping what it prints when `keepOutput`, else discarding
// it; nullopt when it cannot be started.
std::optional<Child> Run(std::vector<std::string> args, bool keepOutput = false) {
    int pipe[2] = {-1, -1};
    if (keepOutput && ::pipe2(pipe, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepOutput) {
        posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Child child;
    if (keepOutput) {
        ::close(pipe[1]);
        char buffer[4096];
        for (ssize_t n; spawned == 0 && (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
            child.out.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(pipe[0]);
    }
    if (spawned != 0) {
        return std::nullopt;
    }
    ::waitpid(pid, &child.status, 0);
    return child;
}

// The step's last "opis" line, where typing at the end of the description lands.
std::size_t LastOpisLine(const editor::StoryDocument& document, std::size_t index) {
    const editor::StepView& step = document.Step(index);
    std::size_t last = step.firstLine;
    for (std::size_t line = step.firstLine; line < step.endLine; ++line) {
        if (document.Text().Line(line).starts_with("opis")) {
            last = line;
        }
    }
    return last;
}

// Puts the form on the middle step, the keyboard in `field`, its cursor at the end.
void TypeInMiddleStep(bench::OffscreenEditor& editor, QWidget* field) {
    editor.Window().SelectStep(Middle);
    editor.Window().activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
        text->moveCursor(QTextCursor::End);
    } else if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->end(false);
    }
    QCoreApplication::processEvents();
}

// One more character, then one less: the story goes back and forth between two texts.
void Keystroke(QWidget* field, bool longer) {
    QTest::keyClick(field, longer ? Qt::Key_X : Qt::Key_Backspace);
}

// Anchor: `przygoda-kit build` of the story in a child process (start, read, compile, write both files).
void BM_KitBuild(benchmark::State& state) {
    const std::string out = g_scratch + "/built";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        const auto child = Run({PRZYGODA_KIT_BINARY, "build", g_story, "-o", out, "--force"});
        if (!child || !child->Exited({0})) {
            state.SkipWithError("przygoda-kit build failed");
            break;
        }
    }
}

// Anchor: `przygoda-kit check` of the story in a child process, with media as the editor checks it
// (exit 1: the story has errors to report).
void BM_KitCheck(benchmark::State& state) {
    for (auto _ : state) {
        const auto child = Run({PRZYGODA_KIT_BINARY, "check", g_story});
        if (!child || !child->Exited({0, 1})) {
            state.SkipWithError("przygoda-kit check failed");
            break;
        }
    }
}

// Opening the story in a fresh window until the form shows its first step and the source view holds
// the whole text, its lines in view coloured (wall clock; the check starts on its own thread meanwhile). Each
// window is made, and its check awaited, outside the timing.
void BM_OpenStory(benchmark::State& state) {
    for (auto _ : state) {
        bench::OffscreenEditor editor;
        editor::EditorWindow& window = editor.Window();
        const int seen = editor.Reports();
        const auto start = std::chrono::steady_clock::now();
        const bool opened = window.Open(StoryPath());
        QCoreApplication::processEvents();

        const editor::StoryDocument& document = window.Document();
        QTextDocument* source = window.Source()->document();
        // The first step's "krok" line coloured: the view shows it, and the highlighter colours what is seen.
        const auto coloured = [&] {
            if (document.StepCount() == 0) {
                return false;
            }
            const QTextBlock krok = source->findBlockByNumber(static_cast<int>(document.Step(0).firstLine));
            return krok.layout() != nullptr && !krok.layout()->formats().isEmpty();
        };
        const bool shown = bench::WaitUntil(coloured, bench::GenerousBound);
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        const char* trouble = !opened                         ? "not opened"
                              : !shown                        ? "its first step's line never coloured"
                              : document.StepCount() != Steps ? "not every step read"
                              : window.SelectedStep() != 0    ? "the first step not selected"
                              : window.Form()->Nazwa->text() != QString::fromStdString(document.Step(0).name)
                                  ? "the form not on the first step"
                              : static_cast<std::size_t>(source->blockCount()) != document.Text().LineCount()
                                  ? "the source not whole"
                                  : nullptr;
        if (trouble != nullptr) {
            state.SkipWithError(("the story did not show (" + std::string(trouble) + "; source view " +
                                 std::to_string(window.Source()->viewport()->width()) + "x" +
                                 std::to_string(window.Source()->viewport()->height()) +
                                 (window.Source()->isVisible() ? " shown" : " hidden") +
                                 "): " + editor.Trouble().toStdString())
                                    .c_str());
            break;
        }
        if (!editor.WaitForReportAfter(seen)) {
            state.SkipWithError("the story's check was never shown");
            break;
        }
    }
}

// One keystroke at the end of the middle step's description: the interface thread's CPU time for the
// key event and all its handlers do at once (the document's edit, the source view, the journal's record,
// the check's copy of the patch, the list and the form). The events it leaves (painting, the check's
// reports, the journal's timer) are processed between keystrokes, untimed.
void BM_OpisKeystroke(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::EditorWindow& window = editor->Window();
    QPlainTextEdit* opis = window.Form()->Opis;
    TypeInMiddleStep(*editor, opis);
    const std::string original = window.Document().Step(Middle).opis;
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        const double start = ThreadCpuSeconds();
        Keystroke(opis, longer);
        state.SetIterationTime(ThreadCpuSeconds() - start);
        if (window.Document().Step(Middle).opis != (longer ? original + "x" : original)) {
            state.SkipWithError("the keystroke did not reach the document");
            break;
        }
        QCoreApplication::processEvents();
    }
}

// A form edit until the source view's line shows it: a keystroke in the description, then the source's
// block read back (wall clock; the patch reaches the view within the call).
void BM_FormToSource(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::EditorWindow& window = editor->Window();
    QPlainTextEdit* opis = window.Form()->Opis;
    TypeInMiddleStep(*editor, opis);
    const int line = static_cast<int>(LastOpisLine(window.Document(), Middle));
    QTextDocument* source = window.Source()->document();
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        const auto start = std::chrono::steady_clock::now();
        Keystroke(opis, longer);
        const bool shown = source->findBlockByNumber(line).text().endsWith(u'x') == longer;
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!shown) {
            state.SkipWithError("the source view did not show the form's edit");
            break;
        }
        QCoreApplication::processEvents();
    }
}

// A source edit until the form shows it: one character put at the end of the middle step's last
// description line through a QTextCursor, or taken away, then the form's Opis read back (wall clock).
void BM_SourceToForm(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::EditorWindow& window = editor->Window();
    window.SelectStep(Middle);
    QCoreApplication::processEvents();
    QPlainTextEdit* opis = window.Form()->Opis;
    const int line = static_cast<int>(LastOpisLine(window.Document(), Middle));
    QTextDocument* source = window.Source()->document();
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        const auto start = std::chrono::steady_clock::now();
        QTextCursor cursor(source->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        if (longer) {
            cursor.insertText(QStringLiteral("x"));
        } else {
            cursor.deletePreviousChar();
        }
        const bool shown = opis->toPlainText().endsWith(u'x') == longer;
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!shown || window.SelectedStep() != Middle) {
            state.SkipWithError("the form did not show the source's edit");
            break;
        }
        QCoreApplication::processEvents();
    }
}

// The findings the check reports for `bytes`, as the window's check finds them; each text checked once
// in the run.
const std::vector<std::string>& Findings(const std::string& bytes) {
    static std::map<std::string, std::vector<std::string>> known;
    const auto found = known.find(bytes);
    if (found != known.end()) {
        return found->second;
    }
    editor::CachedMediaProbe media([](const QString& path) {
        throw std::runtime_error("the benchmark's story has no sounds to probe: " + path.toStdString());
    });
    const editor::CheckReport report = editor::CheckText(bytes, g_story, &media);
    std::vector<std::string> lines;
    lines.reserve(report.Size());
    for (std::size_t i = 0; i < report.Size(); ++i) {
        lines.push_back(report.Text(i));
    }
    return known.emplace(bytes, std::move(lines)).first->second;
}

// Two edits of the middle step, each made by `edit(k)` and undone by the other, each followed by a wait
// for the problems panel to hold the findings of the text `change(k)` makes of the story (computed
// beforehand), while events are processed as they come. Only the edit `timed` (0: the first, 1: the
// second) is timed, until the panel shows its findings (wall clock).
void ProblemsAfterEdit(benchmark::State& state, bench::OffscreenEditor& editor, int timed,
                       const std::function<void(std::size_t)>& edit,
                       const std::function<void(editor::StoryDocument&, std::size_t)>& change) {
    editor::EditorWindow& window = editor.Window();
    std::array<const std::vector<std::string>*, 2> expected{};
    for (std::size_t k = 0; k < 2; ++k) {
        editor::StoryDocument story(window.Document().Bytes());
        change(story, k);
        expected[k] = &Findings(story.Bytes());
    }
    if (*expected[0] == *expected[1]) {
        state.SkipWithError("the edit changes no finding");
        return;
    }
    // The first row where they differ.
    std::size_t row = 0;
    while (row < expected[0]->size() && row < expected[1]->size() &&
           (*expected[0])[row] == (*expected[1])[row]) {
        ++row;
    }
    editor::ProblemsPanel* panel = window.Problems();
    const auto shows = [&](const std::vector<std::string>& lines) {
        if (static_cast<std::size_t>(panel->Count()) != lines.size()) {
            return false;
        }
        return row >= lines.size() || panel->Text(static_cast<int>(row)).toStdString() == lines[row];
    };
    if (!shows(*expected[1])) {
        state.SkipWithError("the panel does not show the story's findings");
        return;
    }

    for (auto _ : state) {
        for (std::size_t k = 0; k < 2; ++k) {
            const auto start = std::chrono::steady_clock::now();
            edit(k);
            const bool shown = bench::WaitUntil([&] { return shows(*expected[k]); }, bench::GenerousBound);
            // The panel painted with them.
            QCoreApplication::processEvents();
            if (static_cast<int>(k) == timed) {
                state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
            }
            if (!shown) {
                state.SkipWithError("the problems panel never showed the edit's findings");
                return;
            }
        }
    }
    state.counters["findings_before"] = static_cast<double>(expected[1 - timed]->size());
    state.counters["findings_after"] = static_cast<double>(expected[timed]->size());
}

// A keystroke in the first choice of the middle step: `first`, then the key that undoes it (Backspace
// after "x", "x" after Backspace). Only the keystroke `timed` is timed.
void ProblemsAfterKeystroke(benchmark::State& state, Qt::Key first, int timed) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    QLineEdit* wybor = editor->Window().Form()->Wybor[0];
    TypeInMiddleStep(*editor, wybor);
    const std::array<Qt::Key, 2> keys{first, first == Qt::Key_X ? Qt::Key_Backspace : Qt::Key_X};
    const QString choice = QString::fromStdString(editor->Window().Document().Step(Middle).choice[0]);
    const QString afterFirst = first == Qt::Key_X ? choice + u'x' : choice.chopped(1);
    const std::array<QString, 2> texts{afterFirst, first == Qt::Key_X ? choice : afterFirst + u'x'};
    ProblemsAfterEdit(
        state, *editor, timed, [&](std::size_t k) { QTest::keyClick(wybor, keys[k]); },
        [&](editor::StoryDocument& story, std::size_t k) {
            story.SetChoiceText(Middle, 1, texts[k].toStdString());
        });
}

// The choice made one character too long: a mistake in the source, which the check then reports alone.
void BM_ProblemsChoiceTooLong(benchmark::State& state) {
    ProblemsAfterKeystroke(state, Qt::Key_X, 0);
}

// The over-long choice put right: the whole story is checked again and all its findings come back.
void BM_ProblemsChoiceFixed(benchmark::State& state) {
    ProblemsAfterKeystroke(state, Qt::Key_X, 1);
}

// The full-length choice made one character shorter: the whole story checked, one warning fewer (that the
// choice fills its field).
void BM_ProblemsChoiceShortened(benchmark::State& state) {
    ProblemsAfterKeystroke(state, Qt::Key_Backspace, 0);
}

// The middle step's second choice led elsewhere: its Cel given a number past the last step, and Enter,
// which sets it; then the number it had, and Enter. The ways through the story are walked again, and the
// findings gain that mistake.
void BM_ProblemsTargetChanged(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    QLineEdit* cel = editor->Window().Form()->Cel[1];
    TypeInMiddleStep(*editor, cel);
    const std::array<std::int64_t, 2> targets{Steps + 5,
                                              editor->Window().Document().Step(Middle).target[1]->number};
    ProblemsAfterEdit(
        state, *editor, 0,
        [&](std::size_t k) {
            cel->setText(QString::number(targets[k]));
            QTest::keyClick(cel, Qt::Key_Return);
        },
        [&](editor::StoryDocument& story, std::size_t k) {
            story.SetChoiceTarget(Middle, 2,
                                  editor::ChoiceTarget{editor::ChoiceTarget::Kind::Number, targets[k], {}});
        });
}

// What the wait for the problems is made of (info). The check's thread: one check of the whole story, as
// it runs after every change (CPU time; the media probe kept between checks, as the window keeps it).
void BM_CheckText(benchmark::State& state) {
    const std::string bytes = bench::GeneratedStory(Steps);
    editor::CachedMediaProbe media([](const QString&) {});
    editor::CheckText(bytes, g_story, &media);
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = editor::CheckText(bytes, g_story, &media).Size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}

// The interface's part: the problems panel given a report of the whole story, until it is laid out and
// painted (wall clock, on the open window).
void BM_ProblemsPanelShow(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::CachedMediaProbe media([](const QString&) {});
    const auto report = std::make_shared<const editor::CheckReport>(
        editor::CheckText(editor->Window().Document().Bytes(), g_story, &media));
    editor::ProblemsPanel* panel = editor->Window().Problems();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        panel->Show(report);
        QCoreApplication::processEvents();
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
    }
    state.counters["findings"] = static_cast<double>(panel->Count());
}

// Peak resident memory (VmHWM, which each probe reads of itself as it ends) of a process that opens the
// story in the window and waits for its check to be shown, against a bare Qt window shown on the same
// platform.
void BM_PeakMemory(benchmark::State& state) {
    double editorKiB = 0;
    double bareKiB = 0;
    for (auto _ : state) {
        const auto editor = Run({PRZYGODA_EDITOR_MEMORY_BINARY, g_story}, true);
        const auto bare = Run({PRZYGODA_BARE_WINDOW_BINARY, "--quit-when-painted"}, true);
        if (!editor || !editor->Exited({0}) || editor->Printed("vmhwm_kb") <= 0 || !bare ||
            !bare->Exited({0}) || bare->Printed("vmhwm_kb") <= 0) {
            state.SkipWithError("the memory probes failed");
            break;
        }
        editorKiB = static_cast<double>(editor->Printed("vmhwm_kb"));
        bareKiB = static_cast<double>(bare->Printed("vmhwm_kb"));
    }
    const double budget = bareKiB + BudgetKiBPerStep * Steps;
    state.counters["editor_kib"] = editorKiB;
    state.counters["bare_kib"] = bareKiB;
    state.counters["budget_kib"] = budget;
    state.counters["editor_per_budget"] = budget > 0 ? editorKiB / budget : 0;
    state.counters["kib_per_step"] = (editorKiB - bareKiB) / Steps;
}

BENCHMARK(BM_KitBuild)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenStory)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_OpisKeystroke)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_FormToSource)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_SourceToForm)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_KitCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProblemsChoiceTooLong)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ProblemsChoiceFixed)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ProblemsChoiceShortened)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ProblemsTargetChanged)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CheckText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProblemsPanelShow)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return bench::RunEditorBenchmarks(argc, argv);
}
