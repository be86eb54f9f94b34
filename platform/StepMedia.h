#pragma once
// A step's picture and sound as the player finds them beside the scenario, and what it says of one that is
// not there. The game window and the toolkit's media check both ask here, so that they agree.

#include <QString>

namespace platform {

struct MediaLookup {
    enum class Result {
        None,    // the step names no file: nothing is shown or played, and nothing is said
        Missing, // no regular file goes by that name: the player says so and plays on
        Present, // `path` is the file to open
    };
    Result result = Result::None;
    // The file found; for a missing one the path looked for; empty when the step names none.
    QString path;
};

// The picture or sound `name` (as the step gives it; a backslash separates folders) in its folder beside
// the scenario in `scenarioFolder`, matched as MediaPath matches it. An empty `scenarioFolder` is the
// current directory, where the player runs a scenario.
MediaLookup FindPicture(const QString& scenarioFolder, const QString& name);
MediaLookup FindSound(const QString& scenarioFolder, const QString& name);

// What the player says of a picture or sound the step names but that is not there.
QString MissingPictureMessage(const QString& name);
QString MissingSoundMessage(const QString& name);

} // namespace platform
