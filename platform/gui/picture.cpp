#include "platform/gui/picture.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/icon.h"
#include "platform/gui/jpeg_image.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/sysutils.h"

namespace {

std::unique_ptr<TGraphic> NewOfKind(const TGraphic* AKind)
{
    if (dynamic_cast<const TBitmap*>(AKind)) return std::make_unique<TBitmap>();
    if (dynamic_cast<const TPngImage*>(AKind)) return std::make_unique<TPngImage>();
    if (dynamic_cast<const TJPEGImage*>(AKind)) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<const TIcon*>(AKind)) return std::make_unique<TIcon>();
    throw EInvalidGraphic("Unknown picture kind");
}

std::unique_ptr<TGraphic> NewForExtension(const std::string& AFileName)
{
    std::string ext = LowerCase(ExtractFileExt(AFileName));
    if (ext == ".bmp") return std::make_unique<TBitmap>();
    if (ext == ".png") return std::make_unique<TPngImage>();
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif") return std::make_unique<TJPEGImage>();
    if (ext == ".ico") return std::make_unique<TIcon>();
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
}

}  // namespace

TPicture::~TPicture()
{
    if (FGraphic) FGraphic->OnChange = nullptr;
}

void TPicture::Adopt(std::unique_ptr<TGraphic> AGraphic)
{
    if (FGraphic) FGraphic->OnChange = nullptr;
    FGraphic = std::move(AGraphic);
    if (FGraphic) FGraphic->OnChange = [this](TObject* s) { Changed(s); };
    Changed(this);
}

void TPicture::Changed(TObject*)
{
    if (OnChange) OnChange(this);
}

void TPicture::Assign(TPersistent* ASource)
{
    if (ASource == this) return;
    if (!ASource) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(ASource)) {
        SetGraphic(picture->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(ASource)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(ASource);
    }
}

void TPicture::SetGraphic(TGraphic* AValue)
{
    if (!AValue) {
        Adopt(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy = NewOfKind(AValue);
    copy->Assign(AValue);
    Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon()
{
    if (!dynamic_cast<TIcon*>(FGraphic.get())) Adopt(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& AFileName)
{
    std::unique_ptr<TGraphic> graphic = NewForExtension(AFileName);
    graphic->LoadFromFile(AFileName);
    Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& AFileName)
{
    if (FGraphic) FGraphic->SaveToFile(AFileName);
}

void TPicture::AssignTo(TPersistent* ADest)
{
    if (FGraphic) {
        ADest->Assign(FGraphic.get());
        return;
    }
    TPersistent::AssignTo(ADest);
}
