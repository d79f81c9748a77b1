#pragma once
// The player's display side that needs no SDL: where a picture goes in the display area, and the bitmap
// operations through which snapshots and the video hook reach platform bitmaps.
#include <memory>

class TBitmap;
class TFormatConverter;

struct TDisplayRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TDisplayRect&) const = default;
};

// The rectangle a picture of APictureWidth x APictureHeight takes in an area of AAreaWidth x AAreaHeight:
// AAspectRatio < 0 fills the area, > 0 is the display aspect to keep, 0 takes the picture's own (its sample
// aspect ratio, 1 when unknown, times its width over its height). The picture is as high as the area unless it
// would be too wide; both sizes are even, and the picture is centred.
TDisplayRect DisplayGeometry(double AAspectRatio, double ASampleAspect, int APictureWidth, int APictureHeight,
                             int AAreaWidth, int AAreaHeight);

// What the player needs of a bitmap. The media library never links the platform's GUI classes; a program that
// takes snapshots or hooks pictures includes player_display_bitmap.h, which registers these operations.
struct TPlayerBitmapOps {
    std::shared_ptr<TBitmap> (*Create)();
    // Sizes the bitmap to AWidth x AHeight (0 x 0 allowed) at the converter's depth and fills it black.
    void (*Clear)(TBitmap* ABitmap, TFormatConverter& AConverter, int AWidth, int AHeight);
    // The converter's current RGB picture into the bitmap, and back.
    void (*FromRGB)(TFormatConverter& AConverter, TBitmap* ABitmap);
    bool (*ToRGB)(TFormatConverter& AConverter, TBitmap* ABitmap);
    void (*LockCanvas)(TBitmap* ABitmap);
    void (*UnlockCanvas)(TBitmap* ABitmap);
};

void SetPlayerBitmapOps(const TPlayerBitmapOps* AOps);
const TPlayerBitmapOps* PlayerBitmapOps();
