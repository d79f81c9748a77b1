#include "skin/core/skin_startup.h"

#include "skin/core/blit_routines.h"

void SkinCoreStartUp() { SkinEffectsUnitStart(); }
