#include "kit/Cli.h"

#include "kit/Build.h"
#include "kit/Check.h"
#include "kit/Map.h"
#include "kit/PlayerMediaProbe.h"
#include "kit/Unpack.h"
#include "scenario/AtomicFile.h"
#include "scenario/IoError.h"
#include "scenario/StepRecord.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>

#ifndef PRZYGODA_VERSION
#define PRZYGODA_VERSION "unknown"
#endif

namespace kit {

namespace {

constexpr const char* Program = "przygoda-kit";

constexpr const char* Help = R"(Użycie: przygoda-kit POLECENIE [OPCJA]... PLIK
Buduje, rozpakowuje, sprawdza i rysuje scenariusze gracza Przygoda.

Polecenia:
  build HISTORIA.txt [-o FOLDER] [--force]
                      kompiluje źródło historii do NAZWA.Kro i NAZWA.lis w FOLDERZE
                      (domyślnie: w folderze źródła)
  unpack NAZWA.Kro [-o HISTORIA.txt] [--force]
                      zapisuje scenariusz z powrotem jako źródło historii
                      (domyślnie: na standardowe wyjście)
  check PLIK [--json] [--no-media]
                      zgłasza to, na co natrafi gracz: w scenariuszu albo w źródle
                      historii (PLIK kończący się na .txt)
  map PLIK [-o WYJŚCIE] [--force]
                      rysuje historię jako graf: DOT na standardowe wyjście albo do
                      pliku WYJŚCIE kończącego się na .dot, .gv, .svg lub .png
                      (dwa ostatnie rysuje program neato z pakietu Graphviz)

Opcje:
  -o, --output PLIK   dokąd zapisać
  -f, --force         zastąp istniejące pliki
      --json          check: ustalenia w formacie JSON
      --no-media      check: bez sprawdzania obrazów i dźwięków
  -h, --help          pokaż tę pomoc i zakończ
  -V, --version       pokaż wersję i zakończ

Kod wyjścia: 0 zrobione (check: bez błędów), 1 wejście ma błędy, 2 kłopot
(pomyłka w wywołaniu, plik, którego nie da się odczytać albo zapisać).
Zobacz przygoda-kit(1) i docs/authoring.md.
)";

struct Usage {
    std::string message;
};

struct Options {
    std::string command;
    std::string file;
    std::optional<std::string> output;
    bool force = false;
    bool json = false;
    bool media = true;
};

Options ParseArgs(const std::vector<std::string>& args) {
    Options o;
    bool positional = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (positional || a.empty() || a.front() != '-' || a == "-") {
            (o.command.empty() ? o.command : files.emplace_back()) = a;
        } else if (a == "--") {
            positional = true;
        } else if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) {
                throw Usage{"opcja " + a + " wymaga ścieżki"};
            }
            o.output = args[++i];
        } else if (a.starts_with("--output=")) {
            o.output = a.substr(9);
        } else if (a == "-f" || a == "--force") {
            o.force = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--no-media") {
            o.media = false;
        } else {
            throw Usage{"nieznana opcja " + a};
        }
    }
    static const std::vector<std::string> commands{"build", "unpack", "check", "map"};
    if (o.command.empty()) {
        throw Usage{"brak polecenia (build, unpack, check, map)"};
    }
    if (std::find(commands.begin(), commands.end(), o.command) == commands.end()) {
        throw Usage{"nieznane polecenie " + o.command};
    }
    if (files.size() != 1) {
        throw Usage{o.command + ": " + (files.empty() ? "brak pliku" : "za dużo plików")};
    }
    o.file = files.front();
    if (o.json && o.command != "check") {
        throw Usage{"--json jest tylko dla check"};
    }
    if (o.output && o.command == "check") {
        throw Usage{"check nie zapisuje plików (-o)"};
    }
    return o;
}

bool IsSource(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A compiled story as the input of map, in memory; its media beside where build puts it.
std::unique_ptr<ScenarioInput> StoryInput(const std::string& storyPath) {
    const CompiledStory story = LoadStory(storyPath);
    const std::string folder = FolderOf(storyPath);
    return CompiledInput(story, ScenarioPath(story, storyPath, folder), folder);
}

std::unique_ptr<ScenarioInput> OpenInput(const std::string& path) {
    if (IsSource(path)) {
        return StoryInput(path);
    }
    return std::make_unique<FileInput>(path);
}

int Build(const Options& o) {
    const CompiledStory story = LoadStory(o.file);
    const std::string kro = ScenarioPath(story, o.file, o.output.value_or(FolderOf(o.file)));
    if (!IsScenarioName(BaseName(kro).substr(0, BaseName(kro).size() - 4))) {
        throw std::runtime_error(
            o.file +
            ": nazwy scenariusza nie da się wziąć z nazwy pliku; podaj ją wierszem „scenariusz NAZWA”");
    }
    WriteStory(story, kro, o.force);
    return ExitOk;
}

int Unpack(const Options& o, std::ostream& out) {
    FileInput input(o.file);
    const std::string base = BaseName(o.file);
    const std::string name = base.substr(0, base.find('.'));
    if (!o.output || *o.output == "-") {
        kit::Unpack(input, name, out);
        return ExitOk;
    }
    scenario::RefuseExisting(*o.output, o.force);
    std::ostringstream text;
    kit::Unpack(input, name, text);
    scenario::AtomicFile file(*o.output);
    file.Write(text.str());
    file.Commit(o.force);
    return ExitOk;
}

int Check(const Options& o, std::ostream& out) {
    std::unique_ptr<FindingSink> sink;
    if (o.json) {
        sink = std::make_unique<JsonSink>(out);
    } else {
        sink = std::make_unique<TextSink>(out);
    }
    std::unique_ptr<MediaProbe> media;
    if (o.media) {
        media = std::make_unique<PlayerMediaProbe>();
    }
    const CheckSummary summary =
        IsSource(o.file) ? CheckStorySource(ReadSource(o.file), o.file, media.get(), *sink)
                         : CheckScenario(*std::make_unique<FileInput>(o.file), media.get(), *sink);
    return summary.errors > 0 ? ExitErrors : ExitOk;
}

int Map(const Options& o, std::ostream& out) {
    std::unique_ptr<ScenarioInput> input = OpenInput(o.file);
    if (!o.output || *o.output == "-") {
        WriteDot(*input, out);
        return ExitOk;
    }
    const std::string& path = *o.output;
    const std::size_t dot = path.find_last_of('.');
    const std::string ext = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    if (ext != "dot" && ext != "gv" && ext != "svg" && ext != "png") {
        throw Usage{"map: plik wyjściowy kończy się na .dot, .gv, .svg albo .png, nie " + path};
    }
    scenario::RefuseExisting(path, o.force);
    if (ext == "dot" || ext == "gv") {
        std::ostringstream text;
        WriteDot(*input, text);
        scenario::AtomicFile file(path);
        file.Write(text.str());
        file.Commit(o.force);
        return ExitOk;
    }
    // dot reads the graph from a file of ours, removed whatever happens.
    const char* tmp = std::getenv("TMPDIR");
    std::string temporary =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/przygoda-kit-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        throw scenario::WriteError(temporary, errno);
    }
    ::close(fd);
    struct Remove {
        std::string path;
        ~Remove() { ::unlink(path.c_str()); }
    } remove{temporary};
    {
        std::ostringstream text;
        WriteDot(*input, text, true);
        std::FILE* f = std::fopen(temporary.c_str(), "wb");
        const std::string s = text.str();
        if (f == nullptr || std::fwrite(s.data(), 1, s.size(), f) != s.size() || std::fclose(f) != 0) {
            throw scenario::WriteError(temporary, errno);
        }
    }
    RunDot(temporary, ext, path, o.force);
    return ExitOk;
}

} // namespace

int RunKit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    for (const std::string& a : args) {
        if (a == "--") {
            break;
        }
        if (a == "-h" || a == "--help") {
            out << Help;
            return ExitOk;
        }
        if (a == "-V" || a == "--version") {
            out << Program << " " << PRZYGODA_VERSION << "\n";
            return ExitOk;
        }
    }
    try {
        const Options o = ParseArgs(args);
        if (o.command == "build") {
            return Build(o);
        }
        if (o.command == "unpack") {
            return Unpack(o, out);
        }
        if (o.command == "check") {
            return Check(o, out);
        }
        return Map(o, out);
    } catch (const Usage& e) {
        err << Program << ": " << e.message << "\n"
            << "Więcej: " << Program << " --help\n";
        return ExitTrouble;
    } catch (const SourceErrors& e) {
        TextSink sink(err);
        for (const Finding& error : e.errors()) {
            sink.Report(error);
        }
        return ExitErrors;
    } catch (const scenario::WriteError& e) {
        err << Program << ": " << e.path() << ": "
            << (e.error() == EEXIST ? "plik już istnieje (--force go zastąpi)" : std::strerror(e.error()))
            << "\n";
        return ExitTrouble;
    } catch (const std::exception& e) {
        err << Program << ": " << e.what() << "\n";
        return ExitTrouble;
    }
}

} // namespace kit
