#include "kit/Check.h"

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

// What the report needs of a record once the pass has moved on.
struct Local {
    std::array<char, 20> name{};
    std::uint8_t nameLength = 0;
    std::uint8_t choiceText = 0; // bit k-1: choice k has a text
    std::uint8_t full = 0;       // bit i: text field i fills its field
    std::uint8_t over = 0;       // bit i: its stored length exceeds the field
};

// The media a record names: index + 1 into the media results, 0 for none. Kept only when media are looked at.
struct MediaIds {
    std::uint32_t picture = 0;
    std::uint32_t sound = 0;
};

struct MediaResults {
    std::unordered_map<std::string, std::uint32_t> pictures;
    std::unordered_map<std::string, std::uint32_t> sounds;
    std::vector<std::optional<MediaProblem>> problems;

    std::uint32_t Look(std::unordered_map<std::string, std::uint32_t>& seen, const std::string& name,
                       const auto& probe) {
        if (name.empty()) {
            return 0;
        }
        const auto [it, fresh] = seen.emplace(name, 0);
        if (fresh) {
            problems.push_back(probe());
            it->second = static_cast<std::uint32_t>(problems.size());
        }
        return it->second;
    }
};

class Reporter {
  public:
    Reporter(FindingSink& sink, const std::string& file) : sink_(sink), file_(file) {}

    // The record the next findings are about, and its name in code page 1250 (decoded only when reported).
    void Record(std::int64_t record, std::string_view name) {
        record_ = record;
        name_ = name;
    }
    void Error(const std::string& message) { Report(Severity::Error, message); }
    void Warning(const std::string& message) { Report(Severity::Warning, message); }
    void Report(Severity severity, const std::string& message) {
        sink_.Report(Finding{file_, record_, scenario::Cp1250ToUtf8(name_), severity, message});
        ++(severity == Severity::Error ? summary_.errors : summary_.warnings);
    }
    const CheckSummary& Summary() const { return summary_; }

  private:
    FindingSink& sink_;
    const std::string& file_;
    std::int64_t record_ = 0;
    std::string_view name_;
    CheckSummary summary_;
};

std::string Quoted(int code) {
    return "„" + scenario::IoErrorMessage(code) + "”";
}

void ReportTarget(Reporter& report, std::int64_t kroRecords, std::int64_t lisRecords, int k, std::int64_t t) {
    const std::string choice = "wybór " + std::to_string(k) + " prowadzi do rekordu " + std::to_string(t);
    if (t < 0) {
        report.Error(choice + ", przed początkiem pliku: gracz pokaże " +
                     Quoted(scenario::iocode::NegativeSeek));
    } else if (t >= kroRecords) {
        report.Error(choice + ", a plik kroków ma " + Count(kroRecords, "rekord", "rekordy", "rekordów") +
                     " (o " + std::to_string(t - kroRecords + 1) + " za daleko): gracz pokaże " +
                     Quoted(scenario::iocode::ReadBeyondEnd));
    } else if (t >= lisRecords) {
        report.Error(choice + ", a lista typów ma " + Count(lisRecords, "rekord", "rekordy", "rekordów") +
                     ": gracz pokaże " + Quoted(scenario::iocode::ReadBeyondEnd));
    } else {
        report.Warning(choice + ": tak wygląda cel, którego nie wpisano; czy to zamierzone?");
    }
}

} // namespace

StoryGraph ReadGraph(ScenarioInput& input) {
    StoryGraph graph;
    graph.Reserve(input.KroRecords());
    input.ForEach(
        [&](std::int64_t, KrokSpan krok, std::optional<std::uint8_t> typ) { graph.Add(krok, typ); });
    graph.Analyse();
    return graph;
}

CheckSummary CheckScenario(ScenarioInput& input, MediaProbe* media, FindingSink& sink) {
    const std::int64_t records = input.KroRecords();
    const std::int64_t lisRecords = input.LisRecords();
    StoryGraph graph;
    graph.Reserve(records);
    std::vector<Local> locals;
    locals.reserve(static_cast<std::size_t>(records));
    std::vector<MediaIds> mediaIds;
    MediaResults found;
    input.ForEach([&](std::int64_t, KrokSpan krok, std::optional<std::uint8_t> typ) {
        Local local;
        for (std::size_t i = 0; i < TextFields.size(); ++i) {
            const std::uint8_t length = krok[TextFields[i].offset];
            local.full |= static_cast<std::uint8_t>(length >= TextFields[i].max ? 1u << i : 0u);
            local.over |= static_cast<std::uint8_t>(length > TextFields[i].max ? 1u << i : 0u);
            if (i >= 1 && i <= 4 && length > 0) {
                local.choiceText |= static_cast<std::uint8_t>(1u << (i - 1));
            }
        }
        local.nameLength =
            static_cast<std::uint8_t>(std::min<std::size_t>(krok[0], scenario::krok::Nazwa.max));
        std::copy_n(krok.begin() + 1, local.nameLength, local.name.begin());
        if (media != nullptr) {
            const std::string bmp = scenario::ReadShortString(krok, scenario::krok::Bmp);
            const std::string wav = scenario::ReadShortString(krok, scenario::krok::Wav);
            mediaIds.push_back(
                {found.Look(found.pictures, bmp, [&] { return media->Picture(input.Folder(), bmp); }),
                 found.Look(found.sounds, wav, [&] { return media->Sound(input.Folder(), wav); })});
        }
        locals.push_back(local);
        graph.Add(krok, typ);
    });
    graph.Analyse();

    Reporter report(sink, input.Name());
    if (records < 2) {
        report.Record(1, "");
        report.Error("plik kroków ma " + Count(records, "rekord", "rekordy", "rekordów") +
                     ", a gra zaczyna się od rekordu 1: gracz pokaże " +
                     Quoted(scenario::iocode::ReadBeyondEnd));
    } else if (lisRecords < 2) {
        report.Record(1, "");
        report.Error("lista typów ma " + Count(lisRecords, "rekord", "rekordy", "rekordów") +
                     ", a gra zaczyna się od rekordu 1: gracz pokaże " +
                     Quoted(scenario::iocode::ReadBeyondEnd));
    }
    for (std::int64_t r = 0; r < records; ++r) {
        const Local& local = locals[static_cast<std::size_t>(r)];
        if (graph.Placeholder(r)) {
            continue;
        }
        report.Record(r, std::string_view(local.name.data(), local.nameLength));
        if (r == lisRecords) {
            report.Error("lista typów kończy się przed tym rekordem: ma " +
                         Count(lisRecords, "rekord", "rekordy", "rekordów") + ", plik kroków " +
                         std::to_string(records) + "; rekordy od " + std::to_string(r) +
                         " nie mają typu i gracz pokaże przy nich " +
                         Quoted(scenario::iocode::ReadBeyondEnd));
        }
        const bool typed = r < lisRecords;
        const std::uint8_t typ = graph.Typ(r);
        const bool carriesOver = !scenario::OpenAfter(typ, std::nullopt).has_value();
        if (typed && carriesOver) {
            report.Warning("typu " + std::to_string(typ) +
                           " nie ma w tablicy przycisków: gracz zostawi przyciski takie, jakie były na "
                           "poprzednim kroku");
        }
        if (typed && r == 1 && typ == scenario::TypKoniec) {
            report.Warning(
                "krok 1 ma typ Koniec, ale gra na nim się nie kończy: krok 1 zawsze włącza tylko przycisk 1");
        }
        for (std::size_t i = 0; (local.full >> i) != 0; ++i) {
            const std::string field = FieldNames[i];
            const long long max = static_cast<long long>(TextFields[i].max);
            if (local.over & (1u << i)) {
                report.Warning(field + ": zapisana długość przekracza pole; gracz pokaże tylko pierwsze " +
                               Chars(max));
            } else if (local.full & (1u << i)) {
                report.Warning(field + " wypełnia całe pole (" + Chars(max) +
                               "): czy tekst nie został ucięty?");
            }
        }
        // Unknown for a step nobody reaches that keeps the buttons it is reached with: nothing to say.
        const std::optional<int> open = graph.Open(r);
        for (int k = 1; k <= 4 && open; ++k) {
            const bool text = (local.choiceText & (1u << (k - 1))) != 0;
            if (k <= *open) {
                if (!text) {
                    report.Warning("przycisk " + std::to_string(k) + " jest włączony, ale wybór " +
                                   std::to_string(k) + " nie ma tekstu");
                }
                const std::int64_t t = graph.Targets(r)[static_cast<std::size_t>(k - 1)];
                if (t == 0 || !graph.Valid(t)) {
                    ReportTarget(report, records, lisRecords, k, t);
                }
            } else if (text) {
                report.Warning("wybór " + std::to_string(k) + " ma tekst, ale przycisk " + std::to_string(k) +
                               " nigdy nie jest tu włączony (typ " + std::to_string(typ) + ")");
            }
        }
        if (graph.CanStart() && typed) {
            if (!graph.Reachable(r)) {
                report.Warning("do tego kroku nie prowadzi żadna droga od kroku 1");
            }
            if (graph.Trap(r)) {
                report.Error("pułapka: stąd nie da się dojść do żadnego zakończenia");
            }
        }
        for (const std::uint32_t id : mediaIds.empty()
                                          ? std::array<std::uint32_t, 2>{}
                                          : std::array{mediaIds[static_cast<std::size_t>(r)].picture,
                                                       mediaIds[static_cast<std::size_t>(r)].sound}) {
            if (id != 0 && found.problems[id - 1]) {
                report.Report(found.problems[id - 1]->severity, found.problems[id - 1]->message);
            }
        }
    }
    if (input.KroTailBytes() > 0) {
        report.Record(records, "");
        report.Warning("plik kroków kończy się niepełnym rekordem (" +
                       Count(input.KroTailBytes(), "bajt", "bajty", "bajtów") +
                       "), którego gracz nigdy nie czyta");
    }
    if (graph.CanStart()) {
        bool anyEnding = false;
        for (std::int64_t r = 0; r < graph.Readable() && !anyEnding; ++r) {
            anyEnding = graph.EndsHere(r);
        }
        if (!anyEnding) {
            // CanStart: record 1 exists.
            report.Record(1, std::string_view(locals[1].name.data(), locals[1].nameLength));
            report.Error("żadna droga od kroku 1 nie prowadzi do zakończenia (kroku typu 2)");
        }
    }
    sink.Finish();
    return report.Summary();
}

} // namespace kit
