#pragma once
// Include once in a program that takes the player's snapshots (CurrentFrame) or hooks its pictures
// (OnVideoHook): it registers the platform bitmap operations with the player, which the media library cannot
// link itself. Header-only on purpose, like media/decode/bitmap_transfer.h.
#include "media/decode/bitmap_transfer.h"
#include "media/player/player_display.h"
#include "platform/gui/bitmap.h"

namespace player_bitmap_ops {

inline std::shared_ptr<TBitmap> Create() { return std::make_shared<TBitmap>(); }

inline void Clear(TBitmap* ABitmap, TFormatConverter& AConverter, int AWidth, int AHeight)
{
    ABitmap->SetPixelFormat(BitmapPixelFormat(AConverter.BMPPixFmt()));
    ABitmap->SetSize(AWidth, AHeight);
    if (AWidth > 0 && AHeight > 0) {
        ABitmap->Canvas()->Brush()->SetColor(clBlack);
        ABitmap->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    }
}

inline void FromRGB(TFormatConverter& AConverter, TBitmap* ABitmap) { RGBToBitmap(AConverter, ABitmap); }

inline bool ToRGB(TFormatConverter& AConverter, TBitmap* ABitmap)
{
    try {
        BitmapToRGB(AConverter, ABitmap);
        return true;
    } catch (const Exception&) {
        return false;  // the handler resized the bitmap or changed its depth
    }
}

inline void LockCanvas(TBitmap* ABitmap) { ABitmap->Canvas()->Lock(); }
inline void UnlockCanvas(TBitmap* ABitmap) { ABitmap->Canvas()->Unlock(); }

inline const TPlayerBitmapOps Ops{&Create, &Clear, &FromRGB, &ToRGB, &LockCanvas, &UnlockCanvas};
inline const bool Registered = (SetPlayerBitmapOps(&Ops), true);

}  // namespace player_bitmap_ops
