// The Qt-free parts of the spell check and of the code-page marks: words cut with Polish letters, the
// dictionary's character set both ways, the story's own word list on the disk, and the characters code
// page 1250 lacks, reported in the toolkit's words at the toolkit's positions.
#include "editor/core/DictionaryCodec.h"
#include "editor/core/OutsideCp1250.h"
#include "editor/core/StoryDictionary.h"
#include "editor/core/TextWords.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using editor::WordSpan;

std::u16string Words(std::u16string_view text) {
    std::u16string out;
    for (const WordSpan& w : editor::SplitWords(text)) {
        out += std::u16string(text.substr(w.start, w.length)) + u'|';
    }
    return out;
}

TEST(TextWords, CutsAtEverythingButLettersPolishOnesIncluded) {
    EXPECT_EQ(Words(u"Zażółć gęślą jaźń."), u"Zażółć|gęślą|jaźń|");
    EXPECT_EQ(Words(u"„Żółw” — rzekł… (ŁĄKA)"), u"Żółw|rzekł|ŁĄKA|");
    EXPECT_EQ(Words(u"krok12 i 3 drzwi"), u"i|drzwi|");
    EXPECT_EQ(Words(u"biało-czerwony"), u"biało|czerwony|");
    EXPECT_EQ(Words(u"2×3÷x"), u"x|");
    EXPECT_EQ(Words(u""), u"");
}

TEST(TextWords, TheWordAtACursorIncludesTheOneJustTyped) {
    const std::u16string text = u"idź w las";
    EXPECT_EQ(editor::WordAt(text, 0), (WordSpan{0, 3}));
    EXPECT_EQ(editor::WordAt(text, 3), (WordSpan{0, 3}));
    EXPECT_EQ(editor::WordAt(text, 9), (WordSpan{6, 3}));
    EXPECT_FALSE(editor::WordAt(u"  ", 1));
}

TEST(DictionaryCodec, PolishLettersRoundTripThroughIso8859_2) {
    using editor::DictionaryEncoding;
    const std::u16string polish = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
    const auto bytes = editor::ToDictionary(polish, DictionaryEncoding::Iso8859_2);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "\xB1\xE6\xEA\xB3\xF1\xF3\xB6\xBC\xBF\xA1\xC6\xCA\xA3\xD1\xD3\xA6\xAC\xAF");
    EXPECT_EQ(editor::FromDictionary(*bytes, DictionaryEncoding::Iso8859_2), polish);
    // A character the set lacks makes a word no dictionary word can be.
    EXPECT_FALSE(editor::ToDictionary(u"naïve€", DictionaryEncoding::Iso8859_2));
    EXPECT_EQ(editor::ToDictionary(u"łąka", DictionaryEncoding::Utf8), "łąka");
    EXPECT_EQ(editor::FromDictionary("łąka", DictionaryEncoding::Utf8), u"łąka");
    EXPECT_EQ(editor::EncodingByName("ISO8859-2"), DictionaryEncoding::Iso8859_2);
    EXPECT_THROW(editor::EncodingByName("KOI8-R"), std::runtime_error);
}

class StoryDictionaryTest : public testing::Test {
  protected:
    std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                                 ("przygoda-slownik-" + std::to_string(::getpid()) + "-" +
                                  testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(StoryDictionaryTest, WordsAreKeptBesideTheStorySortedAndReadBack) {
    const std::string story = (dir_ / "las.txt").string();
    const std::string path = editor::StoryDictionaryPath(story);
    EXPECT_EQ(path, (dir_ / "las.slownik.txt").string());
    editor::StoryDictionary words;
    words.Load(path); // none yet
    EXPECT_TRUE(words.Words().empty());
    words.Add("Żmijowisko");
    words.Add("Babajaga");
    words.Add("Babajaga");
    EXPECT_EQ(Read(path), "# Słowa tej historii, których nie zna słownik pisowni.\nBabajaga\nŻmijowisko\n");
    // Nothing else is left in the folder: the temporary file was renamed into place.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);

    editor::StoryDictionary again;
    again.Load(path);
    EXPECT_TRUE(again.Contains("Żmijowisko"));
    EXPECT_TRUE(again.Contains("Babajaga"));
    EXPECT_FALSE(again.Contains("# Słowa tej historii, których nie zna słownik pisowni."));
}

TEST_F(StoryDictionaryTest, AnUnsavedStoryKeepsItsWordsUntilItGetsAFile) {
    editor::StoryDictionary words;
    words.Add("Kraina");
    EXPECT_TRUE(words.Contains("Kraina"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 0);
    words.SaveTo((dir_ / "nowa.slownik.txt").string());
    EXPECT_NE(Read(dir_ / "nowa.slownik.txt").find("Kraina\n"), std::string::npos);
}

TEST_F(StoryDictionaryTest, AFileTooLargeToBeAWordListIsRefused) {
    const auto path = dir_ / "duza.slownik.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(editor::StoryDictionary::MaxBytes + 1, 'a');
    }
    editor::StoryDictionary words;
    try {
        words.Load(path.string());
        FAIL() << "loaded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("za duży"), std::string::npos) << e.what();
    }
}

struct OutsideCase {
    const char* name;
    const char* text;
    std::vector<std::size_t> positions;
    std::vector<std::string> messages;
};

class OutsideCp1250Test : public testing::TestWithParam<OutsideCase> {};

TEST_P(OutsideCp1250Test, MarksEveryCharacterTheBuildWouldRefuseInItsWords) {
    const OutsideCase& c = GetParam();
    const auto marks = editor::FindOutsideCp1250(c.text, "opis");
    ASSERT_EQ(marks.size(), c.positions.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        EXPECT_EQ(marks[i].position, c.positions[i]);
        EXPECT_EQ(marks[i].message, c.messages[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutsideCp1250Test,
    testing::Values(OutsideCase{"PolishTypography", "„Żółć” – rzekł… — ‘tak’", {}, {}},
                    OutsideCase{"Euro", "Cena: 5 €", {}, {}},
                    OutsideCase{"Cyrillic",
                                "Да",
                                {0, 1},
                                {"opis: znak 1 (U+0414) jest spoza strony kodowej 1250",
                                 "opis: znak 2 (U+0430) jest spoza strony kodowej 1250"}},
                    OutsideCase{"EmojiAfterPolish",
                                "żółw 🐢 i ñ",
                                {5, 9},
                                {"opis: znak 6 (U+1F422) jest spoza strony kodowej 1250",
                                 "opis: znak 10 (U+00F1) jest spoza strony kodowej 1250"}},
                    OutsideCase{"Empty", "", {}, {}}),
    [](const testing::TestParamInfo<OutsideCase>& info) { return std::string(info.param.name); });

} // namespace
