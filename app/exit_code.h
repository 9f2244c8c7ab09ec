#pragma once

// What WinMain returns: 0 after the window was closed, 1 when no window or
// no rendering context could be made.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
