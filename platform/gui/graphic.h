#pragma once
// The abstract picture: something with a size that can draw itself on a canvas and travel through streams and
// files. TBitmap, TPngImage, TJPEGImage and TIcon derive from it; TPicture holds one of them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/graphic_errors.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/streams.h"

class TCanvas;

class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual Integer Width() const = 0;
    virtual Integer Height() const = 0;
    virtual void SetWidth(Integer AValue) = 0;
    virtual void SetHeight(Integer AValue) = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool AValue);
    bool Modified() const { return FModified; }
    void SetModified(bool AValue);

    virtual void LoadFromStream(TStream* AStream) = 0;
    virtual void SaveToStream(TStream* AStream) = 0;
    // Raises EFOpenError / EFCreateError for the file, EInvalidGraphic for its content; a failed load leaves the
    // picture as it was.
    void LoadFromFile(const std::string& AFileName);
    void SaveToFile(const std::string& AFileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the whole picture into ARect of the canvas, stretched when the sizes differ.
    virtual void Draw(TCanvas* ACanvas, const TRect& ARect) = 0;
    virtual void Changed();

    // The bytes from the stream's position to its end.
    static std::vector<uint8_t> ReadRest(TStream* AStream);

    bool FTransparent = false;

private:
    bool FModified = false;
};
