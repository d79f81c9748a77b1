#pragma once
// The stack blur of glows and the grey-mask-to-alpha step of layered pictures, on raw top-down 32-bit pixels.
// The skin bitmap's BlurBitmap and MaskToAlpha run on these.
#include "platform/rtl/types.h"
#include "skin/core/pixel_kernels.h"

// Blurs blue, green and red in place with the triangle kernel 1 .. r + 1 .. 1 (edge pixels repeat, each pass
// divided by (r + 1)^2 and truncated); every alpha becomes 255. Nothing when ARadius <= 0 or the buffer is empty.
void BlurPixels(TspColor* ABits, Integer AWidth, Integer AHeight, Integer ARadius);

// Alpha of each pixel := (R + G + B) div 3 of the mask pixel at the same place; colours stay. Only the part that
// both buffers cover is touched.
void MaskToAlphaPixels(TspColor* ABits, Integer AWidth, Integer AHeight, const TspColor* AMask, Integer AMaskWidth,
                       Integer AMaskHeight);

// The largest radius the blur honours; larger radii blur as this one. It keeps the running sums inside 64 bits
// and the set-up per row bounded.
inline constexpr Integer MaxBlurRadius = 4096;
