#pragma once
// Where a scenario keeps its media: two folders beside its step file. Plain constants, so that the demo's
// build tool, which knows no Qt, writes its media where the player looks for them.

namespace platform {

inline constexpr char PictureFolder[] = "Obrazki";
inline constexpr char SoundFolder[] = "Dzwieki";

} // namespace platform
