#pragma once
// The player keeps no saved state. Qt's own file dialog saves its history, side bar and view to the
// user's settings when it closes, and reads them back when it opens: the toolkit's user settings are
// pointed where nothing can be read or written.

namespace platform {

// Call once, before the first dialog.
void KeepNoToolkitSettings();

} // namespace platform
