#pragma once
// A holder of one picture of any kind; the file name's extension picks the kind when loading.
#include <memory>
#include <string>

#include "platform/gui/graphic.h"

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // From a TPicture or a TGraphic (copied), or nullptr (no picture).
    void Assign(TPersistent* ASource) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // A copy of AValue of its own kind; nullptr drops the picture.
    void SetGraphic(TGraphic* AValue);
    // The picture as that kind: an empty one replaces a picture of another kind.
    TBitmap* Bitmap();
    TIcon* Icon();
    Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
    Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // .bmp, .png, .jpg/.jpeg/.jpe/.jfif, .ico; another extension raises EInvalidGraphic "Unknown picture file
    // extension (.xyz)". A failed load keeps the picture held before.
    void LoadFromFile(const std::string& AFileName);
    void SaveToFile(const std::string& AFileName);

    TNotifyEvent OnChange;

protected:
    // Gives the held graphic to ADest (a TBitmap takes a bitmap, a PNG or a JPEG picture).
    void AssignTo(TPersistent* ADest) override;

private:
    void Adopt(std::unique_ptr<TGraphic> AGraphic);
    void Changed(TObject* ASender);

    std::unique_ptr<TGraphic> FGraphic;
};
