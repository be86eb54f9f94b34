#include "kit/Check.h"

#include "kit/CheckPass.h"
#include "kit/SourceCheck.h"

#include "kit/Build.h"
#include "kit/Graph.h"
#include "kit/Polish.h"
#include "scenario/Cp1250.h"
#include "scenario/IoError.h"
#include "scenario/StepRecord.h"
#include "scenario/StepTypes.h"

#include <unordered_map>

namespace kit {

namespace {

using scenario::TextFields;

constexpr const char* FieldNames[] = {"nazwa kroku", "wybór 1", "wybór 2",      "wybór 3",
                                      "wybór 4",     "opis",    "nazwa obrazu", "nazwa dźwięku"};

class Reporter {
  public:
    Reporter(FindingSink& sink, const std::string& file) : sink_(sink) { finding_.file = file; }

    // The record the next findings are about, and its name in code page 1250 (decoded only when reported).
    void Record(std::int64_t record, std::string_view name) {
        finding_.record = record;
        name_ = name;
        decoded_ = false;
    }
    void Error(const std::string& message) { Report(Severity::Error, message); }
    void Warning(const std::string& message) { Report(Severity::Warning, message); }
    void Report(Severity severity, const std::string& message) {
        // One finding reused: a big story has a hundred thousand findings, each otherwise three new strings.
        if (!decoded_) {
            finding_.name = scenario::Cp1250ToUtf8(name_);
            decoded_ = true;
        }
        finding_.severity = severity;
        finding_.message = message;
        sink_.Report(finding_);
        ++(severity == Severity::Error ? summary_.errors : summary_.warnings);
    }
    const CheckSummary& Summary() const { return summary_; }

  private:
    FindingSink& sink_;
    Finding finding_;
    std::string_view name_;
    bool decoded_ = false;
    CheckSummary summary_;
};

std::string Quoted(int code) {
    return "„" + scenario::IoErrorMessage(code) + "”";
}

std::string RecordCount(std::int64_t n) {
    return Count(n, "rekord", "rekordy", "rekordów");
}

} // namespace

Local ReadLocal(KrokSpan krok) {
    Local local;
    for (std::size_t i = 0; i < TextFields.size(); ++i) {
        const std::uint8_t length = krok[TextFields[i].offset];
        local.full |= static_cast<std::uint8_t>(length >= TextFields[i].max ? 1u << i : 0u);
        local.over |= static_cast<std::uint8_t>(length > TextFields[i].max ? 1u << i : 0u);
        if (i >= 1 && i <= 4 && length > 0) {
            local.choiceText |= static_cast<std::uint8_t>(1u << (i - 1));
        }
    }
    local.nameLength = static_cast<std::uint8_t>(std::min<std::size_t>(krok[0], scenario::krok::Nazwa.max));
    std::copy_n(krok.begin() + 1, local.nameLength, local.name.begin());
    return local;
}

Pass ReadScenario(ScenarioInput& input, MediaProbe* media) {
    Pass pass;
    pass.records = input.KroRecords();
    pass.lisRecords = input.LisRecords();
    pass.tailBytes = input.KroTailBytes();
    pass.graph.Reserve(pass.records);
    pass.locals.reserve(static_cast<std::size_t>(pass.records));
    MediaResults& found = pass.media;
    input.ForEach([&](std::int64_t, KrokSpan krok, std::optional<std::uint8_t> typ) {
        pass.locals.push_back(ReadLocal(krok));
        if (media != nullptr) {
            const std::string bmp = scenario::ReadShortString(krok, scenario::krok::Bmp);
            const std::string wav = scenario::ReadShortString(krok, scenario::krok::Wav);
            pass.mediaIds.push_back(
                {found.Look(found.pictures, bmp, [&] { return media->Picture(input.Folder(), bmp); }),
                 found.Look(found.sounds, wav, [&] { return media->Sound(input.Folder(), wav); })});
        }
        pass.graph.Add(krok, typ);
    });
    pass.graph.Analyse();
    return pass;
}

namespace {

// Files too short for the game to start at record 1.
void ReportStart(Reporter& report, const Pass& pass) {
    const char* const file = pass.records < 2 ? "plik kroków ma " : "lista typów ma ";
    const std::int64_t count = pass.records < 2 ? pass.records : pass.lisRecords;
    if (count < 2) {
        report.Record(1, "");
        report.Error(file + RecordCount(count) + ", a gra zaczyna się od rekordu 1: gracz pokaże " +
                     Quoted(scenario::iocode::ReadBeyondEnd));
    }
}

void ReportType(Reporter& report, const Pass& pass, std::int64_t r) {
    if (r == pass.lisRecords) {
        report.Error("lista typów kończy się przed tym rekordem: ma " + RecordCount(pass.lisRecords) +
                     ", plik kroków " + std::to_string(pass.records) + "; rekordy od " + std::to_string(r) +
                     " nie mają typu i gracz pokaże przy nich " + Quoted(scenario::iocode::ReadBeyondEnd));
    }
    if (r >= pass.lisRecords) {
        return;
    }
    const std::uint8_t typ = pass.graph.Typ(r);
    if (!scenario::OpenAfter(typ, std::nullopt).has_value()) {
        report.Warning("typu " + std::to_string(typ) +
                       " nie ma w tablicy przycisków: gracz zostawi przyciski takie, jakie były na "
                       "poprzednim kroku");
    }
    if (r == 1 && typ == scenario::TypKoniec) {
        report.Warning(
            "krok 1 ma typ Koniec, ale gra na nim się nie kończy: krok 1 zawsze włącza tylko przycisk 1");
    }
}

void ReportFields(Reporter& report, const Local& local) {
    for (std::size_t i = 0; (local.full >> i) != 0; ++i) {
        const std::string field = FieldNames[i];
        const long long max = static_cast<long long>(TextFields[i].max);
        if (local.over & (1u << i)) {
            report.Warning(field + ": zapisana długość przekracza pole; gracz pokaże tylko pierwsze " +
                           Chars(max));
        } else if (local.full & (1u << i)) {
            report.Warning(field + " wypełnia całe pole (" + Chars(max) + "): czy tekst nie został ucięty?");
        }
    }
}

void ReportTarget(Reporter& report, const Pass& pass, int k, std::int64_t t) {
    const std::string choice = "wybór " + std::to_string(k) + " prowadzi do rekordu " + std::to_string(t);
    if (t < 0) {
        report.Error(choice + ", przed początkiem pliku: gracz pokaże " +
                     Quoted(scenario::iocode::NegativeSeek));
    } else if (t >= pass.records) {
        report.Error(choice + ", a plik kroków ma " + RecordCount(pass.records) + " (o " +
                     std::to_string(t - pass.records + 1) + " za daleko): gracz pokaże " +
                     Quoted(scenario::iocode::ReadBeyondEnd));
    } else if (t >= pass.lisRecords) {
        report.Error(choice + ", a lista typów ma " + RecordCount(pass.lisRecords) + ": gracz pokaże " +
                     Quoted(scenario::iocode::ReadBeyondEnd));
    } else {
        report.Warning(choice + ": tak wygląda cel, którego nie wpisano; czy to zamierzone?");
    }
}

void ReportButtons(Reporter& report, const Pass& pass, std::int64_t r) {
    const StoryGraph& graph = pass.graph;
    const std::uint8_t choiceText = pass.locals[static_cast<std::size_t>(r)].choiceText;
    // Unknown for a step nobody reaches that keeps the buttons it is reached with: nothing to say.
    const std::optional<int> open = graph.Open(r);
    for (int k = 1; k <= 4 && open; ++k) {
        const bool text = (choiceText & (1u << (k - 1))) != 0;
        if (k <= *open) {
            if (!text) {
                report.Warning("przycisk " + std::to_string(k) + " jest włączony, ale wybór " +
                               std::to_string(k) + " nie ma tekstu");
            }
            const std::int64_t t = graph.Targets(r)[static_cast<std::size_t>(k - 1)];
            if (t == 0 || !graph.Valid(t)) {
                ReportTarget(report, pass, k, t);
            }
        } else if (text) {
            report.Warning("wybór " + std::to_string(k) + " ma tekst, ale przycisk " + std::to_string(k) +
                           " nigdy nie jest tu włączony (typ " + std::to_string(graph.Typ(r)) + ")");
        }
    }
}

void ReportWays(Reporter& report, const Pass& pass, std::int64_t r) {
    if (!pass.graph.CanStart() || r >= pass.lisRecords) {
        return;
    }
    if (!pass.graph.Reachable(r)) {
        report.Warning("do tego kroku nie prowadzi żadna droga od kroku 1");
    }
    if (pass.graph.Trap(r)) {
        report.Error("pułapka: stąd nie da się dojść do żadnego zakończenia");
    }
}

void ReportMedia(Reporter& report, const Pass& pass, std::int64_t r) {
    if (pass.mediaIds.empty()) {
        return;
    }
    const MediaIds& ids = pass.mediaIds[static_cast<std::size_t>(r)];
    for (const std::uint32_t id : {ids.picture, ids.sound}) {
        if (id != 0 && pass.media.problems[id - 1]) {
            report.Report(pass.media.problems[id - 1]->severity, pass.media.problems[id - 1]->message);
        }
    }
}

// What concerns the whole file: an incomplete record at its end, and a story without a way to an ending.
void ReportEnd(Reporter& report, const Pass& pass) {
    if (pass.tailBytes > 0) {
        report.Record(pass.records, "");
        report.Warning("plik kroków kończy się niepełnym rekordem (" +
                       Count(pass.tailBytes, "bajt", "bajty", "bajtów") + "), którego gracz nigdy nie czyta");
    }
    const StoryGraph& graph = pass.graph;
    if (!graph.CanStart()) {
        return;
    }
    bool anyEnding = false;
    for (std::int64_t r = 0; r < graph.Readable() && !anyEnding; ++r) {
        anyEnding = graph.EndsHere(r);
    }
    if (!anyEnding) {
        report.Record(1, pass.Name(1)); // CanStart: record 1 exists
        report.Error("żadna droga od kroku 1 nie prowadzi do zakończenia (kroku typu 2)");
    }
}

} // namespace

CheckSummary ReportFindings(const Pass& pass, const std::string& file, FindingSink& sink) {
    Reporter report(sink, file);
    ReportStart(report, pass);
    for (std::int64_t r = 0; r < pass.records; ++r) {
        if (pass.graph.Placeholder(r)) {
            continue;
        }
        report.Record(r, pass.Name(r));
        ReportType(report, pass, r);
        ReportFields(report, pass.locals[static_cast<std::size_t>(r)]);
        ReportButtons(report, pass, r);
        ReportWays(report, pass, r);
        ReportMedia(report, pass, r);
    }
    ReportEnd(report, pass);
    sink.Finish();
    return report.Summary();
}

CheckSummary CheckScenario(ScenarioInput& input, MediaProbe* media, FindingSink& sink, StoryGraph* graph) {
    if (media != nullptr) {
        media->NewCheck();
    }
    Pass pass = ReadScenario(input, media);
    const CheckSummary summary = ReportFindings(pass, input.Name(), sink);
    if (graph != nullptr) {
        *graph = std::move(pass.graph);
    }
    return summary;
}

CheckSummary CheckStorySource(std::string_view text, const std::string& storyPath, MediaProbe* media,
                              FindingSink& sink, StoryGraph* graph) {
    SourceCheck check;
    const CheckSummary summary = check.Whole(text, storyPath, media, sink);
    if (graph != nullptr) {
        *graph = check.TakeGraph();
    }
    return summary;
}

} // namespace kit
