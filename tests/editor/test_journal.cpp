// The journal of changes: what it writes, what recovery makes of it whole, cut or damaged, and how a save
// and a stop at any point between its steps are recovered.
#include "editor/core/Checksums.h"
#include "editor/core/JournalError.h"
#include "editor/core/JournalPaths.h"
#include "editor/core/JournalRecovery.h"
#include "editor/core/JournalWriter.h"
#include "editor/core/LineList.h"
#include "editor/core/SaveStory.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using editor::Patch;
using testing::HasSubstr;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> Entries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The text as the test follows it, line by line, apart from the program's own line code.
class Text {
  public:
    explicit Text(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // Replaces `count` lines from `first`; the patch the editor would record for it.
    Patch Edit(std::size_t first, std::size_t count, std::vector<std::string> inserted) {
        Patch patch{first, {lines_.begin() + first, lines_.begin() + first + count}, inserted};
        lines_.erase(lines_.begin() + first, lines_.begin() + first + count);
        lines_.insert(lines_.begin() + first, inserted.begin(), inserted.end());
        return patch;
    }

    std::string Bytes() const {
        std::string bytes;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            bytes += (i > 0 ? "\n" : "") + lines_[i];
        }
        return bytes;
    }

  private:
    std::vector<std::string> lines_;
};

const std::string Base = "krok 1 Start\ntyp 1\nopis Las.\n";

// Every kind of change once: a line changed, lines inserted, removed, replaced, at the start and the end.
std::vector<Patch> EditSeries(Text& text) {
    return {
        text.Edit(2, 1, {"opis Ciemny las."}),
        text.Edit(3, 0, {"wybor 1 Dalej -> 2", ""}),
        text.Edit(4, 1, {"krok 2 Polana\r", "typ 0"}),
        text.Edit(0, 0, {"scenariusz Próba"}),
        text.Edit(2, 2, {}),
        text.Edit(0, 1, {"\xEF\xBB\xBFscenariusz Żółw", "", ""}),
        text.Edit(5, 2, {"opis ostatnia linia bez końca wiersza"}),
    };
}

// A story on disk with a journal beside it, written one flush per change so that the journal's size after
// each change is known.
struct Session {
    fixtures::TempDir dir;
    std::string story = (dir / "las.txt").string();
    std::string journalPath = editor::JournalPathFor(story);
    std::vector<std::string> texts; // texts[n]: the text after n changes
    std::vector<std::size_t> sizes; // sizes[n]: the journal's size once change n was flushed

    Session() {
        WriteFile(story, Base);
        Text text(editor::SplitLines(Base));
        const std::vector<Patch> patches = EditSeries(text);
        texts.push_back(Base);
        Text replay(editor::SplitLines(Base));
        editor::JournalWriter journal(journalPath, story, Base);
        for (const Patch& patch : patches) {
            journal.Record(patch);
            journal.Flush();
            replay.Edit(patch.first, patch.removed.size(), patch.inserted);
            texts.push_back(replay.Bytes());
            sizes.push_back(std::filesystem::file_size(journalPath));
        }
        journal.Close(false);
    }

    std::string Journal() const { return ReadFile(journalPath); }
    // The header: magic, version, base size and hash, the path with its length, the CRC.
    std::size_t FirstRecordStart() const { return 8 + 4 + 8 + 8 + 4 + story.size() + 4; }
    std::size_t RecordStart(std::size_t n) const { return n == 0 ? FirstRecordStart() : sizes[n - 1]; }
};

TEST(LineList, SplitsAtNewlinesOnlyAndJoinsBackByteForByte) {
    const struct {
        std::string bytes;
        std::size_t lines;
    } cases[] = {{"", 1},           {"a", 1},
                 {"a\n", 2},        {"\n\n", 3},
                 {"a\r\nb\r\n", 3}, {"\xEF\xBB\xBFx", 1},
                 {"a\nb\n\nc", 4},  {std::string("a\0b\n", 4), 2}};
    for (const auto& c : cases) {
        const std::vector<std::string> lines = editor::SplitLines(c.bytes);
        EXPECT_EQ(lines.size(), c.lines) << c.bytes;
        EXPECT_EQ(editor::JoinLines(lines), c.bytes);
    }
}

TEST(Checksums, MatchTheirPublishedCheckValues) {
    EXPECT_EQ(editor::Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(editor::Crc32(""), 0u);
    EXPECT_EQ(editor::HashBytes(""), 0xcbf29ce484222325ULL);
    EXPECT_EQ(editor::HashBytes("a"), 0xaf63dc4c8601ec8cULL);
    EXPECT_EQ(editor::HashBytes("foobar"), 0x85944171f73967e8ULL);
}

// The bytes on disk, encoded here by hand from the layout documented in JournalFormat.h.
TEST(JournalFile, HoldsTheDocumentedBytes) {
    const auto le = [](std::uint64_t value, int width) {
        std::string out;
        for (int i = 0; i < width; ++i) {
            out += static_cast<char>(value >> (8 * i));
        }
        return out;
    };
    const auto frame = [&](const std::string& payload) {
        return le(payload.size(), 4) + le(editor::Crc32(payload), 4) + payload;
    };
    fixtures::TempDir dir;
    const std::string story = (dir / "a.txt").string();
    const std::string base = "x\ny";
    {
        editor::JournalWriter journal(editor::JournalPathFor(story), story, base);
        journal.Record(Patch{1, {"y"}, {"Y", "ź"}});
        journal.RecordSaved("x\nY\nź");
        journal.Flush();
    }
    std::string header =
        "DZIENNIK" + le(1, 4) + le(3, 8) + le(editor::HashBytes("x\ny"), 8) + le(story.size(), 4) + story;
    header += le(editor::Crc32(header), 4);
    const std::string change = "\x01" + le(1, 8) + le(1, 4) + le(editor::HashBytes(le(1, 8) + "y"), 8) +
                               le(2, 4) + le(1, 4) + "Y" + le(2, 4) + "ź";
    const std::string saved = "\x02" + le(6, 8) + le(editor::HashBytes("x\nY\nź"), 8);
    EXPECT_EQ(ReadFile(dir / ".a.txt.dziennik"), header + frame(change) + frame(saved));
}

TEST(Recovery, ReplaysEveryChangeOfAWholeJournal) {
    Session s;
    const editor::Recovered r = editor::RecoverJournal(s.Journal(), Base);
    EXPECT_EQ(r.bytes, s.texts.back());
    EXPECT_EQ(r.changes, s.texts.size() - 1);
    EXPECT_EQ(r.warning, "");
    EXPECT_EQ(r.storyPath, s.story);
}

TEST(Recovery, CutAnywhereKeepsEveryWholeChangeBeforeTheCut) {
    Session s;
    const std::string journal = s.Journal();
    std::size_t whole = 0;
    for (std::size_t cut = s.FirstRecordStart(); cut < journal.size(); ++cut) {
        while (whole < s.sizes.size() && s.sizes[whole] <= cut) {
            ++whole;
        }
        const editor::Recovered r = editor::RecoverJournal(journal.substr(0, cut), Base);
        ASSERT_EQ(r.changes, whole) << "cut at " << cut;
        EXPECT_EQ(r.bytes, s.texts[whole]);
        const std::size_t recordStart = s.RecordStart(whole);
        if (cut == recordStart) {
            EXPECT_EQ(r.warning, "");
        } else {
            EXPECT_THAT(r.warning, HasSubstr("urywa się w bajcie " + std::to_string(recordStart) + " z " +
                                             std::to_string(cut)));
        }
    }
}

TEST(Recovery, StopsAtADamagedRecordAndKeepsTheChangesBeforeIt) {
    Session s;
    const std::string journal = s.Journal();
    for (std::size_t n = 0; n < s.sizes.size(); ++n) {
        const std::size_t start = s.RecordStart(n);
        for (std::size_t at = start; at < s.sizes[n]; ++at) {
            std::string damaged = journal;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
            const editor::Recovered r = editor::RecoverJournal(damaged, Base);
            ASSERT_EQ(r.changes, n) << "byte " << at;
            EXPECT_EQ(r.bytes, s.texts[n]);
            // A damaged length reads as a record running past the end, or as a damaged one.
            EXPECT_THAT(r.warning, testing::AnyOf(HasSubstr("uszkodzony w bajcie " + std::to_string(start)),
                                                  HasSubstr("urywa się w bajcie " + std::to_string(start))));
        }
    }
}

TEST(Recovery, RefusesAJournalItCannotUseAndSaysWhy) {
    Session s;
    const std::string journal = s.Journal();
    const auto with = [&](std::size_t at, char byte) {
        std::string changed = journal;
        changed[at] = byte;
        return changed;
    };
    const struct {
        const char* name;
        std::string journal;
        std::string story;
        const char* message;
    } cases[] = {
        {"empty", "", Base, "To nie jest dziennik edytora"},
        {"wrong magic", with(0, 'd'), Base, "To nie jest dziennik edytora"},
        {"newer version", with(8, 2), Base, "Dziennik ma wersję 2, a ten edytor zna tylko wersję 1."},
        {"damaged header", with(14, 'x'), Base, "Nagłówek dziennika jest uszkodzony"},
        {"header cut short", journal.substr(0, s.FirstRecordStart() - 1), Base, "Nagłówek dziennika"},
        {"story changed outside", journal, Base + "krok 3\n", "zmienił się poza edytorem"},
        {"story of the same size changed outside", journal, "krok 1 Start\ntyp 2\nopis Las.\n",
         "(zapisanych: 7) nie da się do niego przyłożyć. Plik opowieści zostaje, jaki jest."},
    };
    for (const auto& c : cases) {
        try {
            editor::RecoverJournal(c.journal, c.story);
            ADD_FAILURE() << c.name << ": recovered";
        } catch (const editor::JournalError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.message)) << c.name;
        }
    }
}

TEST(Recovery, StopsAtAChangeThatDoesNotFitTheText) {
    fixtures::TempDir dir;
    const std::string story = (dir / "a.txt").string();
    {
        editor::JournalWriter journal(editor::JournalPathFor(story), story, "a\nb");
        journal.Record(Patch{0, {"a"}, {"A"}});
        journal.Record(Patch{1, {"nie ta linia"}, {"B"}});
        journal.Record(Patch{2, {}, {"c"}});
    }
    const editor::Recovered r = editor::RecoverJournal(ReadFile(editor::JournalPathFor(story)), "a\nb");
    EXPECT_EQ(r.bytes, "A\nb");
    EXPECT_EQ(r.changes, 1u);
    EXPECT_THAT(r.warning, HasSubstr("Zmiana nr 2 z dziennika"));
    EXPECT_THAT(r.warning, HasSubstr("nie pasuje do tekstu. Odzyskano 1 zmianę sprzed niej."));
}

// A save is: the "saved" record made durable, the new file renamed into place, the journal begun again.
// A stop between any two of them loses nothing.
TEST(Recovery, AStopAtAnyStepOfASaveLosesNothing) {
    Session s;
    const std::string& saved = s.texts.back();
    editor::JournalWriter journal(s.journalPath, s.story, Base);
    Text text(editor::SplitLines(Base));
    for (const Patch& patch : EditSeries(text)) {
        journal.Record(patch);
    }
    journal.RecordSaved(saved);
    journal.Sync();
    const std::string beforeRename = ReadFile(s.journalPath);

    const editor::Recovered notRenamed = editor::RecoverJournal(beforeRename, Base);
    EXPECT_EQ(notRenamed.bytes, saved);
    EXPECT_EQ(notRenamed.changes, 7u);

    const editor::Recovered renamed = editor::RecoverJournal(beforeRename, saved);
    EXPECT_EQ(renamed.bytes, saved);
    EXPECT_EQ(renamed.changes, 0u);
    EXPECT_EQ(renamed.warning, "");

    // A save that never reached its rename: the changes after it still count from the old file.
    journal.Record(text.Edit(0, 1, {"scenariusz Po zapisie"}));
    journal.Flush();
    const editor::Recovered failedSave = editor::RecoverJournal(ReadFile(s.journalPath), Base);
    EXPECT_EQ(failedSave.bytes, text.Bytes());
    EXPECT_EQ(failedSave.changes, 8u);
    journal.Close(true);
}

TEST(SaveStory, BeginsTheJournalAgainFromTheSavedFile) {
    Session s;
    std::filesystem::remove(s.journalPath);
    Text text(editor::SplitLines(Base));
    editor::JournalWriter journal(s.journalPath, s.story, Base);
    for (const Patch& patch : EditSeries(text)) {
        journal.Record(patch);
    }
    journal.Flush();
    editor::SaveStory(s.story, text.Bytes(), &journal);
    EXPECT_EQ(ReadFile(s.story), text.Bytes());
    EXPECT_FALSE(std::filesystem::exists(s.journalPath)) << "a saved story has no changes to recover";

    journal.Record(text.Edit(1, 0, {"po zapisie"}));
    journal.Flush();
    const editor::Recovered r = editor::RecoverJournal(ReadFile(s.journalPath), ReadFile(s.story));
    EXPECT_EQ(r.bytes, text.Bytes());
    EXPECT_EQ(r.changes, 1u);

    journal.Close(true);
    EXPECT_FALSE(std::filesystem::exists(s.journalPath));
    EXPECT_EQ(Entries(s.dir.path()), std::vector<std::string>{"las.txt"});
}

TEST(SaveStory, AFailedSaveLeavesTheJournalRecoverable) {
    Session s;
    std::filesystem::remove(s.journalPath);
    Text text(editor::SplitLines(Base));
    editor::JournalWriter journal(s.journalPath, s.story, Base);
    journal.Record(text.Edit(0, 1, {"krok 1 Zmieniony"}));
    const std::string elsewhere = (s.dir / "brak" / "las.txt").string();
    try {
        editor::SaveStory(elsewhere, text.Bytes(), &journal);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const editor::SaveError& e) {
        EXPECT_THAT(e.what(),
                    HasSubstr("Nie udało się zapisać opowieści " + elsewhere + ": folder nie istnieje"));
    }
    journal.Record(text.Edit(1, 1, {"typ 2"}));
    journal.Flush();
    EXPECT_EQ(ReadFile(s.story), Base);
    const editor::Recovered r = editor::RecoverJournal(ReadFile(s.journalPath), Base);
    EXPECT_EQ(r.bytes, text.Bytes());
    EXPECT_EQ(r.changes, 2u);
    journal.Close(true);
}

TEST(UntitledJournal, KeepsTheWholeDraftAndMovesBesideTheStoryWhenSaved) {
    fixtures::TempDir data;
    ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    EXPECT_EQ(editor::UntitledJournalFolder(), (data / "przygoda-edytor").string());
    const std::string path = editor::NewUntitledJournalPath();
    EXPECT_EQ(std::filesystem::path(path).parent_path().string(), editor::UntitledJournalFolder());
    EXPECT_NE(path, editor::NewUntitledJournalPath());

    const std::string draft = "scenariusz Nowy\nkrok 1\n";
    Text text(editor::SplitLines(draft));
    fixtures::TempDir dir;
    const std::string story = (dir / "nowy.txt").string();
    {
        editor::JournalWriter journal(path, "", draft);
        journal.Record(text.Edit(1, 1, {"krok 1 Początek"}));
        journal.Flush();
        EXPECT_EQ(editor::FindUntitledJournals(), std::vector<std::string>{}) << "in use by this editor";

        editor::JournalWriter second(path, "", "");
        second.Record(Patch{0, {""}, {"inne okno"}});
        EXPECT_THROW(second.Flush(), editor::JournalError);
        second.Close(true);
    }
    ASSERT_EQ(editor::FindUntitledJournals(), std::vector<std::string>{path});
    const editor::Recovered r = editor::RecoverJournal(ReadFile(path), "");
    EXPECT_EQ(r.bytes, text.Bytes());
    EXPECT_EQ(r.storyPath, "");

    editor::JournalWriter journal(path, "", r.bytes);
    editor::SaveStory(story, r.bytes, &journal);
    EXPECT_FALSE(std::filesystem::exists(path));
    journal.Record(text.Edit(0, 0, {"# po zapisie"}));
    journal.Flush();
    EXPECT_EQ(journal.JournalPath(), (dir / ".nowy.txt.dziennik").string());
    EXPECT_EQ(editor::RecoverJournal(ReadFile(journal.JournalPath()), ReadFile(story)).bytes, text.Bytes());
    journal.Close(true);
}

TEST(JournalPaths, AStorysJournalLiesHiddenBesideIt) {
    EXPECT_EQ(editor::JournalPathFor("/a/b/las.txt"), "/a/b/.las.txt.dziennik");
    EXPECT_EQ(editor::JournalPathFor("las.txt"), ".las.txt.dziennik");
    EXPECT_EQ(editor::JournalPathFor("/las"), "/.las.dziennik");
}

TEST(JournalWriter, WritesNothingUntilAChangeAndRemovesTheJournalOnACleanClose) {
    fixtures::TempDir dir;
    const std::string story = (dir / "a.txt").string();
    const std::string path = editor::JournalPathFor(story);
    editor::JournalWriter journal(path, story, "a");
    journal.Flush();
    journal.RecordSaved("a");
    journal.Sync();
    EXPECT_FALSE(std::filesystem::exists(path));
    journal.Record(Patch{0, {"a"}, {"b"}});
    journal.Flush();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(editor::JournalInUse(path));
    journal.Close(true);
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
