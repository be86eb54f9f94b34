#include "demo/Media.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace demo {

namespace {

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

std::optional<int> ToInt(const std::string& s) {
    if (s.empty() || s.size() > 4 || s.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(s);
}

class Parser {
  public:
    explicit Parser(std::string fileName) : fileName_(std::move(fileName)) {}

    Media Parse(const std::string& text) {
        std::istringstream in(text);
        std::string raw;
        for (line_ = 1; std::getline(in, raw); ++line_) {
            const std::vector<std::string> w = Words(raw);
            if (w.empty() || w.front().front() == '#') {
                continue;
            }
            if (w.front() == "rysunek") {
                ParsePicture(w);
            } else if (w.front() == "nagranie") {
                ParseSound(w);
            } else {
                Fail("unknown keyword \"" + w.front() + "\"");
            }
        }
        return std::move(media_);
    }

  private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw MediaError(fileName_ + ":" + std::to_string(line_) + ": " + message);
    }

    void ParsePicture(const std::vector<std::string>& w) {
        PictureDecl d;
        d.line = line_;
        if (w.size() == 3 && w[2] == "brak") {
            d.missing = true;
        } else if (w.size() == 5) {
            const auto x = w[2].find('x');
            const auto width = x == std::string::npos ? std::nullopt : ToInt(w[2].substr(0, x));
            const auto height = x == std::string::npos ? std::nullopt : ToInt(w[2].substr(x + 1));
            if (!width || !height || *width < 1 || *height < 1 || *width > 1024 || *height > 1024) {
                Fail("a picture size is WIDTHxHEIGHT, 1 to 1024 each, not \"" + w[2] + "\"");
            }
            d.width = *width;
            d.height = *height;
            if (w[3] == "rgb24") {
                d.format = PictureFormat::Rgb24;
            } else if (w[3] == "pal8") {
                d.format = PictureFormat::Pal8;
            } else if (w[3] == "rle8") {
                d.format = PictureFormat::Rle8;
            } else {
                Fail("the picture format is rgb24, pal8 or rle8, not \"" + w[3] + "\"");
            }
            d.scene = w[4];
        } else {
            Fail("expected \"rysunek NAME WxH FORMAT SCENE\" or \"rysunek NAME brak\"");
        }
        if (!media_.pictures.emplace(w[1], d).second) {
            Fail("the picture " + w[1] + " is declared twice");
        }
    }

    void ParseSound(const std::vector<std::string>& w) {
        if (w.size() != 3) {
            Fail("expected \"nagranie NAME KIND\" or \"nagranie NAME brak\"");
        }
        SoundDecl d;
        d.line = line_;
        d.missing = w[2] == "brak";
        d.kind = d.missing ? std::string() : w[2];
        if (!media_.sounds.emplace(w[1], d).second) {
            Fail("the sound " + w[1] + " is declared twice");
        }
    }

    std::string fileName_;
    int line_ = 0;
    Media media_;
};

} // namespace

Media ParseMedia(const std::string& text, const std::string& fileName) {
    return Parser(fileName).Parse(text);
}

Media LoadMedia(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw MediaError("cannot read " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseMedia(text.str(), path.filename().string());
}

} // namespace demo
