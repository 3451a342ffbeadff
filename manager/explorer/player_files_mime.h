// The drag format of player files dragged out of the window's player lists.
#pragma once

inline constexpr char kPlayerFilesMimeType[] = "application/x-tovix-player-files";
