#include "kit/Map.h"

#include "kit/Check.h"
#include "kit/Graph.h"
#include "kit/MapPlacer.h"
#include "scenario/AtomicFile.h"
#include "scenario/Cp1250.h"
#include "scenario/StepRecord.h"
#include "scenario/StepTypes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kit {

namespace {

constexpr std::size_t ShownWords = 6;
constexpr std::size_t ChoiceChars = 32;

std::string DotEscape(const std::string& utf8) {
    std::string out;
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// The first words of a description, with "…" when there is more.
std::string FirstWords(const std::string& cp1250) {
    std::size_t at = 0;
    for (std::size_t w = 0; w < ShownWords && at != std::string::npos; ++w) {
        at = cp1250.find(' ', at + 1);
    }
    return at == std::string::npos ? cp1250 : cp1250.substr(0, at) + "\x85";
}

std::string Shortened(const std::string& cp1250) {
    return cp1250.size() <= ChoiceChars ? cp1250 : cp1250.substr(0, ChoiceChars - 1) + "\x85";
}

std::string Label(const std::string& cp1250) {
    return DotEscape(scenario::Cp1250ToUtf8(cp1250));
}

// How many findings check has about each record; the story-wide ones name no record of their own.
class ProblemCounter : public FindingSink {
  public:
    void Report(const Finding& finding) override {
        if (finding.line == 0) {
            ++counts[finding.record];
        }
    }
    std::map<std::int64_t, int> counts;
};

} // namespace

void WriteDot(ScenarioInput& input, std::ostream& out, bool placed) {
    const StoryGraph graph = ReadGraph(input);
    ProblemCounter problems;
    CheckScenario(input, nullptr, problems);
    MapPlacer placer;
    out << "digraph przygoda {\n"
           "  graph [rankdir=TB, fontname=\"Sans\"];\n"
           "  node [shape=box, style=\"rounded,filled\", fillcolor=white, fontname=\"Sans\", fontsize=10];\n"
           "  edge [fontname=\"Sans\", fontsize=9];\n";
    input.ForEach([&](std::int64_t r, KrokSpan krok, std::optional<std::uint8_t> typ) {
        const scenario::StepRecord step = scenario::DecodeStep(krok, typ.value_or(0));
        if (graph.Placeholder(r)) {
            return;
        }
        const bool reachable = graph.Reachable(r);
        const bool ending = typ && *typ == scenario::TypKoniec;
        std::string attributes;
        std::string mark;
        if (r == 1) {
            attributes += ", penwidth=3, fillcolor=\"#bbdefb\"";
            mark = "start";
        }
        if (ending) {
            attributes += ", peripheries=2, fillcolor=\"#c8e6c9\"";
            mark = "zakończenie";
        }
        if (graph.Trap(r)) {
            attributes += ", fillcolor=\"#ffcdd2\"";
            mark = "pułapka";
        }
        if (!reachable) {
            attributes += ", style=\"rounded,dashed\", color=gray50, fontcolor=gray40";
            mark = "nieosiągalny";
        }
        std::string text = std::to_string(r) + ": " + Label(step.Nazwa);
        if (!mark.empty()) {
            text += " (" + mark + ")";
        }
        // Drawn last, so that the red border shows whatever else the step is.
        const auto found = problems.counts.find(r);
        if (found != problems.counts.end()) {
            attributes += ", color=\"#d32f2f\", penwidth=3";
            text += " – problemy: " + std::to_string(found->second);
        }
        text += "\\n" + Label(FirstWords(step.Opis));
        out << "  r" << r << " [label=\"" << text << "\"" << attributes << "];\n";
        if (placed) {
            placer.Step(r, text);
        }

        // No edges where the buttons are unknown: a step nobody reaches that keeps those it is reached with.
        const int open = graph.Open(r).value_or(0);
        for (int k = 1; k <= open; ++k) {
            const std::int64_t t = step.Krok_Wybrany[static_cast<std::size_t>(k - 1)];
            const std::string label =
                std::to_string(k) + ": " + Label(Shortened(step.Wybor[static_cast<std::size_t>(k - 1)]));
            if (graph.Valid(t)) {
                if (placed) {
                    placer.Choice(r, k, t, label);
                } else {
                    out << "  r" << r << " -> r" << t << " [label=\"" << label << "\"];\n";
                }
            } else {
                const std::string missing = "rekord " + std::to_string(t) + "\\nnie do odczytania";
                out << "  x" << r << "_" << k << " [label=\"" << missing
                    << "\", shape=octagon, fillcolor=\"#ef9a9a\"];\n";
                if (placed) {
                    placer.Unreadable(r, k, missing);
                    placer.ChoiceToUnreadable(r, k, label, ", color=red");
                } else {
                    out << "  r" << r << " -> x" << r << "_" << k << " [label=\"" << label
                        << "\", color=red];\n";
                }
            }
        }
    });
    if (placed) {
        placer.Write(out);
    }
    out << "}\n";
}

void RunDot(const std::string& dotFile, const std::string& format, const std::string& outputFile,
            bool replace) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const std::string type = "-T" + format;
    std::vector<char*> argv{const_cast<char*>("neato"), const_cast<char*>("-n2"),
                            const_cast<char*>(type.c_str()), const_cast<char*>(dotFile.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, "neato", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        throw std::runtime_error("nie można uruchomić programu neato (pakiet graphviz): " +
                                 std::string(std::strerror(spawned)));
    }
    scenario::AtomicFile output(outputFile);
    std::vector<std::uint8_t> buffer(1 << 16);
    bool failed = false;
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        output.Write(std::span(buffer.data(), static_cast<std::size_t>(n)));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(WIFEXITED(status) && WEXITSTATUS(status) == 127
                                     ? "nie znaleziono programu neato (pakiet graphviz)"
                                     : "program neato nie narysował mapy");
    }
    output.Commit(replace);
}

} // namespace kit
