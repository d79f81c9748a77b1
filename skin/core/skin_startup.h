#pragma once
// The skin core's one-time start: called once from main, before the first form is created, never from a static
// constructor (the choices depend on the processor and the display the program opened).
//
// It runs the bitmap-and-effects unit's start: the pixel kernels by the processor tests (blend formula, SIMD
// width), the transparent blit and the blit table. The compression unit needs nothing, and the drawing utilities
// ask the platform's one capability set whenever they need an answer (platform_gates.h). Until the start has run,
// the kernel table holds the reference kernels. Later calls do nothing.
void SkinCoreStartUp();
