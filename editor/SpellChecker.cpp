#include "editor/SpellChecker.h"

#include "editor/core/DictionaryCodec.h"

#include <hunspell/hunspell.hxx>

#include <QFileInfo>

#include <chrono>
#include <future>
#include <map>
#include <mutex>

namespace editor {

struct LoadedDictionary {
    std::unique_ptr<Hunspell> hunspell;
    DictionaryEncoding encoding = DictionaryEncoding::Utf8;
    std::string failure;
};

namespace {

constexpr int PollMs = 40;

std::shared_ptr<LoadedDictionary> Load(const std::string& base) {
    auto loaded = std::make_shared<LoadedDictionary>();
    const std::string aff = base + ".aff";
    const std::string dic = base + ".dic";
    if (!QFileInfo::exists(QString::fromStdString(aff)) || !QFileInfo::exists(QString::fromStdString(dic))) {
        loaded->failure = "Brak słownika pisowni " + dic + " (pakiet hunspell-pl)";
        return loaded;
    }
    try {
        loaded->hunspell = std::make_unique<Hunspell>(aff.c_str(), dic.c_str());
        loaded->encoding = EncodingByName(loaded->hunspell->get_dict_encoding());
    } catch (const std::exception& e) {
        loaded->hunspell.reset();
        loaded->failure = "Słownik pisowni " + dic + ": " + e.what();
    }
    return loaded;
}

// One dictionary a process, whatever the number of windows: loading it costs about a second.
std::shared_future<std::shared_ptr<LoadedDictionary>> Shared(const std::string& base) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_future<std::shared_ptr<LoadedDictionary>>> loads;
    const std::lock_guard lock(mutex);
    auto found = loads.find(base);
    if (found == loads.end()) {
        found = loads.emplace(base, std::async(std::launch::async, Load, base).share()).first;
    }
    return found->second;
}

std::u16string U16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

SpellChecker::SpellChecker(QObject* parent) : QObject(parent) {
    poll_ = new QTimer(this);
    poll_->setInterval(PollMs);
    connect(poll_, &QTimer::timeout, this, &SpellChecker::Poll);
    poll_->start();
    Shared(DictionaryBase().toStdString());
}

SpellChecker::~SpellChecker() = default;

QString SpellChecker::DictionaryBase() {
    const QString chosen = qEnvironmentVariable("PRZYGODA_SLOWNIK");
    return chosen.isEmpty() ? QStringLiteral("/usr/share/hunspell/pl_PL") : chosen;
}

void SpellChecker::Poll() {
    const auto future = Shared(DictionaryBase().toStdString());
    if (future.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return;
    }
    poll_->stop();
    const auto& loaded = future.get();
    if (loaded->hunspell) {
        dictionary_ = loaded;
        emit Changed();
    } else {
        failure_ = QString::fromStdString(loaded->failure);
    }
}

void SpellChecker::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        emit Changed();
    }
}

bool SpellChecker::IsKnown(const QString& word) const {
    if (!enabled_ || !dictionary_ || word.isEmpty()) {
        return true;
    }
    if (story_.Contains(word.toStdString())) {
        return true;
    }
    // A story's word added in lower case is known at a sentence's start too.
    if (word.at(0).isUpper() && story_.Contains((word.at(0).toLower() + word.mid(1)).toStdString())) {
        return true;
    }
    const auto bytes = ToDictionary(U16(word), dictionary_->encoding);
    return bytes && dictionary_->hunspell->spell(*bytes);
}

QStringList SpellChecker::Suggestions(const QString& word, int most) const {
    QStringList out;
    if (!dictionary_) {
        return out;
    }
    const auto bytes = ToDictionary(U16(word), dictionary_->encoding);
    if (!bytes) {
        return out;
    }
    for (const std::string& s : dictionary_->hunspell->suggest(*bytes)) {
        const std::u16string text = FromDictionary(s, dictionary_->encoding);
        out << QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        if (out.size() >= most) {
            break;
        }
    }
    return out;
}

void SpellChecker::SetStoryPath(const QString& storyPath) {
    const std::string path =
        storyPath.isEmpty() ? std::string() : StoryDictionaryPath(storyPath.toStdString());
    if (path == story_.Path() && !path.empty()) {
        return;
    }
    if (path.empty()) {
        story_ = StoryDictionary();
    } else if (story_.Path().empty() && !story_.Words().empty()) {
        // The words of a story saved for the first time go with it.
        StoryDictionary kept = story_;
        story_.Load(path);
        for (const std::string& word : kept.Words()) {
            story_.Add(word);
        }
    } else {
        story_.Load(path);
    }
    emit Changed();
}

void SpellChecker::AddToStory(const QString& word) {
    story_.Add(word.toStdString());
    emit Changed();
}

} // namespace editor
