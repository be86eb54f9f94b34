#include "kit/Cli.h"

#include "kit/Build.h"
#include "kit/Check.h"
#include "kit/Map.h"
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

constexpr const char* Help = R"(Usage: przygoda-kit COMMAND [OPTION]... FILE
Builds, unpacks, checks and maps scenarios of the Przygoda player.

Commands:
  build STORY.txt [-o FOLDER] [--force]
                      compile a story source into NAME.Kro and NAME.lis in FOLDER
                      (default: the source's folder)
  unpack NAME.Kro [-o STORY.txt] [--force]
                      write a scenario back as story source (default: to standard output)
  check FILE [--json] [--no-media]
                      report what a player would meet: a scenario, or a story source
                      (a FILE ending in .txt)
  map FILE [-o OUTPUT] [--force]
                      draw the story as a graph: DOT to standard output, or OUTPUT
                      ending in .dot, .gv, .svg or .png (drawn by Graphviz's neato)

Options:
  -o, --output PATH   where to write
  -f, --force         replace existing files
      --json          check: findings as JSON
      --no-media      check: do not look at pictures and sounds
  -h, --help          show this help and exit
  -V, --version       show the version and exit

Exit status: 0 done (check: no errors), 1 the input has errors, 2 trouble
(a usage mistake, a file that cannot be read or written).
See przygoda-kit(1) and docs/authoring.md.
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

// A compiled story as the input of check or map, in memory; its media beside where build puts it.
std::unique_ptr<ScenarioInput> StoryInput(const std::string& storyPath) {
    const CompiledStory story = LoadStory(storyPath);
    const std::string kro = ScenarioPath(story, storyPath, FolderOf(storyPath));
    std::vector<scenario::TKrokRec> records;
    std::vector<std::uint8_t> types;
    for (const scenario::StepRecord& step : story.records) {
        records.push_back(scenario::EncodeStep(step));
        types.push_back(step.Typ);
    }
    return std::make_unique<MemoryInput>(kro, FolderOf(storyPath), std::move(records), std::move(types));
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
    if (!o.force && ::access(o.output->c_str(), F_OK) == 0) {
        throw scenario::WriteError(*o.output, EEXIST);
    }
    std::ostringstream text;
    kit::Unpack(input, name, text);
    scenario::AtomicFile file(*o.output);
    file.Write(text.str());
    file.Commit(o.force);
    return ExitOk;
}

int Check(const Options& o, std::ostream& out) {
    std::unique_ptr<ScenarioInput> input;
    try {
        input = OpenInput(o.file);
    } catch (const SourceErrors& e) {
        // The source's own mistakes, each already "FILE:LINE: message".
        for (std::size_t i = 0; i < e.errors().size(); ++i) {
            if (o.json) {
                out << (i == 0 ? "[\n  " : ",\n  ") << "{\"file\": " << JsonString(o.file)
                    << ", \"severity\": \"error\", \"message\": " << JsonString(e.errors()[i]) << "}";
            } else {
                out << e.errors()[i] << "\n";
            }
        }
        out << (o.json ? "\n]\n" : "");
        return ExitErrors;
    }
    std::unique_ptr<MediaProbe> media;
    if (o.media) {
        media = std::make_unique<PlayerMediaProbe>();
    }
    std::unique_ptr<FindingSink> sink;
    if (o.json) {
        sink = std::make_unique<JsonSink>(out);
    } else {
        sink = std::make_unique<TextSink>(out);
    }
    const CheckSummary summary = CheckScenario(*input, media.get(), *sink);
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
    if (!o.force && ::access(path.c_str(), F_OK) == 0) {
        throw scenario::WriteError(path, EEXIST);
    }
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
        for (const std::string& error : e.errors()) {
            err << error << "\n";
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
