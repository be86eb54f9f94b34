// The check kept between edits of a story source: after any line edits, whichever way it takes (the one
// edited step read again, or the whole source), its findings, their order and the summary are those of a
// fresh check of the edited text; and it takes the step's way exactly when the edits allow it.
#include "kit/Check.h"
#include "kit/PlayerMediaProbe.h"
#include "kit/Source.h"
#include "kit/SourceCheck.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Files.h"
#include "tests/support/SourceLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Lines counted from 0 as the cases name them. The file ends with a line break, so its last line is empty.
const char* const Story = R"(scenariusz Las
# Las: krótka opowieść, sprawdzana po każdej zmianie

krok @start Skraj lasu
typ Wybory1
obraz dobry.bmp
opis Stoisz na skraju lasu.
wybor 1 Idź ścieżką -> @sciezka

# dalej dwie drogi
krok @sciezka Ścieżka
typ Wybory2
opis Ścieżka wije się między drzewami.
wybor 2 Wejdź w gąszcz -> 3
wybor 1 Idź dalej wąską ścieżką, aż do starej polany. -> @polana
krok 3 Gąszcz
typ Wybory2
obraz zly.bmp
opis Gałęzie drapią ci ręce.
wybor 1 Wróć -> @start
wybor 2 Przedzieraj się -> @polana

krok 0 Zero
typ Wybory1
opis Krok, od którego gra nie zaczyna.
wybor 1 Na początek -> 1
krok 4 @polana Polana
typ Wybory1
obraz brak.bmp
opis Słońce grzeje trawę.
wybor 1 Dalej -> @koniec
# do jaskini nikt nie trafia
krok 6 Jaskinia
typ 0
opis W jaskini jest ciemno.
wybor 1 Wyjdź -> @koniec
krok 5 @koniec Koniec
typ Koniec
opis Wychodzisz z lasu.
)";

using fixtures::JoinLines;
using fixtures::SplitLines;

struct Texts : kit::FindingSink {
    std::vector<std::string> texts;
    void Report(const kit::Finding& f) override { texts.push_back(kit::FindingText(f)); }
};

enum class Way { Step, Whole };

std::ostream& operator<<(std::ostream& out, Way way) {
    return out << (way == Way::Step ? "the edited step" : "the whole source");
}

struct Edit {
    std::size_t first = 0;
    std::size_t removed = 0;
    std::vector<std::string> inserted;
};

// Edits told one by one, then one check.
struct Round {
    std::vector<Edit> edits;
    Way expected = Way::Step;
    bool findingsChange = false; // the fresh check's findings differ from the round before's
    std::function<void(const fs::path& folder)> before = {};
};

struct Case {
    std::string name;
    std::vector<Round> rounds;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

std::vector<Case> Cases() {
    const std::size_t end = SplitLines(Story).size(); // one past the last line
    return {
        {"OpisTextEdited", {{{{6, 1, {"opis Stoisz na skraju ciemnego lasu."}}}}}},
        {"ChoiceTextEdited", {{{{13, 1, {"wybor 2 Przeciśnij się przez gąszcz -> 3"}}}}}},
        {"SecondOpisLineAdded", {{{{7, 0, {"opis Za tobą zostaje łąka."}}}}}},
        {"CommentAndBlankLineInsideStep", {{{{13, 0, {"# notatka autora", ""}}}}}},
        {"QuotedOpisWithEscapes", {{{{29, 1, {R"(opis "Słońce \"grzeje\" \x9Cwiat")"}}}}}},
        {"ImplicitNumberWrittenAsBefore", {{{{15, 1, {"krok Gąszcz"}}}}}},
        {"TypWrittenAsItsNumber", {{{{27, 1, {"typ 3"}}}}}},
        {"FullChoiceShortened", {{{{14, 1, {"wybor 1 Idź dalej -> @polana"}}}, Way::Step, true}}},
        {"ChoiceTooLongThenPutRight",
         {{{{14, 1, {"wybor 1 Idź dalej wąską ścieżką, aż do starej polany!!! -> @polana"}}},
           Way::Step,
           true},
          {{{14, 1, {"wybor 1 Idź dalej ścieżką -> @polana"}}}, Way::Step, true}}},
        {"ChoiceOutsideCodePage", {{{{19, 1, {"wybor 1 Wróć Ж -> @start"}}}, Way::Step, true}}},
        {"OpisOverflowsWithSecondLine",
         {{{{30, 0, {"opis " + std::string(240, 'a')}}}, Way::Step, true},
          {{{30, 1, {"opis krótko"}}}, Way::Step, true},
          {{{35, 1, {"opis W jaskini jest zimno."}}}}}},
        {"TypLineRemovedThenBack",
         {{{{27, 1, {}}}, Way::Step, true}, {{{27, 0, {"typ Wybory1"}}}, Way::Step, true}}},
        {"TargetChanged", {{{{20, 1, {"wybor 2 Przedzieraj się -> 6"}}}, Way::Step, true}}},
        {"TargetLabelChanged", {{{{30, 1, {"wybor 1 Dalej -> @sciezka"}}}, Way::Step, true}}},
        {"TypChanged", {{{{27, 1, {"typ Koniec"}}}, Way::Step, true}}},
        {"NameOnKrokLineChanged", {{{{10, 1, {"krok @sciezka Wąska ścieżka"}}}, Way::Step, true}}},
        {"LabelChanged", {{{{10, 1, {"krok @droga Ścieżka"}}}, Way::Whole, true}}},
        {"NumberChanged", {{{{15, 1, {"krok 7 Gąszcz"}}}, Way::Whole, true}}},
        {"KrokLineInserted", {{{{21, 0, {"krok 7 Nowy", "typ Koniec"}}}, Way::Whole, true}}},
        {"KrokLineRemoved", {{{{26, 1, {"# tu była polana"}}}, Way::Whole, true}}},
        {"EditAboveFirstStep", {{{{1, 1, {"# inny komentarz"}}}, Way::Whole}}},
        {"ScenarioNameChanged", {{{{0, 1, {"scenariusz Bor"}}}, Way::Whole, true}}},
        {"EditsInTwoSteps", {{{{6, 1, {"opis Skraj."}}, {29, 1, {"opis Polana."}}}, Way::Whole}}},
        {"EditsInTwoStepsLaterFirst", {{{{29, 1, {"opis Polana."}}, {6, 1, {"opis Skraj."}}}, Way::Whole}}},
        {"OneEditAcrossTwoSteps",
         {{{{31, 2, {"# do jaskini nikt nie trafia", "krok 6 Jaskinia"}}}, Way::Whole}}},
        {"LastStepAppendedAtEndOfFile", {{{{end, 0, {"opis I dalej do domu."}}}}}},
        {"LastStepLastLineReplaced", {{{{end - 1, 1, {"opis I dalej do domu.", "", ""}}}}}},
        {"StepZeroEdited", {{{{24, 1, {"opis Inny opis."}}}, Way::Whole}}},
        {"PictureGoodThenBrokenThenMissing",
         {{{{5, 1, {"obraz zly.bmp"}}}, Way::Step, true},
          {{{5, 1, {"obraz nowy.bmp"}}}, Way::Step, true},
          {{{5, 1, {"obraz dobry.bmp"}}}, Way::Step, true}}},
        {"PictureCreatedOnDiskAfterWhole",
         {{{{18, 1, {"opis Gałęzie."}}},
           Way::Step,
           true,
           [](const fs::path& folder) {
               fixtures::WriteBytes(folder / "Obrazki" / "brak.bmp",
                                    fixtures::Bmp24(2, 2, [](int, int) { return 0x336699u; }));
           }}}},
        // The kept story follows the step's lines that moved.
        {"StepThenAnotherStepAfterLinesMoved",
         {{{{7, 0, {"opis Za tobą łąka.", "opis I pole."}}}},
          {{{31, 1, {"opis Słońce."}}}},
          {{{end + 1, 0, {"opis I dalej do domu."}}}},
          {{{3, 0, {"# skraj"}}}},
          {{{33, 1, {"wybor 1 Dalej -> @nikt"}}}, Way::Step, true}}},
        {"CommentBeforeKrokLineBelongsToItsStep",
         {{{{26, 0, {"# polana"}}}}, {{{30, 1, {"opis Cisza."}}}}, {{{18, 1, {"opis Gałęzie."}}}}}},
        {"MistakeInOneStepThenEditInAnother",
         {{{{14, 1, {"wybor 1 Idź dalej wąską ścieżką, aż do starej polany!!! -> @polana"}}},
           Way::Step,
           true},
          {{{29, 1, {"opis Polana."}}}, Way::Whole}}},
        {"WholeWithMistakesThenEditNeedsWhole",
         {{{{6, 1, {"opis Skraj."}}, {33, 1, {"typ 300"}}}, Way::Whole, true},
          {{{33, 1, {"typ 0"}}}, Way::Whole, true},
          {{{6, 1, {"opis Skraj lasu."}}}, Way::Step}}},
    };
}

// The story's pictures: dobry.bmp reads, zly.bmp does not, brak.bmp is missing.
void WritePictures(const fs::path& folder) {
    fs::create_directory(folder / "Obrazki");
    fixtures::WriteBytes(folder / "Obrazki" / "dobry.bmp",
                         fixtures::Bmp24(4, 3, [](int x, int y) { return 0x10000u * x + 0x100u * y; }));
    fixtures::WriteBytes(folder / "Obrazki" / "zly.bmp", {'B', 'M', 1, 2, 3});
}

class SourceCheckEdits : public testing::TestWithParam<Case> {
  protected:
    void SetUp() override { WritePictures(dir_.path()); }

    std::string StoryPath() const { return (dir_ / "las.txt").string(); }

    fixtures::TempDir dir_;
    kit::PlayerMediaProbe media_;
};

struct Outcome {
    std::vector<std::string> texts;
    kit::CheckSummary summary;
};

void ExpectSameGraph(const kit::StoryGraph& kept, const kit::StoryGraph& fresh) {
    ASSERT_EQ(kept.Records(), fresh.Records());
    for (std::int64_t r = 0; r < fresh.Records(); ++r) {
        EXPECT_EQ(kept.Typ(r), fresh.Typ(r)) << "record " << r;
        EXPECT_EQ(kept.Targets(r), fresh.Targets(r)) << "record " << r;
        EXPECT_EQ(kept.Reachable(r), fresh.Reachable(r)) << "record " << r;
        EXPECT_EQ(kept.Open(r), fresh.Open(r)) << "record " << r;
    }
}

TEST_P(SourceCheckEdits, FindingsAreThoseOfAFreshCheckOfTheEditedText) {
    std::vector<std::string> lines = SplitLines(Story);
    kit::SourceCheck check;
    Texts first;
    check.Whole(JoinLines(lines), StoryPath(), &media_, first);
    std::vector<std::string> previous = first.texts;

    const std::vector<Round>& rounds = GetParam().rounds;
    for (std::size_t n = 0; n < rounds.size(); ++n) {
        SCOPED_TRACE("round " + std::to_string(n + 1));
        const Round& round = rounds[n];
        if (round.before) {
            round.before(dir_.path());
        }
        for (const Edit& edit : round.edits) {
            ASSERT_LE(edit.first + edit.removed, lines.size());
            const auto at = lines.begin() + static_cast<std::ptrdiff_t>(edit.first);
            lines.erase(at, at + static_cast<std::ptrdiff_t>(edit.removed));
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(edit.first), edit.inserted.begin(),
                         edit.inserted.end());
            check.Edited(edit.first, edit.removed, edit.inserted.size());
        }
        const std::string text = JoinLines(lines);

        Outcome got;
        Way way = Way::Whole;
        Texts sink;
        if (const auto step = check.EditedStep()) {
            ASSERT_LE(step->first, step->end);
            ASSERT_LE(step->end, lines.size());
            if (const auto summary = check.Step(JoinLines(lines, step->first, step->end), &media_, sink)) {
                way = Way::Step;
                got = {sink.texts, *summary};
            } else {
                EXPECT_TRUE(sink.texts.empty()) << "a step check that gives up reports nothing";
            }
        }
        if (way == Way::Whole) {
            Texts whole;
            got.summary = check.Whole(text, StoryPath(), &media_, whole);
            got.texts = whole.texts;
        }

        Texts fresh;
        kit::StoryGraph freshGraph;
        const kit::CheckSummary summary =
            kit::CheckStorySource(text, StoryPath(), &media_, fresh, &freshGraph);
        EXPECT_EQ(way, round.expected);
        EXPECT_EQ(got.texts, fresh.texts) << text;
        EXPECT_EQ(got.summary.errors, summary.errors);
        EXPECT_EQ(got.summary.warnings, summary.warnings);
        EXPECT_EQ(fresh.texts != previous, round.findingsChange) << "the case does not test what it says";
        const bool mistakes = !kit::ParseStory(text, StoryPath()).errors.empty();
        ASSERT_EQ(check.Graph() == nullptr, mistakes);
        if (check.Graph() != nullptr) {
            ExpectSameGraph(*check.Graph(), freshGraph);
        }
        previous = fresh.texts;
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, SourceCheckEdits, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// The cases rely on the story as written: no mistakes, and each kind of finding they change is there.
TEST(SourceCheckStory, HasTheFindingsTheCasesChange) {
    fixtures::TempDir dir;
    WritePictures(dir.path());
    kit::PlayerMediaProbe media;
    Texts found;
    const kit::CheckSummary summary = kit::CheckStorySource(Story, (dir / "las.txt").string(), &media, found);
    const auto has = [&](const std::string& part) {
        return std::any_of(found.texts.begin(), found.texts.end(),
                           [&](const std::string& t) { return t.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(kit::ParseStory(Story, "las.txt").errors.empty());
    EXPECT_EQ(summary.errors, 1); // the broken picture
    EXPECT_TRUE(has("Las.Kro:2 (Ścieżka): ostrzeżenie: wybór 1 wypełnia całe pole"));
    EXPECT_TRUE(has("Las.Kro:6 (Jaskinia): ostrzeżenie: do tego kroku nie prowadzi żadna droga"));
    EXPECT_TRUE(has("Las.Kro:3 (Gąszcz): błąd: obraz Obrazki/zly.bmp nie wczytuje się"));
    EXPECT_TRUE(has("Las.Kro:4 (Polana): ostrzeżenie: brak obrazu Obrazki/brak.bmp"));
    EXPECT_FALSE(has("dobry.bmp"));
}

// A byte order mark before the first step's "krok" line: that step read on its own reads it as the whole
// source does.
TEST(SourceCheckStory, AFirstStepAfterAByteOrderMarkIsReadAsInTheWholeSource) {
    std::vector<std::string> lines = SplitLines(
        "\xEF\xBB\xBFkrok 1 Start\ntyp 1\nopis Tu.\nwybor 1 dalej -> 2\nkrok 2 Meta\ntyp 2\nopis Koniec.\n");
    kit::SourceCheck check;
    Texts first;
    check.Whole(JoinLines(lines), "/nigdzie/bom.txt", nullptr, first);
    lines[2] = "opis Tu jest " + std::string(300, 'a');
    check.Edited(2, 1, 1);
    const auto step = check.EditedStep();
    ASSERT_TRUE(step);
    EXPECT_EQ(step->first, 0u);
    Texts got;
    ASSERT_TRUE(check.Step(JoinLines(lines, step->first, step->end), nullptr, got));
    Texts fresh;
    kit::CheckStorySource(JoinLines(lines), "/nigdzie/bom.txt", nullptr, fresh);
    EXPECT_EQ(got.texts, fresh.texts);
    ASSERT_EQ(fresh.texts.size(), 1u);
    EXPECT_NE(fresh.texts[0].find("opis ma"), std::string::npos) << fresh.texts[0];
}

} // namespace
