#pragma once
// File-system queries the windows make about media files.

#include <QString>
#include <QStringList>

namespace platform {

// True only for an existing regular file (links followed): false for folders, FIFOs, devices and
// sockets, so that a scenario can never make the player block on opening one of them.
bool FileExists(const QString& path);

// The path of a file named by a scenario inside `folder`, relative to the current directory. A backslash
// in `name` separates folders. When the exact path does not exist, each folder and file name is matched
// without regard to letter case (ASCII and Polish letters), as on the system scenarios are written on.
// Returns the exact path when nothing matches, so that callers report the name as the scenario gives it.
QString MediaPath(const QString& folder, const QString& name);

// The first of `relatives` (paths relative to `base`) that is an existing folder, as a clean absolute path;
// empty when none is. Finds what comes installed beside the program wherever the install was moved to.
QString FirstFolder(const QString& base, const QStringList& relatives);

} // namespace platform
