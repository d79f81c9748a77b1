#include "platform/gui/jpeg_image.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

void TJPEGImage::Assign(TPersistent* ASource)
{
    if (ASource == this) return;
    if (!ASource) {
        FPixels = TJpegPixels{};
        FData.clear();
        Changed();
        return;
    }
    if (auto* jpeg = dynamic_cast<TJPEGImage*>(ASource)) {
        FPixels = jpeg->FPixels;
        FData = jpeg->FData;
        FQuality = jpeg->FQuality;
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(ASource)) {
        TJpegPixels p;
        p.Width = bitmap->Width();
        p.Height = bitmap->Height();
        p.Bgr.resize(size_t(p.Width) * 3 * p.Height);
        CopyBgrRows(bitmap, p.Bgr.data(), size_t(p.Width) * 3);
        FPixels = std::move(p);
        FData.clear();
        Changed();
        return;
    }
    TGraphic::Assign(ASource);
}

void TJPEGImage::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::SetCompressionQuality(Integer AValue)
{
    AValue = std::clamp(AValue, 1, 100);
    if (AValue == FQuality) return;
    FQuality = AValue;
    FData.clear();
}

void TJPEGImage::Compress()
{
    if (FData.empty()) FData = WriteJpeg(FPixels, FQuality);
}

void TJPEGImage::LoadFromStream(TStream* AStream)
{
    std::vector<uint8_t> data = ReadRest(AStream);
    TJpegPixels pixels = ReadJpeg(data);
    FPixels = std::move(pixels);
    FData = std::move(data);
    Changed();
}

void TJPEGImage::SaveToStream(TStream* AStream)
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty JPEG image");
    Compress();
    AStream->WriteBuffer(FData.data(), static_cast<Int64>(FData.size()));
}

void TJPEGImage::AssignTo(TPersistent* ADest)
{
    auto* bitmap = dynamic_cast<TBitmap*>(ADest);
    if (!bitmap) {
        TGraphic::AssignTo(ADest);
        return;
    }
    TBitmap result(Width(), Height(), pf24bit);
    for (Integer y = 0; y < Height(); ++y)
        std::copy_n(FPixels.Bgr.begin() + ptrdiff_t(y) * Width() * 3, size_t(Width()) * 3,
                    static_cast<uint8_t*>(result.ScanLine(y)));
    bitmap->Assign(&result);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& ARect)
{
    if (Empty()) return;
    win::BITMAPINFO info{};
    info.bmiHeader.biWidth = Width();
    info.bmiHeader.biHeight = -Height();
    info.bmiHeader.biBitCount = 24;
    // Our rows are tightly packed; a DIB wants each padded to four bytes.
    size_t stride = static_cast<size_t>(win::DibStride(Width(), 24));
    std::vector<uint8_t> dib(stride * Height());
    for (Integer y = 0; y < Height(); ++y)
        std::copy_n(FPixels.Bgr.begin() + ptrdiff_t(y) * Width() * 3, size_t(Width()) * 3, dib.begin() + ptrdiff_t(y * stride));
    win::StretchDIBits(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), 0, 0, Width(),
                       Height(), dib.data(), &info, win::DIB_RGB_COLORS, win::SRCCOPY);
}
