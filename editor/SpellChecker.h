#pragma once
// The spell check of a story's texts: Hunspell with the system's Polish dictionary, loaded once a process
// on a thread of its own (typing never waits for it: until it is there, every word counts as known), and
// the words an author added for this story (StoryDictionary), kept beside the story.

#include "editor/core/StoryDictionary.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace editor {

struct LoadedDictionary;

class SpellChecker : public QObject {
    Q_OBJECT

  public:
    explicit SpellChecker(QObject* parent = nullptr);
    ~SpellChecker() override;

    bool IsReady() const { return dictionary_ != nullptr; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Why there is no spell check, once the loading failed (no dictionary installed).
    QString Failure() const { return failure_; }

    // True also while the dictionary is loading or the check is off: only a word known not to be
    // Polish is marked.
    bool IsKnown(const QString& word) const;
    QStringList Suggestions(const QString& word, int most = 8) const;

    // The story whose own words count as known; an empty path for a story not saved yet, whose words
    // are kept until it is saved under a name.
    void SetStoryPath(const QString& storyPath);
    // Adds `word` to the story's own dictionary; throws std::runtime_error when its file cannot be written.
    void AddToStory(const QString& word);
    QString StoryDictionaryFile() const { return QString::fromStdString(story_.Path()); }

    // The dictionary files, the system's Polish one unless PRZYGODA_SLOWNIK names another (path without
    // .aff/.dic).
    static QString DictionaryBase();

  signals:
    // What counts as known changed: the dictionary arrived, a word was added, the check was switched.
    void Changed();

  private:
    void Poll();

    std::shared_ptr<LoadedDictionary> dictionary_;
    QTimer* poll_ = nullptr;
    QString failure_;
    bool enabled_ = true;
    StoryDictionary story_;
};

} // namespace editor
