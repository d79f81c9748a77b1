#pragma once
// What every family of skin-build shares: the style, the skin data being filled, the picture sheets the records
// point into (each a BMP of the skin's picture list, packed row by row), and small drawing helpers.
#include <memory>
#include <string>
#include <vector>

#include "raster.h"
#include "skin/core/skin_data.h"
#include "style_source.h"

class TSkinBuilder {
public:
    explicit TSkinBuilder(const TSkinStyle& AStyle);

    const TSkinStyle& Style;
    TspSkinData Skin{nullptr};

    uint32_t Rgb(const std::string& AName) const { return Style.Colour(AName); }
    // The same colour as the skin description stores it (0x00BBGGRR).
    TColor Col(const std::string& AName) const;
    int Metric(const std::string& AName) const { return Style.Metric(AName); }
    std::string Font() const { return Style.FontFace(); }
    int FontHeight() const { return Style.FontHeight(); }

    // A new picture of the skin's list, AWidth wide; returns its index. Cells are placed left to right, a new row
    // when the width runs out; the file keeps the height the cells used.
    int AddSheet(const std::string& AFileName, int AWidth, uint32_t AMatte);
    TRaster& Sheet(int AIndex) { return *FSheets.at(AIndex).Raster; }
    TRect Place(int ASheet, int AWidth, int AHeight);
    void NextRow(int ASheet);

    template <typename TRecord>
    TRecord& Control(const std::string& AName)
    {
        auto record = std::make_unique<TRecord>(AName);
        TRecord& result = *record;
        Skin.CtrlList.push_back(std::move(record));
        return result;
    }
    template <typename TRecord>
    TRecord& Object(const std::string& AName)
    {
        auto record = std::make_unique<TRecord>(AName);
        TRecord& result = *record;
        Skin.ObjectList.push_back(std::move(record));
        return result;
    }

    // The form pictures (active, inactive, mask), drawn by the frame family.
    std::unique_ptr<TRaster> FormPicture, FormInactivePicture, FormMask;

    // Writes the pictures and skin.ini into AFolder (which ends with the path delimiter and exists).
    void Write(const std::string& AFolder);

private:
    struct TSheet {
        std::string FileName;
        std::unique_ptr<TRaster> Raster;
        uint32_t Matte = 0;
        int X = 0, Y = 0, RowHeight = 0;
    };
    std::vector<TSheet> FSheets;
};

// The nine-piece description of a control record, relative to its SkinRect: fixed margins at each side, edges
// and client stretched.
void SetNinePieces(TspDataSkinCustomControl& ARecord, const TRect& ASkinRect, int ALeft, int ATop, int ARight,
                   int ABottom);
// Three pieces along one axis: fixed ends, a stretched middle.
void SetHorizontalPieces(TspDataSkinCustomControl& ARecord, const TRect& ASkinRect, int ALeft, int ARight);
void SetVerticalPieces(TspDataSkinCustomControl& ARecord, const TRect& ASkinRect, int ATop, int ABottom);

// A rectangle moved by (ADx, ADy), and one relative to the top-left corner of AOrigin.
TRect Offset(const TRect& ARect, int ADx, int ADy);
TRect Relative(const TRect& ARect, const TRect& AOrigin);

// Drawing helpers on a cell of a sheet.
void FillCell(TRaster& ARaster, const TRect& ACell, uint32_t AColour);
// A rounded box inset by AInset from the cell, filled and framed (AFrameWidth 0 draws no frame).
void DrawBox(TRaster& ARaster, const TRect& ACell, float AInset, float ARadius, uint32_t AFill, uint32_t AFrame,
             float AFrameWidth = 1);
enum class TDirection { Left, Right, Up, Down };
// An open arrow head (chevron) centred on ACx, ACy.
void DrawChevron(TRaster& ARaster, float ACx, float ACy, float ASize, TDirection ADirection, uint32_t AColour,
                 float AWidth = 1.6f);
// A solid triangle pointing in ADirection.
void DrawTriangle(TRaster& ARaster, float ACx, float ACy, float ASize, TDirection ADirection, uint32_t AColour);
void DrawTick(TRaster& ARaster, const TRect& ABox, uint32_t AColour);

// The families, each adding its records and pictures.
void BuildFrame(TSkinBuilder& B);
void BuildButtons(TSkinBuilder& B);
void BuildCheckBoxes(TSkinBuilder& B);
void BuildEdits(TSkinBuilder& B);
void BuildLists(TSkinBuilder& B);
void BuildBars(TSkinBuilder& B);
void BuildPanels(TSkinBuilder& B);
void BuildMenus(TSkinBuilder& B);
// The application's own pictures, written straight into AFolder.
void BuildApplicationPictures(const TSkinStyle& AStyle, const std::string& AFolder);
