#pragma once
// What this GDI can and cannot do, answered in one place so that other layers take the fallback paths they have.

namespace win {

// No key-colour blit: callers use their own software path for transparent drawing.
constexpr bool kHasTransparentBlt = false;
// Per-pixel alpha blending of bitmaps is always there.
constexpr bool kHasAlphaBlend = true;

inline bool HasTransparentBlt() { return kHasTransparentBlt; }
inline bool HasAlphaBlend() { return kHasAlphaBlend; }

} // namespace win
