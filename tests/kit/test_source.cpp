// The story source: what it compiles into, and every kind of mistake reported at its line.
#include "kit/Source.h"
#include "scenario/Cp1250.h"

#include <gtest/gtest.h>

namespace {

TEST(StorySource, NumbersStepsInOrderAndResolvesLabels) {
    // A byte order mark first, as some editors write it.
    const kit::ParseResult r = kit::ParseStory("\xEF\xBB\xBF"
                                               R"(scenariusz Las
krok @start Początek
typ Wybory2
opis Pierwsza linia
opis druga linia.
wybor 1 Dalej -> @koniec
wybor 2 "  W -> bok \"x\" \x81" -> -7
krok 5 @koniec Koniec
typ Koniec
obraz a.bmp
krok "7 kroków"
typ 200
krok 4 @bok
typ 1
krok 3
typ 0
krok 2
typ 0
)",
                                               "las.txt");
    ASSERT_TRUE(r.errors.empty()) << kit::FindingText(r.errors.front());
    EXPECT_EQ(r.story.scenarioName, "Las");
    ASSERT_EQ(r.story.records.size(), 7u); // 0 (left out, empty) to 6
    const auto& start = r.story.records[1];
    EXPECT_EQ(start.Nazwa, scenario::Utf8ToCp1250("Początek"));
    EXPECT_EQ(start.Opis, "Pierwsza linia druga linia.");
    EXPECT_EQ(start.Wybor[1], "  W -> bok \"x\" \x81");
    EXPECT_EQ(start.Krok_Wybrany, (std::array<std::int32_t, 4>{5, -7, 0, 0}));
    EXPECT_EQ(start.Typ, 4);
    EXPECT_EQ(r.story.records[5].Bmp, "a.bmp");
    EXPECT_EQ(r.story.records[6].Nazwa, scenario::Utf8ToCp1250("7 kroków"));
    EXPECT_EQ(r.story.records[6].Typ, 200);
    EXPECT_EQ(r.story.records[0], scenario::StepRecord{});
    EXPECT_EQ(r.story.lines[5], 8);
}

TEST(StorySource, ReportsEachMistakeAtItsLineAndByHowMuch) {
    const struct {
        std::string source;
        std::string error;
    } cases[] = {
        {"krok 1 " + std::string(21, 'n') + "\ntyp 1",
         "s.txt:1: nazwa kroku ma 21 znaków, o 1 za dużo (pole mieści 20)"},
        {"krok 1\ntyp 1\nopis " + std::string(200, 'a') + "\nopis " + std::string(50, 'b'),
         "s.txt:3: opis ma 251 znaków, o 1 za dużo (pole mieści 250)"},
        {"krok 1\ntyp 1\nwybor 1 " + std::string(47, 'w') + " -> 1",
         "s.txt:3: wybór 1 ma 47 znaków, o 2 za dużo"},
        {"krok 1\ntyp 1\nobraz " + std::string(22, 'p') + ".bmp",
         "s.txt:3: nazwa obrazu ma 26 znaków, o 6 za dużo"},
        {"krok 1\ntyp 1\nopis Strzałka → tu",
         "s.txt:3: opis: znak 10 (U+2192) jest spoza strony kodowej 1250"},
        {"krok 1\ntyp 1\nwybor 2 \"ab\\x4\" -> 1", "s.txt:3: wybór 2: nieznana sekwencja"},
        {"krok 1\ntyp 1\nwybor 1 A -> @nigdzie", "s.txt:3: wybór 1: nie ma etykiety @nigdzie"},
        {"krok @a A\ntyp 1\nkrok @a B\ntyp 1", "s.txt:3: etykieta @a jest już w wierszu 1"},
        {"krok 1\ntyp 300", "s.txt:2: typ 300 jest poza zakresem 0–255 (o 45 za dużo)"},
        {"krok 1\ntyp Dziwny", "s.txt:2: typ to liczba od 0 do 255 albo nazwa"},
        {"krok 1\ntyp 1\nwybor 5 A -> 1", "s.txt:3: numer wyboru 5 jest poza zakresem 1–4"},
        {"krok 1\ntyp 1\nwybor 0 A -> 1", "s.txt:3: numer wyboru 0 jest poza zakresem 1–4"},
        {"krok 1\ntyp 1\nwybor 1 A -> 1\nwybor 1 B -> 1", "s.txt:4: wybór 1 jest już w wierszu 3"},
        {"krok 1\ntyp 1\nwybor 1 A -> 3000000000",
         "s.txt:3: wybór 1: cel 3000000000 jest poza zakresem liczb 32-bitowych"},
        {"krok 1\ntyp 1\nwybor 1 A", "s.txt:3: wybór 1: brak „-> CEL”"},
        {"krok 1\n\nkrok 2\ntyp 1", "s.txt:1: krok 1 nie ma typu"},
        {"krok 1\ntyp 1\nkrok 1\ntyp 1", "s.txt:3: krok 1 jest już w wierszu 1"},
        {"krok 1\ntyp 1\nkrok 4\ntyp 1", "s.txt:3: brakuje kroku 2–3"},
        {"krok 1\ntyp 1\nkrok 2000000000\ntyp 1", "s.txt:3: brakuje kroku 2–1999999999"},
        {"typ 1", "s.txt:1: „typ” należy do kroku"},
        {"krok 1\ntyp 1\nskok 2", "s.txt:3: nieznane słowo „skok”"},
        {"scenariusz Las.Gra\nkrok 1\ntyp 1", "s.txt:1: nazwa scenariusza „Las.Gra”"},
        {"# nic\n", "s.txt:2: źródło nie ma ani jednego kroku"},
        {"krok 1\ntyp 1\nopis \"bez końca", "s.txt:3: opis: brak cudzysłowu zamykającego tekst"},
    };
    for (const auto& c : cases) {
        const kit::ParseResult r = kit::ParseStory(c.source, "s.txt");
        std::string texts;
        for (const kit::Finding& f : r.errors) {
            texts += "\n" + kit::FindingText(f);
        }
        EXPECT_NE(texts.find("\n" + c.error), std::string::npos) << texts << "\n  expected: " << c.error;
    }
}

TEST(StorySource, ReportsEveryMistakeNotOnlyTheFirst) {
    const kit::ParseResult r = kit::ParseStory("krok 1\ntyp 999\nwybor 9 x -> 1\nopis ∞\n", "s.txt");
    EXPECT_EQ(r.errors.size(), 4u); // the type, the choice, the character, and then the step has no type
}

TEST(StorySource, ReportsMistakesInLineOrderThoseOfTheWholeSourceAmongThem) {
    const std::string source = "krok 1\n"
                               "typ 1\n"
                               "wybor 1 a -> @nigdzie\n" // 3: no such label, found at the end
                               "krok 1\n"                // 4: record 1 again, and without a type
                               "typ 300\n"               // 5
                               "krok 2\n"
                               "typ 1\n"
                               "opis " +
                               std::string(200, 'a') +
                               "\n" // 8: with the next, too long
                               "opis " +
                               std::string(60, 'b') +
                               "\n"
                               "wybor 7 x -> 1\n" // 10
                               "krok 3\n";        // 11: no type
    const kit::ParseResult r = kit::ParseStory(source, "s.txt");
    std::vector<int> lines;
    for (const kit::Finding& f : r.errors) {
        EXPECT_EQ(f.file, "s.txt");
        EXPECT_EQ(f.severity, kit::Severity::Error);
        lines.push_back(f.line);
    }
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 4, 5, 8, 10, 11}));
    ASSERT_EQ(r.errors.size(), 7u);
    // Two on one line keep the order they were found in.
    EXPECT_EQ(r.errors[1].message, "krok 1 jest już w wierszu 1");
    EXPECT_EQ(r.errors[2].message.rfind("krok 1 nie ma typu", 0), 0u);
}

// The outline an editor keeps the source by: every field's lines, numbers as written or not, targets as
// written, texts as typed (also outside the code page), and whether a step's statements all read.
TEST(StorySource, OutlinesTheStepsAsWrittenAlsoWithMistakes) {
    const kit::ParseResult r = kit::ParseStory(R"(# próba
krok 3 @a Dom
typ 1
opis Jeden
# w środku
opis "dwa \x41"
wybor 2 Dalej -> @b
wybor 1 W → bok -> 0
krok @b
dzwiek s.wav
typ Dziwny
obraz o.bmp
)",
                                               "s.txt");
    ASSERT_EQ(r.outline.size(), 2u);
    const kit::StepOutline& a = r.outline[0];
    EXPECT_EQ(a.line, 2);
    EXPECT_EQ(a.number, 3);
    EXPECT_TRUE(a.numberWritten);
    EXPECT_EQ(a.label, "a");
    EXPECT_EQ(a.name, "Dom");
    EXPECT_EQ(a.typ, 1);
    EXPECT_EQ(a.typLine, 3);
    EXPECT_EQ(a.opisLines, (std::vector<int>{4, 6}));
    EXPECT_EQ(a.opis, "Jeden dwa A");
    EXPECT_EQ(a.choiceLines, (std::array<int, 4>{8, 7, 0, 0}));
    EXPECT_EQ(a.choice[0], "W → bok");
    EXPECT_EQ(a.targets[0], (kit::WrittenTarget{0, ""}));
    EXPECT_EQ(a.targets[1], (kit::WrittenTarget{0, "b"}));
    EXPECT_EQ(a.targets[2], std::nullopt);
    EXPECT_TRUE(a.whole); // a character outside the code page is a mistake of value
    const kit::StepOutline& b = r.outline[1];
    EXPECT_EQ(b.number, 4);
    EXPECT_FALSE(b.numberWritten);
    EXPECT_EQ(b.dzwiekLine, 10);
    EXPECT_EQ(b.obrazLine, 12);
    EXPECT_EQ(b.typLine, 11);
    EXPECT_EQ(b.typ, std::nullopt);
    EXPECT_FALSE(b.whole); // "typ Dziwny" does not read
}

} // namespace
