#pragma once
// zlib for stored skins, kept in a unit of its own: the compression header's level names clash with the graphics
// colour constants, so the two are never included together.
#include "platform/rtl/streams.h"

// The whole of AContent as one zlib stream at the best level, at ADest's position.
void PackSkinContent(TMemoryStream* AContent, TMemoryStream* ADest);
// The whole of ABlock inflated into ADest; raises EDecompressionError for data that is no zlib stream or that
// grows past ALimit bytes.
void InflateSkinContent(TMemoryStream* ABlock, TMemoryStream* ADest, Int64 ALimit);
