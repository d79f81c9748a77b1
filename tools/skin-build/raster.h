#pragma once
// An RGBA drawing surface for the skin's pictures: anti-aliased shapes (rounded boxes, circles, strokes, polygons)
// and text, composited through pixman, written as 24-bit BMP or as PNG with alpha.
#include <pixman.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBitmap;

// Colours are 0xRRGGBB.
struct TPaint {
    uint32_t Top = 0;
    uint32_t Bottom = 0;  // a vertical gradient from Top to Bottom over the shape's box; equal for a flat fill
    uint8_t Alpha = 255;
    static TPaint Flat(uint32_t AColour, uint8_t AAlpha = 255) { return {AColour, AColour, AAlpha}; }
    static TPaint Gradient(uint32_t ATop, uint32_t ABottom) { return {ATop, ABottom, 255}; }
};

struct TPointF {
    float X = 0, Y = 0;
};

class TRaster {
public:
    TRaster(int AWidth, int AHeight, uint32_t AColour = 0, uint8_t AAlpha = 0);
    ~TRaster();
    TRaster(const TRaster&) = delete;
    TRaster& operator=(const TRaster&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Replaces the pixels of the rectangle (no blending): for cells that must hold an exact colour.
    void Fill(int ALeft, int ATop, int ARight, int ABottom, uint32_t AColour, uint8_t AAlpha = 255);
    // Shapes are in pixel-edge coordinates: a box from 0 to 4 covers pixels 0..3 exactly.
    void RoundBox(float ALeft, float ATop, float ARight, float ABottom, float ARadius, const TPaint& APaint);
    // A ring of AWidth inside the box's edge.
    void RoundFrame(float ALeft, float ATop, float ARight, float ABottom, float ARadius, float AWidth,
                    const TPaint& APaint);
    void Disc(float ACx, float ACy, float ARadius, const TPaint& APaint);
    void Ring(float ACx, float ACy, float ARadius, float AWidth, const TPaint& APaint);
    // A stroke with round ends.
    void Line(float AX0, float AY0, float AX1, float AY1, float AWidth, const TPaint& APaint);
    void Polyline(const std::vector<TPointF>& APoints, float AWidth, const TPaint& APaint);
    // Filled with the non-zero rule.
    void Polygon(const std::vector<TPointF>& APoints, const TPaint& APaint);
    // Text through the platform's font engine; AX, AY is the top-left corner of the text's box.
    void Text(int AX, int AY, const std::string& AText, const std::string& AFont, int AHeight, bool ABold,
              uint32_t AColour);
    static int TextWidth(const std::string& AText, const std::string& AFont, int AHeight, bool ABold);

    // Draws ASource's part over this raster at ADestX, ADestY, with its alpha.
    void Draw(const TRaster& ASource, int ASourceX, int ASourceY, int AWidth, int AHeight, int ADestX, int ADestY);
    // The same, scaled by a whole factor with no smoothing (for looking at small pictures).
    void DrawScaled(const TRaster& ASource, int ASourceX, int ASourceY, int AWidth, int AHeight, int ADestX,
                    int ADestY, int AFactor);

    // Colour (0xRRGGBB) and alpha of one pixel, un-premultiplied.
    uint32_t ColourAt(int AX, int AY) const;
    uint8_t AlphaAt(int AX, int AY) const;

    // 24-bit BMP of the pixels composited over AMatte; PNG with alpha.
    void SaveBmp(const std::string& AFileName, uint32_t AMatte, int AHeight = -1) const;
    void SavePng(const std::string& AFileName, int AHeight = -1) const;
    // Reads a BMP or PNG file (the platform's readers), for the contact sheets.
    static std::unique_ptr<TRaster> Load(const std::string& AFileName);
    // An opaque copy of a bitmap's pixels.
    static std::unique_ptr<TRaster> FromBitmap(TBitmap& ABitmap);

private:
    // Composites APaint through a coverage mask of the box (ALeft, ATop, AWidth x AHeight).
    void Composite(const std::vector<uint8_t>& ACoverage, int ALeft, int ATop, int AWidth, int AHeight,
                   float APaintTop, float APaintBottom, const TPaint& APaint);
    template <typename TDistance>
    void FillByDistance(float ALeft, float ATop, float ARight, float ABottom, const TPaint& APaint,
                        TDistance ADistance);

    int FWidth, FHeight;
    std::vector<uint32_t> FPixels;  // premultiplied a8r8g8b8
    pixman_image_t* FImage;
};
