#pragma once
// The software GDI in one include: device contexts, bitmaps and blits, regions, lines and shapes, fonts and text,
// colours and the capability set.
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/capabilities.h"
#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/drawing.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gdi/text.h"
