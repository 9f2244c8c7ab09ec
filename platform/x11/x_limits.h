#pragma once

// The largest size or position of an X window: positions are signed 16-bit
// in the protocol, and so are the halves of a WM_SIZE that carries a size.
inline constexpr int kMaxXSize = 32767;
