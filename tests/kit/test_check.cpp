// check: each kind of finding on a small scenario written by the fixture writer, exact over the buttons a
// player can have; the exit codes and messages of the command line; map.
#include "kit/Check.h"
#include "kit/Cli.h"
#include "kit/PlayerMediaProbe.h"
#include "tests/support/BmpFile.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/SoundFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using fixtures::Step;

Step S(std::uint8_t typ, std::array<std::int32_t, 4> targets = {}, std::array<std::string, 4> texts = {}) {
    Step s;
    s.nazwa = "k";
    s.opis = "opis";
    s.typ = typ;
    s.targets = targets;
    for (std::size_t k = 0; k < 4; ++k) {
        s.wybory[k] = texts[k].empty() && k == 0 && typ != 2 ? "dalej" : texts[k];
    }
    return s;
}

const std::array<std::string, 4> Two{"a", "b", "", ""};
const std::array<std::string, 4> Four{"a", "b", "c", "d"};

struct Recorded : kit::FindingSink {
    std::vector<kit::Finding> findings;
    void Report(const kit::Finding& f) override { findings.push_back(f); }
};

struct Result {
    std::vector<kit::Finding> findings;
    kit::CheckSummary summary;
    bool Has(std::int64_t record, kit::Severity severity, const std::string& text) const {
        for (const auto& f : findings) {
            if (f.record == record && f.severity == severity && f.message.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

Result Check(const fs::path& kro) {
    kit::FileInput input(kro.string());
    kit::PlayerMediaProbe media;
    Recorded sink;
    Result r;
    r.summary = kit::CheckScenario(input, &media, sink);
    r.findings = sink.findings;
    return r;
}

std::string Dump(const Result& r) {
    std::ostringstream out;
    kit::TextSink text(out);
    for (const auto& f : r.findings) {
        text.Report(f);
    }
    return out.str();
}

constexpr auto E = kit::Severity::Error;
constexpr auto W = kit::Severity::Warning;

TEST(Check, FindsEachKindOfProblemAtItsRecord) {
    const struct {
        const char* what;
        std::function<void(const fs::path& dir)> write;
        std::int64_t record;
        kit::Severity severity;
        std::string message;
    } cases[] = {
        {"negative target",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {-3}), S(2)});
         },
         1, E, "wybór 1 prowadzi do rekordu -3, przed początkiem pliku: gracz pokaże „I/O error 131”"},
        {"past the step file",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(4, {3, 9}, Two), S(2)});
         },
         2, E, "wybór 2 prowadzi do rekordu 9, a plik kroków ma 4 rekordy (o 6 za daleko)"},
        {"record 0",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(2), S(0, {0})});
         },
         1, W, "wybór 1 prowadzi do rekordu 0"},
        {"short type list",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(2), S(2)});
             fixtures::WriteLisRecords(
                 d / "s.lis", {fixtures::EncodeLis(0), fixtures::EncodeLis(0), fixtures::EncodeLis(2)});
         },
         3, E, "lista typów kończy się przed tym rekordem: ma 3 rekordy, plik kroków 4"},
        {"type outside the table",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(9, {2}), S(2)});
         },
         1, W, "typu 9 nie ma w tablicy przycisków"},
        {"unreachable",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(2), S(0, {2})});
         },
         3, W, "nie prowadzi żadna droga od kroku 1"},
        {"trap",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(4, {3, 2}, Two), S(0, {2}), S(2)});
         },
         2, E, "pułapka"},
        {"no ending at all",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {1})});
         },
         1, E, "żadna droga od kroku 1 nie prowadzi do zakończenia"},
        {"text on a button never enabled",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(3, {2, 2}, Two), S(2)});
         },
         1, W, "wybór 2 ma tekst, ale przycisk 2 nigdy nie jest tu włączony"},
        {"enabled button without text",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(4, {3, 3}), S(2)});
         },
         2, W, "przycisk 2 jest włączony, ale wybór 2 nie ma tekstu"},
        {"record 1 of the ending type",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(2, {2}), S(2)});
         },
         1, W, "krok 1 ma typ Koniec"},
        {"missing picture",
         [](auto d) {
             Step s = S(0, {2});
             s.bmp = "Sowa.bmp";
             fs::create_directory(d / "Obrazki");
             fixtures::WriteBytes(d / "Obrazki" / "sowa.bmp.old", {});
             fixtures::WriteScenario(d / "s.Kro", {S(0), s, S(2)});
         },
         1, W, "brak obrazu Obrazki/Sowa.bmp: gracz pokaże „Nie masz obrazu \"Sowa.bmp\"”"},
        {"picture the decoder refuses",
         [](auto d) {
             Step s = S(0, {2});
             s.bmp = "zly.bmp";
             fs::create_directory(d / "Obrazki");
             fixtures::WriteBytes(d / "Obrazki" / "ZLY.BMP", {'B', 'M', 1, 2, 3});
             fixtures::WriteScenario(d / "s.Kro", {S(0), s, S(2)});
         },
         1, E,
         "obraz Obrazki/ZLY.BMP nie wczytuje się: „Stream read error”; gracz zgłosi to w okienku "
         "błędu, a krok pokaże z tekstami i przyciskami, ale bez obrazu i bez dźwięku"},
        {"missing sound",
         [](auto d) {
             Step s = S(0, {2});
             s.wav = "ptak.wav";
             fixtures::WriteScenario(d / "s.Kro", {S(0), s, S(2)});
         },
         1, W, "brak dźwięku Dzwieki/ptak.wav"},
        // A kind the sound player has no decoder for. (A wave cut short fails inside SDL2_mixer, which
        // then leaks the file's handle: LeakSanitizer would report SDL's, not ours.)
        {"sound that does not open",
         [](auto d) {
             Step s = S(0, {2});
             s.wav = "ptak.voc";
             fs::create_directory(d / "Dzwieki");
             fixtures::WriteBytes(d / "Dzwieki" / "ptak.voc", {'n', 'o', 'p', 'e'});
             fixtures::WriteScenario(d / "s.Kro", {S(0), s, S(2)});
         },
         1, E,
         "dźwięk Dzwieki/ptak.voc nie otwiera się: „Nie można odtworzyć plików .voc”; gracz zgłosi to w "
         "okienku błędu, a krok pokaże bez dźwięku"},
        {"text filling its field",
         [](auto d) {
             Step s = S(0, {2});
             s.opis = std::string(250, 'o');
             fixtures::WriteScenario(d / "s.Kro", {S(0), s, S(2)});
         },
         1, W, "opis wypełnia całe pole (250 znaków)"},
        {"stored length past the field",
         [](auto d) {
             fixtures::KrokBytes k = fixtures::EncodeKrok(S(0, {2}));
             k[fixtures::offset::Wybor1] = 200;
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(2)});
             fixtures::WriteKroRecords(d / "s.Kro",
                                       {fixtures::EncodeKrok(S(0)), k, fixtures::EncodeKrok(S(2))});
         },
         1, W, "wybór 1: zapisana długość przekracza pole; gracz pokaże tylko pierwsze 45 znaków"},
        {"incomplete record",
         [](auto d) {
             fixtures::WriteScenario(d / "s.Kro", {S(0), S(0, {2}), S(2)});
             std::ofstream(d / "s.Kro", std::ios::app | std::ios::binary) << "tail";
         },
         3, W, "niepełnym rekordem (4 bajty)"},
        {"a single record", [](auto d) { fixtures::WriteScenario(d / "s.Kro", {S(0)}); }, 1, E,
         "plik kroków ma 1 rekord, a gra zaczyna się od rekordu 1"},
    };
    for (const auto& c : cases) {
        fixtures::TempDir dir;
        c.write(dir.path());
        const Result r = Check(dir / "s.Kro");
        EXPECT_TRUE(r.Has(c.record, c.severity, c.message)) << c.what << ":\n" << Dump(r);
    }
}

TEST(Check, ButtonsCarriedOverByATypeOutsideTheTableAreFollowedExactly) {
    // Record 3 (type 7) keeps the buttons it is reached with: 2 from record 2, 1 from record 4. With two
    // it reaches the ending at 5; with one, only record 4, which leads back to it: a trap there.
    fixtures::TempDir dir;
    fixtures::WriteScenario(dir / "s.Kro",
                            {S(0), S(4, {2, 4}, Two), S(4, {3, 3}, Two), S(7, {4, 5}, Two), S(3, {3}), S(2)});
    const Result r = Check(dir / "s.Kro");
    EXPECT_TRUE(r.Has(3, E, "pułapka")) << Dump(r);
    EXPECT_TRUE(r.Has(4, E, "pułapka")) << Dump(r);
    EXPECT_FALSE(r.Has(2, E, "pułapka")) << Dump(r);
    EXPECT_FALSE(r.Has(5, W, "nie prowadzi żadna droga")) << Dump(r);
    EXPECT_EQ(r.summary.errors, 2) << Dump(r);
}

TEST(Check, TheHighestOpenButtonCarriesItsButtonsIntoAStepThatKeepsThem) {
    // Record 2 (type 4) gets on only by button 2, into record 3 (type 7), which keeps the two buttons and
    // ends the game by button 2. No trap: button 2 of two is open.
    fixtures::TempDir dir;
    fixtures::WriteScenario(dir / "s.Kro", {S(0), S(0, {2}), S(4, {2, 3}, Two), S(7, {3, 4}, Two), S(2)});
    const Result r = Check(dir / "s.Kro");
    EXPECT_EQ(r.summary.errors, 0) << Dump(r);
    EXPECT_TRUE(r.Has(3, W, "typu 7 nie ma w tablicy")) << Dump(r);
}

TEST(Check, AStepNobodyReachesIsJudgedByTheButtonsItsTypeOpensAndNoneWhenItKeepsThem) {
    // Records 3 and 4 are out of reach: type 4 opens two buttons on its own; type 9 keeps the ones it
    // would be reached with, which nobody knows.
    fixtures::TempDir dir;
    fixtures::WriteScenario(dir / "s.Kro", {S(0), S(0, {2}), S(2), S(4, {2}), S(9, {-1, 7}, Two)});
    const Result r = Check(dir / "s.Kro");
    EXPECT_TRUE(r.Has(3, W, "przycisk 2 jest włączony, ale wybór 2 nie ma tekstu")) << Dump(r);
    EXPECT_TRUE(r.Has(3, W, "wybór 2 prowadzi do rekordu 0")) << Dump(r);
    const auto about4 = std::count_if(r.findings.begin(), r.findings.end(),
                                      [](const kit::Finding& f) { return f.record == 4; });
    EXPECT_EQ(about4, 2) << Dump(r); // its type and that nobody reaches it
    EXPECT_TRUE(r.Has(4, W, "typu 9 nie ma w tablicy")) << Dump(r);
}

TEST(Check, ACleanStoryHasNothingToReport) {
    fixtures::TempDir dir;
    fs::create_directories(dir / "Obrazki");
    fs::create_directories(dir / "Dzwieki");
    fixtures::WriteBytes(dir / "Obrazki" / "las.bmp",
                         fixtures::Bmp24(4, 4, [](int, int) { return 0x336699u; }));
    // Four frames of silence.
    fixtures::WriteBytes(dir / "Dzwieki" / "las.wav",
                         fixtures::Wave(fixtures::WaveFormat::Pcm16, {0.0, 4.0 / 22050, 22050, 1}));
    Step start = S(0, {2});
    start.bmp = "las.bmp";
    start.wav = "las.wav";
    Step placeholder;
    placeholder.typ = 0;
    fixtures::WriteScenario(dir / "s.Kro", {placeholder, start, S(4, {3, 3}, Two), S(2)});
    const Result r = Check(dir / "s.Kro");
    EXPECT_EQ(r.summary.errors + r.summary.warnings, 0) << Dump(r);
}

struct KitRun {
    int status;
    std::string out;
    std::string err;
};

KitRun Kit(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = kit::RunKit(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, ExitStatusAndMessages) {
    fixtures::TempDir dir;
    fixtures::WriteScenario(dir / "ok.Kro", {S(0), S(0, {2}), S(2)});
    fixtures::WriteScenario(dir / "bad.Kro", {S(0), S(0, {7}), S(2)});
    fixtures::WriteKroRecords(dir / "sam.Kro", {fixtures::EncodeKrok(S(0)), fixtures::EncodeKrok(S(0))});
    // Copied from a disk that ignores letter case: the player opens it, and so does every command.
    fixtures::WriteScenario(dir / "ZAMEK.KRO", {S(0), S(0, {2}), S(2)});
    fs::rename(dir / "ZAMEK.lis", dir / "ZAMEK.LIS");
    const std::string zamek = (dir / "ZAMEK.KRO").string();
    std::ofstream(dir / "zla.txt") << "krok 1\ntyp 1\nwybor 7 x -> 1\n";
    std::ofstream(dir / "dobra.txt")
        << "scenariusz ok\nkrok 1\ntyp 0\nwybor 1 Dalej -> 2\nkrok 2\ntyp Koniec\n";
    const std::string ok = (dir / "ok.Kro").string();
    std::ofstream(dir / "stara.dot") << "stara";
    // A link that leads nowhere is replaced only with --force, like a file.
    fs::create_symlink("nigdzie.svg", dir / "link.svg");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {{"--help"}, 0, "Użycie: przygoda-kit POLECENIE [OPCJA]... PLIK\n", ""},
        {{"check", "-h", ok}, 0, "Użycie: przygoda-kit POLECENIE", ""},
        {{"--version"}, 0, "przygoda-kit ", ""},
        {{}, 2, "", "przygoda-kit: brak polecenia"},
        {{"zrob", ok}, 2, "", "przygoda-kit: nieznane polecenie zrob"},
        {{"check", "--nie", ok}, 2, "", "przygoda-kit: nieznana opcja --nie"},
        {{"check", ok, ok}, 2, "", "przygoda-kit: check: za dużo plików"},
        {{"check", ok}, 0, "", ""},
        {{"check", (dir / "bad.Kro").string()}, 1, "bad.Kro:1 (k): błąd: wybór 1 prowadzi do rekordu 7", ""},
        {{"check", "--json", (dir / "bad.Kro").string()},
         1,
         "\"record\": 1, \"name\": \"k\", \"severity\": \"error\"",
         ""},
        {{"check", (dir / "sam.Kro").string()}, 2, "", "sam.lis: File not found"},
        {{"check", (dir / "brak" / "x.Kro").string()}, 2, "", "x.Kro: Invalid filename"},
        {{"check", zamek}, 0, "", ""},
        {{"unpack", zamek}, 0, "scenariusz ZAMEK\n", ""},
        {{"map", zamek}, 0, "r1 -> r2 [label=\"1: dalej\"]", ""},
        {{"check", (dir / "zla.txt").string()}, 1, "zla.txt:3: numer wyboru 7", ""},
        {{"check", "--json", (dir / "zla.txt").string()},
         1,
         "zla.txt\", \"line\": 3, \"severity\": \"error\", \"message\": \"numer wyboru 7",
         ""},
        {{"build", (dir / "zla.txt").string()}, 1, "", "zla.txt:3: numer wyboru 7"},
        {{"build", (dir / "dobra.txt").string()}, 2, "", "ok.Kro: plik już istnieje (--force go zastąpi)"},
        {{"unpack", ok, "-o", (dir / "zla.txt").string()}, 2, "", "zla.txt: plik już istnieje (--force go"},
        {{"map", ok, "-o", (dir / "stara.dot").string()}, 2, "", "stara.dot: plik już istnieje (--force go"},
        {{"map", ok, "-o", (dir / "link.svg").string()}, 2, "", "link.svg: plik już istnieje (--force go"},
        {{"map", "--force", ok, "-o", (dir / "stara.dot").string()}, 0, "", ""},
        {{"build", "--force", (dir / "dobra.txt").string()}, 0, "", ""},
        {{"map", ok, "-o", (dir / "m.txt").string()},
         2,
         "",
         "przygoda-kit: map: plik wyjściowy kończy się na"},
    };
    for (const auto& c : cases) {
        const KitRun r = Kit(c.args);
        std::string joined;
        for (const auto& a : c.args) {
            joined += a + " ";
        }
        EXPECT_EQ(r.status, c.status) << joined << "\n" << r.out << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << joined << "\n" << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << joined << "\n" << r.err;
        if (c.err.empty()) {
            EXPECT_EQ(r.err, "") << joined;
        }
    }
    // The rebuilt scenario replaced the old one: record 2 is now the ending of the source.
    EXPECT_EQ(fs::file_size(ok), 3 * 516u);
    std::ifstream dot(dir / "stara.dot");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(dot), {}).rfind("digraph przygoda {", 0), 0u);
    EXPECT_TRUE(fs::is_symlink(dir / "link.svg"));
}

TEST(CommandLine, TheHelpNamesEveryCommandAndOptionTheToolTakes) {
    const KitRun help = Kit({"--help"});
    ASSERT_EQ(help.status, 0);
    for (const char* word : {"  build ", "  unpack ", "  check ", "  map ", "-o, --output ", "-f, --force ",
                             "--json ", "--no-media ", "-h, --help ", "-V, --version "}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word << "\n" << help.out;
    }
    // Every word the tool says is Polish, as its findings and errors are.
    for (const char* english : {"Usage", "show", "write", "the ", "Exit status"}) {
        EXPECT_EQ(help.out.find(english), std::string::npos) << english << "\n" << help.out;
    }
}

TEST(CommandLine, TheDemoHasNoErrorsOnlyTheMediaLeftOutOnPurpose) {
    const KitRun r = Kit({"check", (fs::path(PRZYGODA_DEMO_DIR) / "Przygoda.Kro").string()});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(":8 (Mech): ostrzeżenie: brak obrazu Obrazki/sowa.bmp"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(":8 (Mech): ostrzeżenie: brak dźwięku Dzwieki/sowa.wav"), std::string::npos)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3) << r.out; // and the way back to record 0
}

TEST(CommandLine, CheckAndMapPassOverRecord0OnlyAsBuildWritesItAndWhenNothingReachesIt) {
    const struct {
        const char* what;
        std::function<void(Step&)> change;
        bool reached;
        bool shown;
    } cases[] = {
        {"as build writes it", [](Step&) {}, false, false},
        {"of type 1", [](Step& s) { s.typ = 1; }, false, true},
        {"with a choice's text", [](Step& s) { s.wybory[2] = "x"; }, false, true},
        {"with a target", [](Step& s) { s.targets[3] = 1; }, false, true},
        {"naming a picture", [](Step& s) { s.bmp = "x.bmp"; }, false, true},
        {"reached", [](Step&) {}, true, true},
    };
    for (const auto& c : cases) {
        fixtures::TempDir dir;
        Step zero;
        zero.typ = 0;
        c.change(zero);
        fixtures::WriteScenario(dir / "s.Kro", {zero, S(0, {3}), S(2), S(4, {2, c.reached ? 0 : 2}, Two)});
        const KitRun check = Kit({"check", "--json", (dir / "s.Kro").string()});
        const KitRun map = Kit({"map", (dir / "s.Kro").string()});
        EXPECT_EQ(check.out.find("\"record\": 0,") != std::string::npos, c.shown) << c.what << "\n"
                                                                                  << check.out;
        EXPECT_EQ(map.out.find("  r0 [") != std::string::npos, c.shown) << c.what << "\n" << map.out;
    }
}

TEST(CommandLine, MapsTheStoryAsDotAndThroughGraphviz) {
    fixtures::TempDir dir;
    fixtures::WriteScenario(dir / "s.Kro", {S(0), S(0, {2}), S(4, {3, -1}, {"Idź \"tam\"", "Źle", "", ""}),
                                            S(2), S(0, {3}), S(9, {3})});
    const KitRun dot = Kit({"map", (dir / "s.Kro").string()});
    ASSERT_EQ(dot.status, 0) << dot.err;
    EXPECT_NE(dot.out.find("r2 -> r3 [label=\"1: Idź \\\"tam\\\"\"]"), std::string::npos) << dot.out;
    EXPECT_NE(dot.out.find("r2 -> x2_2 [label=\"2: Źle\", color=red]"), std::string::npos) << dot.out;
    EXPECT_NE(dot.out.find("r3 [label=\"3: k (zakończenie)"), std::string::npos) << dot.out;
    EXPECT_NE(dot.out.find("r4 [label=\"4: k (nieosiągalny)"), std::string::npos) << dot.out;
    // Out of reach: type 0 opens button 1 on its own; type 9 keeps buttons nobody knows, so no edges.
    EXPECT_NE(dot.out.find("r4 -> r3 [label=\"1: dalej\"]"), std::string::npos) << dot.out;
    EXPECT_NE(dot.out.find("r5 [label=\"5: k (nieosiągalny)"), std::string::npos) << dot.out;
    EXPECT_EQ(dot.out.find("r5 ->"), std::string::npos) << dot.out;

    const KitRun svg = Kit({"map", (dir / "s.Kro").string(), "-o", (dir / "s.svg").string()});
    ASSERT_EQ(svg.status, 0) << svg.err;
    std::ifstream in(dir / "s.svg");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Źle"), std::string::npos);
}

} // namespace
