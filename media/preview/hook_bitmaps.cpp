#include "media/preview/hook_bitmaps.h"

#include "media/decode/bitmap_transfer.h"
#include "media/preview/previewer.h"

namespace {

class TGuiHookBitmaps final : public THookBitmaps {
public:
    TBitmap* NewBitmap() override { return new TBitmap(); }
    void FreeBitmap(TBitmap* ABitmap) override { delete ABitmap; }
    void RGBToBitmap(TFormatConverter& AConverter, TBitmap* ABitmap) override { ::RGBToBitmap(AConverter, ABitmap); }
    void BitmapToRGB(TFormatConverter& AConverter, TBitmap* ABitmap) override { ::BitmapToRGB(AConverter, ABitmap); }
    std::unique_ptr<TPreviewWindow> NewPreviewWindow(std::function<bool()> AStopping) override
    {
        return std::make_unique<TPreviewer>(std::move(AStopping));
    }
};

}  // namespace

void InstallHookBitmaps()
{
    static TGuiHookBitmaps bitmaps;
    SetHookBitmaps(&bitmaps);
}
