#include "demo/Story.h"

#include "scenario/StepTypes.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace demo {

namespace {

// Field limits of the step record, in characters (= code page 1250 bytes).
constexpr std::size_t NazwaMax = 20;
constexpr std::size_t WyborMax = 45;
constexpr std::size_t OpisMax = 250;
constexpr std::size_t FileNameMax = 20;

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

std::optional<int> ToInt(const std::string& s) {
    if (s.empty() || s.size() > 9 ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(s);
}

struct PendingStep {
    fixtures::Step step;
    int line = 0;
    int opisLine = 0;
    bool hasTyp = false;
    std::array<int, 4> choiceLine{};
    int bmpLine = 0;
    int wavLine = 0;
};

class Parser {
  public:
    explicit Parser(std::string fileName) : fileName_(std::move(fileName)) {}

    Story Parse(const std::string& text) {
        std::istringstream in(text);
        std::string raw;
        for (line_ = 1; std::getline(in, raw); ++line_) {
            const std::string lineText = Trim(raw);
            if (lineText.empty() || lineText.front() == '#') {
                continue;
            }
            const auto space = lineText.find_first_of(" \t");
            const std::string keyword = lineText.substr(0, space);
            const std::string rest =
                space == std::string::npos ? std::string() : Trim(lineText.substr(space));
            ParseLine(keyword, rest);
        }
        return Finish();
    }

  private:
    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw StoryError(fileName_ + ":" + std::to_string(line) + ": " + message);
    }
    [[noreturn]] void Fail(const std::string& message) const { Fail(line_, message); }

    // The text as the step file stores it, checked against its field's limit.
    void CheckText(int line, const std::string& what, const std::string& utf8, std::size_t max) const {
        std::string cp1250;
        try {
            cp1250 = fixtures::Utf8ToCp1250(utf8);
        } catch (const std::invalid_argument&) {
            Fail(line, what + " has a character outside code page 1250: " + utf8);
        }
        if (cp1250.size() > max) {
            Fail(line, what + " is " + std::to_string(cp1250.size()) + " characters long, at most " +
                           std::to_string(max) + " fit: " + utf8);
        }
    }

    PendingStep& Current() {
        if (steps_.empty()) {
            Fail("this line belongs to a step; start one with \"krok N NAZWA\"");
        }
        return steps_.back();
    }

    void ParseLine(const std::string& keyword, const std::string& rest) {
        if (keyword == "rysunek") {
            ParsePicture(Words(rest));
        } else if (keyword == "nagranie") {
            ParseSound(Words(rest));
        } else if (keyword == "krok") {
            ParseKrok(rest);
        } else if (keyword == "typ") {
            PendingStep& s = Current();
            const auto typ = ToInt(rest);
            if (!typ || *typ > 5) {
                Fail("the type must be a number from 0 to 5, not \"" + rest + "\"");
            }
            if (s.hasTyp) {
                Fail("the step already has a type");
            }
            s.step.typ = static_cast<std::uint8_t>(*typ);
            s.hasTyp = true;
        } else if (keyword == "obraz" || keyword == "dzwiek") {
            PendingStep& s = Current();
            if (rest.empty() || rest.find_first_of(" \t") != std::string::npos) {
                Fail("\"" + keyword + "\" takes one file name");
            }
            CheckText(line_, "the file name", rest, FileNameMax);
            std::string& field = keyword == "obraz" ? s.step.bmp : s.step.wav;
            int& fieldLine = keyword == "obraz" ? s.bmpLine : s.wavLine;
            if (!field.empty()) {
                Fail("the step already has a " + std::string(keyword == "obraz" ? "picture" : "sound"));
            }
            field = rest;
            fieldLine = line_;
        } else if (keyword == "opis") {
            PendingStep& s = Current();
            if (rest.empty()) {
                Fail("an empty \"opis\" line");
            }
            if (s.step.opis.empty()) {
                s.opisLine = line_;
                s.step.opis = rest;
            } else {
                s.step.opis += " " + rest;
            }
        } else if (keyword == "wybor") {
            ParseChoice(rest);
        } else {
            Fail("unknown keyword \"" + keyword + "\"");
        }
    }

    std::pair<int, int> ParseSize(const std::string& s) {
        const auto x = s.find('x');
        const auto w = x == std::string::npos ? std::nullopt : ToInt(s.substr(0, x));
        const auto h = x == std::string::npos ? std::nullopt : ToInt(s.substr(x + 1));
        if (!w || !h || *w < 1 || *h < 1 || *w > 1024 || *h > 1024) {
            Fail("a picture size is WIDTHxHEIGHT, 1 to 1024 each, not \"" + s + "\"");
        }
        return {*w, *h};
    }

    void ParsePicture(const std::vector<std::string>& w) {
        PictureDecl d;
        d.line = line_;
        if (w.size() == 2 && w[1] == "brak") {
            d.missing = true;
        } else if (w.size() == 4) {
            std::tie(d.width, d.height) = ParseSize(w[1]);
            if (w[2] == "rgb24") {
                d.format = PictureFormat::Rgb24;
            } else if (w[2] == "pal8") {
                d.format = PictureFormat::Pal8;
            } else if (w[2] == "rle8") {
                d.format = PictureFormat::Rle8;
            } else {
                Fail("the picture format is rgb24, pal8 or rle8, not \"" + w[2] + "\"");
            }
            d.scene = w[3];
        } else {
            Fail("expected \"rysunek NAME WxH FORMAT SCENE\" or \"rysunek NAME brak\"");
        }
        CheckText(line_, "the file name", w[0], FileNameMax);
        if (!story_.pictures.emplace(w[0], d).second) {
            Fail("the picture " + w[0] + " is declared twice");
        }
    }

    void ParseSound(const std::vector<std::string>& w) {
        if (w.size() != 2) {
            Fail("expected \"nagranie NAME KIND\" or \"nagranie NAME brak\"");
        }
        CheckText(line_, "the file name", w[0], FileNameMax);
        SoundDecl d;
        d.line = line_;
        d.missing = w[1] == "brak";
        d.kind = d.missing ? std::string() : w[1];
        if (!story_.sounds.emplace(w[0], d).second) {
            Fail("the sound " + w[0] + " is declared twice");
        }
    }

    void ParseKrok(const std::string& rest) {
        const auto space = rest.find_first_of(" \t");
        const auto index = ToInt(rest.substr(0, space));
        if (!index) {
            Fail("expected \"krok N NAZWA\"");
        }
        if (*index != static_cast<int>(steps_.size())) {
            Fail("expected record " + std::to_string(steps_.size()) + " here, not " + std::to_string(*index) +
                 ": records run 0, 1, 2, ... in order");
        }
        PendingStep s;
        s.line = line_;
        s.step.nazwa = space == std::string::npos ? std::string() : Trim(rest.substr(space));
        CheckText(line_, "the step name", s.step.nazwa, NazwaMax);
        steps_.push_back(s);
    }

    void ParseChoice(const std::string& rest) {
        PendingStep& s = Current();
        const auto space = rest.find_first_of(" \t");
        const auto k = ToInt(rest.substr(0, space));
        const auto arrow = rest.rfind("->");
        if (!k || *k < 1 || *k > 4 || arrow == std::string::npos || space == std::string::npos ||
            arrow < space) {
            Fail("expected \"wybor K TEXT -> TARGET\" with K from 1 to 4");
        }
        const std::size_t i = static_cast<std::size_t>(*k - 1);
        if (s.choiceLine[i] != 0) {
            Fail("choice " + std::to_string(*k) + " is given twice");
        }
        const std::string text = Trim(rest.substr(space, arrow - space));
        const auto target = ToInt(Trim(rest.substr(arrow + 2)));
        if (!target) {
            Fail("the target of a choice is a record number, not \"" + Trim(rest.substr(arrow + 2)) + "\"");
        }
        CheckText(line_, "choice " + std::to_string(*k), text, WyborMax);
        s.step.wybory[i] = text;
        s.step.targets[i] = *target;
        s.choiceLine[i] = line_;
    }

    Story Finish() {
        if (steps_.size() < 2) {
            Fail(line_, "a story needs record 0 and record 1 at least");
        }
        std::set<std::string> shownPictures;
        std::set<std::string> playedSounds;
        for (std::size_t n = 0; n < steps_.size(); ++n) {
            const PendingStep& s = steps_[n];
            if (!s.hasTyp) {
                Fail(s.line, "the step has no \"typ\"");
            }
            if (s.step.opis.empty()) {
                Fail(s.line, "the step has no \"opis\"");
            }
            CheckText(s.opisLine, "the description", s.step.opis, OpisMax);
            const auto enabled = EnabledChoices(s.step.typ, static_cast<std::int32_t>(n));
            for (std::size_t i = 0; i < 4; ++i) {
                const std::string k = std::to_string(i + 1);
                if (!enabled[i]) {
                    if (s.choiceLine[i] != 0) {
                        Fail(s.choiceLine[i], "choice " + k + " is on a button this step's type disables");
                    }
                    continue;
                }
                if (s.choiceLine[i] == 0 || s.step.wybory[i].empty()) {
                    Fail(s.line,
                         "choice " + k + " is enabled by the step's type and needs a text and a target");
                }
                const std::int32_t t = s.step.targets[i];
                if (t < 0 || t >= static_cast<std::int32_t>(steps_.size())) {
                    Fail(s.choiceLine[i], "choice " + k + " leads to record " + std::to_string(t) +
                                              ", but the records are 0 to " +
                                              std::to_string(steps_.size() - 1));
                }
            }
            if (!s.step.bmp.empty()) {
                if (!story_.pictures.contains(s.step.bmp)) {
                    Fail(s.bmpLine, "the picture " + s.step.bmp + " is not declared with \"rysunek\"");
                }
                shownPictures.insert(s.step.bmp);
            }
            if (!s.step.wav.empty()) {
                if (!story_.sounds.contains(s.step.wav)) {
                    Fail(s.wavLine, "the sound " + s.step.wav + " is not declared with \"nagranie\"");
                }
                playedSounds.insert(s.step.wav);
            }
            story_.steps.push_back(s.step);
        }
        for (const auto& [name, d] : story_.pictures) {
            if (!shownPictures.contains(name)) {
                Fail(d.line, "no step shows the picture " + name);
            }
        }
        for (const auto& [name, d] : story_.sounds) {
            if (!playedSounds.contains(name)) {
                Fail(d.line, "no step plays the sound " + name);
            }
        }
        return std::move(story_);
    }

    std::string fileName_;
    int line_ = 0;
    std::vector<PendingStep> steps_;
    Story story_;
};

} // namespace

std::array<bool, 4> EnabledChoices(std::uint8_t typ, std::int32_t record) {
    if (record == 1) {
        return {true, false, false, false};
    }
    if (typ == scenario::TypKoniec) {
        return {false, false, false, false};
    }
    const int open = scenario::OpenChoices(typ).value_or(1);
    return {open >= 1, open >= 2, open >= 3, open >= 4};
}

Story ParseStory(const std::string& text, const std::string& fileName) {
    return Parser(fileName).Parse(text);
}

Story LoadStory(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw StoryError("cannot read " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseStory(text.str(), path.filename().string());
}

} // namespace demo
