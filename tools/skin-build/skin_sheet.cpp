// skin-sheet: contact sheets of a skin folder for looking at. The skin is read with the skin reader; then one PNG
// per record kind shows every record's picture parts (enlarged, labelled by key), "frame.png" the form pictures,
// and "application.png" the converter's own pictures.
#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "application_pictures.h"
#include "picture_parts.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "raster.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records_factory.h"
#include "skin/core/skin_startup.h"
#include "skin/core/skin_strips.h"

namespace {

constexpr uint32_t kSheetBack = 0xFAFAFB, kLabel = 0x33343A, kHeading = 0x8A1024;
const char* const kFont = "DejaVu Sans";

struct TTile {
    std::string Label;
    const TRaster* Source;
    TRect Part;
    int Scale;
};

struct TRow {
    std::string Heading;
    std::vector<TTile> Tiles;
};

// Lays rows of labelled tiles out on one sheet, wrapping a row when the sheet's width runs out.
void WriteSheet(const std::string& AFileName, const std::vector<TRow>& ARows)
{
    constexpr int kWidth = 1000, kGap = 10, kLabelHeight = 16;
    auto placeAll = [&](TRaster* ADest) {
        int y = kGap;
        for (const TRow& row : ARows) {
            if (ADest) ADest->Text(kGap, y, row.Heading, kFont, 14, true, kHeading);
            y += 20;
            int x = kGap, rowHeight = 0;
            for (const TTile& tile : row.Tiles) {
                const int w = (tile.Part.Right - tile.Part.Left) * tile.Scale;
                const int h = (tile.Part.Bottom - tile.Part.Top) * tile.Scale;
                const int labelWidth = TRaster::TextWidth(tile.Label, kFont, 11, false);
                const int cell = std::max(w, labelWidth);
                if (x + cell > kWidth - kGap && x > kGap) x = kGap, y += rowHeight + kGap, rowHeight = 0;
                if (ADest) {
                    ADest->Text(x, y, tile.Label, kFont, 11, false, kLabel);
                    // A checkered backing shows where a picture part leaves pixels out.
                    for (int cy = 0; cy < h; cy += 6)
                        for (int cx = 0; cx < w; cx += 6)
                            ADest->Fill(x + cx, y + kLabelHeight + cy, x + std::min(cx + 6, w),
                                        y + kLabelHeight + std::min(cy + 6, h),
                                        ((cx + cy) / 6) % 2 ? 0xDDDDDD : 0xFFFFFF);
                    ADest->DrawScaled(*tile.Source, tile.Part.Left, tile.Part.Top, tile.Part.Right - tile.Part.Left,
                                      tile.Part.Bottom - tile.Part.Top, x, y + kLabelHeight, tile.Scale);
                }
                x += cell + kGap;
                rowHeight = std::max(rowHeight, h + kLabelHeight);
            }
            y += rowHeight + 2 * kGap;
        }
        return y;
    };
    TRaster sheet(kWidth, placeAll(nullptr), kSheetBack, 255);
    placeAll(&sheet);
    sheet.SavePng(AFileName);
}

TRect Whole(const TRaster& ARaster) { return Rect(0, 0, ARaster.Width(), ARaster.Height()); }

// A record's picture made at a new size by the skin core's own composition, as a control of that size draws it:
// nine pieces, or a strip along the axis its pieces allow. Null for a fixed-size picture.
std::unique_ptr<TBitmap> Resized(const TspDataSkinCustomControl& ARecord, TBitmap* APicture, const TRect& APart,
                                 int AWidth, int AHeight)
{
    const int w = APart.Right - APart.Left, h = APart.Bottom - APart.Top;
    auto bitmap = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
    if (ARecord.RBPoint.X != 0 && ARecord.RBPoint.Y != 0) {
        const int dx = AWidth - w, dy = AHeight - h;
        const TRect cl = ARecord.ClRect;
        ComposeSkinImage(ARecord.LTPoint, ARecord.RTPoint, ARecord.LBPoint, ARecord.RBPoint, cl, ARecord.LTPoint,
                         TPoint{ARecord.RTPoint.X + dx, ARecord.RTPoint.Y},
                         TPoint{ARecord.LBPoint.X, ARecord.LBPoint.Y + dy},
                         TPoint{ARecord.RBPoint.X + dx, ARecord.RBPoint.Y + dy},
                         Rect(cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy), bitmap.get(), APicture, APart, AWidth,
                         AHeight, true, ARecord.LeftStretch, ARecord.TopStretch, ARecord.RightStretch,
                         ARecord.BottomStretch, ARecord.StretchEffect, ARecord.StretchType);
    } else if (ARecord.RTPoint.X != 0) {
        BuildHStripImage(ARecord.LTPoint.X, w - ARecord.RTPoint.X, bitmap.get(), APicture, APart, AWidth, h, true);
    } else if (ARecord.LBPoint.Y != 0) {
        BuildVStripImage(ARecord.LTPoint.Y, h - ARecord.LBPoint.Y, bitmap.get(), APicture, APart, w, AHeight, true);
    } else {
        return nullptr;
    }
    return bitmap;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin-sheet <skin folder> <output folder>\n");
        return 2;
    }
    SkinCoreStartUp();
    try {
        const std::string folder = IncludeTrailingPathDelimiter(argv[1]);
        const std::string out = IncludeTrailingPathDelimiter(argv[2]);
        ForceDirectories(out);
        TspSkinData skin(nullptr);
        skin.LoadFromFile(folder + "skin.ini");
        if (skin.Empty) throw std::runtime_error(folder + "skin.ini holds no skin");

        std::vector<std::unique_ptr<TRaster>> pictures;
        for (int i = 0; i < skin.FActivePicturesNames->Count(); ++i)
            pictures.push_back(TRaster::Load(folder + skin.FActivePicturesNames->Strings(i)));
        std::map<std::string, std::unique_ptr<TRaster>> main;
        for (const auto& picture : skin.MainPictures())
            if (!picture.Name->empty()) main[picture.Key] = TRaster::Load(folder + *picture.Name);
        auto active = [&](Integer AIndex) -> const TRaster* {
            return AIndex >= 0 && AIndex < Integer(pictures.size()) ? pictures[AIndex].get() : nullptr;
        };
        auto tiles = [&](const std::string& AKind, const TRectCollector& ARects, const TRaster* APicture,
                         const TRaster* ASkinRectPicture) {
            std::vector<TTile> result;
            for (const auto& [key, rect] : ARects.Rects) {
                const TRaster* source = key == "skinrect" ? ASkinRectPicture : APicture;
                if (!source || !IsPicturePart(AKind, key) || rect.Right > source->Width() ||
                    rect.Bottom > source->Height())
                    continue;
                const int width = rect.Right - rect.Left;
                result.push_back({key, source, rect, width <= 40 ? 3 : 2});
            }
            return result;
        };

        std::map<std::string, std::vector<TRow>> families;
        for (const auto& record : skin.CtrlList) {
            const std::string kind = SkinControlTypeWord(*record);
            TRectCollector rects;
            record->DescribeFields(rects);
            const TRaster* picture = active(record->PictureIndex);
            families[kind].push_back({record->IDName + " (" + kind + ")", tiles(kind, rects, picture, picture)});
        }
        for (const auto& record : skin.ObjectList) {
            const std::string kind = SkinObjectTypeWord(*record);
            TRectCollector rects;
            record->DescribeFields(rects);
            const TRaster* form = main.count("picture") ? main["picture"].get() : nullptr;
            const TRaster* picture = active(record->ActivePictureIndex);
            families["object-" + kind].push_back({record->IDName + " (" + kind + ")",
                                                  tiles(kind, rects, picture,
                                                        record->SkinRectInAPicture ? picture : form)});
        }
        for (const auto& [kind, rows] : families) WriteSheet(out + "records-" + kind + ".png", rows);

        std::vector<TRow> frame(1);
        frame[0].Heading = "form pictures";
        for (const auto& [key, raster] : main) frame[0].Tiles.push_back({key, raster.get(), Whole(*raster), 1});
        TRow windows{"window pictures (popup, hint)", {}};
        for (Integer index : {skin.PopupWindow->WindowPictureIndex, skin.HintWindow->WindowPictureIndex})
            if (const TRaster* picture = active(index)) windows.Tiles.push_back({"picture", picture, Whole(*picture), 3});
        frame.push_back(windows);
        WriteSheet(out + "frame.png", frame);

        // Every resizable record at a larger size (normal and active looks), and the frame at a window's size.
        std::vector<std::unique_ptr<TRaster>> grown;
        std::vector<TRow> resized;
        TRow controls{"controls at a new size", {}};
        for (const auto& record : skin.CtrlList) {
            auto* custom = dynamic_cast<TspDataSkinCustomControl*>(record.get());
            if (!custom || custom->PictureIndex < 0 || custom->SkinRect.Right <= custom->SkinRect.Left) continue;
            TBitmap* picture = skin.FActivePictures[custom->PictureIndex].get();
            const int w = custom->SkinRect.Right - custom->SkinRect.Left, h = custom->SkinRect.Bottom - custom->SkinRect.Top;
            TRectCollector rects;
            record->DescribeFields(rects);
            for (const auto& [key, rect] : rects.Rects) {
                if ((key != "skinrect" && key != "activeskinrect") || rect.Right - rect.Left != w) continue;
                auto bitmap = Resized(*custom, picture, rect, std::max(w * 3, 150), std::max(h * 2, h + 30));
                if (!bitmap) continue;
                grown.push_back(TRaster::FromBitmap(*bitmap));
                controls.Tiles.push_back({record->IDName + " " + key, grown.back().get(), Whole(*grown.back()), 1});
            }
        }
        resized.push_back(std::move(controls));
        TBitmap form(560, 360, pf24bit);
        const int dx = 560 - skin.FPicture->Width(), dy = 360 - skin.FPicture->Height();
        for (TBitmap* picture : {skin.FPicture.get(), skin.FInActivePicture.get()}) {
            const TRect cl = skin.ClRect;
            ComposeSkinImage(skin.LTPoint, skin.RTPoint, skin.LBPoint, skin.RBPoint, cl, skin.LTPoint,
                             TPoint{skin.RTPoint.X + dx, skin.RTPoint.Y}, TPoint{skin.LBPoint.X, skin.LBPoint.Y + dy},
                             TPoint{skin.RBPoint.X + dx, skin.RBPoint.Y + dy},
                             Rect(cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy), &form, picture,
                             Rect(0, 0, picture->Width(), picture->Height()), 560, 360, true, skin.LeftStretch,
                             skin.TopStretch, skin.RightStretch, skin.BottomStretch, skin.StretchEffect,
                             skin.StretchType);
            grown.push_back(TRaster::FromBitmap(form));
            resized.insert(resized.begin(), TRow{picture == skin.FPicture.get() ? "frame at 560 x 360, active"
                                                                              : "frame at 560 x 360, inactive",
                                                 {{"picture", grown.back().get(), Whole(*grown.back()), 1}}});
        }
        WriteSheet(out + "resized.png", resized);

        std::vector<std::unique_ptr<TRaster>> own;
        TRow application{"application pictures", {}};
        for (const char* name : kApplicationPictures) {
            own.push_back(TRaster::Load(folder + name));
            const TRaster& picture = *own.back();
            application.Tiles.push_back({name, &picture, Whole(picture), picture.Width() <= 32 ? 3 : 1});
        }
        WriteSheet(out + "application.png", {application});
        std::printf("%s\n", out.c_str());
    } catch (const Exception& e) {
        std::fprintf(stderr, "skin-sheet: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
