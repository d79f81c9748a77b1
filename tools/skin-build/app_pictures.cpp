// The converter's own pictures in the skin folder: the left command buttons, the convert button, the player
// buttons, the profile field, the job grid's row and caption pictures, the film icon, the two share buttons (a
// plain thumbs-up and a share arrow), the drop, open and volume pictures, the getting-started and preview
// pictures, the trim handles and the chooser arrows.
#include <cmath>
#include <functional>

#include "skin_builder.h"

namespace {

using TDraw = std::function<void(TRaster&, uint32_t)>;

struct TPainter {
    const TSkinStyle& Style;
    std::string Folder;
    uint32_t Rgb(const char* AName) const { return Style.Colour(AName); }

    void Png(const std::string& AName, int AWidth, int AHeight, uint32_t AColour, const TDraw& ADraw) const
    {
        TRaster raster(AWidth, AHeight);
        ADraw(raster, AColour);
        raster.SavePng(Folder + AName);
    }
    // A resting and a hovered picture: the glyph in a muted grey, then in the accent.
    void PngPair(const std::string& AStem, int AWidth, int AHeight, const TDraw& ADraw) const
    {
        Png(AStem + ".png", AWidth, AHeight, Rgb("ink_muted"), ADraw);
        Png(AStem + "_over.png", AWidth, AHeight, Rgb("accent"), ADraw);
    }
    void Bmp(const std::string& AName, int AWidth, int AHeight, uint32_t ABack,
             const std::function<void(TRaster&)>& ADraw) const
    {
        TRaster raster(AWidth, AHeight, ABack, 255);
        ADraw(raster);
        raster.SaveBmp(Folder + AName, ABack);
    }
};

void Folder(TRaster& R, float AX, float AY, float AScale, uint32_t AColour, uint32_t APlus)
{
    const TPaint ink = TPaint::Flat(AColour);
    R.RoundBox(AX + 2 * AScale, AY + 5 * AScale, AX + 12 * AScale, AY + 10 * AScale, 1.5f * AScale, ink);
    R.RoundBox(AX + 2 * AScale, AY + 8 * AScale, AX + 30 * AScale, AY + 27 * AScale, 2.5f * AScale, ink);
    const float cx = AX + 16 * AScale, cy = AY + 17.5f * AScale, arm = 5 * AScale;
    R.Line(cx - arm, cy, cx + arm, cy, 2.2f * AScale, TPaint::Flat(APlus));
    R.Line(cx, cy - arm, cx, cy + arm, 2.2f * AScale, TPaint::Flat(APlus));
}

void Scissors(TRaster& R, uint32_t C)
{
    const TPaint ink = TPaint::Flat(C);
    R.Ring(9, 10, 4.5f, 2, ink);
    R.Ring(9, 22, 4.5f, 2, ink);
    R.Line(12.5f, 12.5f, 28, 23, 2.2f, ink);
    R.Line(12.5f, 19.5f, 28, 9, 2.2f, ink);
}

void Sliders(TRaster& R, uint32_t C)
{
    const TPaint ink = TPaint::Flat(C);
    const float knobs[3] = {21, 11, 17};
    for (int i = 0; i < 3; ++i) {
        const float y = 8.5f + i * 7.5f;
        R.Line(5, y, 27, y, 2, ink);
        R.Disc(knobs[i], y, 3.6f, ink);
    }
}

void ThumbsUp(TRaster& R, uint32_t C)
{
    const TPaint ink = TPaint::Flat(C);
    R.RoundBox(3, 10, 7, 21, 1, ink);
    R.Polygon({{9, 10}, {13, 3.5f}, {15.5f, 4.5f}, {14.5f, 9}, {20, 9}, {21.5f, 11}, {19.5f, 20}, {17.5f, 21},
               {9, 21}},
              ink);
}

void ShareArrow(TRaster& R, uint32_t C)
{
    const TPaint ink = TPaint::Flat(C);
    R.Polyline({{9, 9}, {4, 9}, {4, 20}, {17, 20}, {17, 15}}, 2, ink);
    R.Polygon({{14, 2.5f}, {21.5f, 8}, {14, 13.5f}, {14, 10.2f}, {8, 10.2f}, {8, 5.8f}, {14, 5.8f}}, ink);
}

}  // namespace

void BuildApplicationPictures(const TSkinStyle& AStyle, const std::string& AFolder)
{
    const TPainter P{AStyle, AFolder};
    const uint32_t white = P.Rgb("on_accent"), window = P.Rgb("window");

    P.PngPair("open", 32, 32, [&](TRaster& R, uint32_t C) { Folder(R, 0, 0, 1, C, white); });
    P.PngPair("trim", 32, 32, [](TRaster& R, uint32_t C) { Scissors(R, C); });
    P.PngPair("edit", 32, 32, [](TRaster& R, uint32_t C) { Sliders(R, C); });

    auto convert = [&](const char* AName, const char* AFill) {
        P.Png(AName, 140, 40, P.Rgb(AFill), [&](TRaster& R, uint32_t C) {
            R.RoundBox(0, 0, 140, 40, 8, TPaint::Flat(C));
            const std::string font = AStyle.FontFace();
            const int width = TRaster::TextWidth("Convert", font, 16, true);
            R.Text(54 - width / 2 + 10, 11, "Convert", font, 16, true, white);
            R.Ring(112, 20, 9, 2, TPaint::Flat(white));
            DrawChevron(R, 113, 20, 8, TDirection::Right, white, 2);
        });
    };
    convert("convert.png", "accent");
    convert("convert_over.png", "accent_hot");

    const uint32_t ink = P.Rgb("ink");
    auto player = [&](const char* AName, const std::function<void(TRaster&, const TPaint&)>& ADraw) {
        P.Png(AName, 24, 24, ink, [&](TRaster& R, uint32_t C) { ADraw(R, TPaint::Flat(C)); });
    };
    player("play.png", [](TRaster& R, const TPaint& I) { R.Polygon({{8, 5}, {19, 12}, {8, 19}}, I); });
    player("pause.png", [](TRaster& R, const TPaint& I) {
        R.RoundBox(6.5f, 5, 10.5f, 19, 1, I);
        R.RoundBox(13.5f, 5, 17.5f, 19, 1, I);
    });
    player("stop.png", [](TRaster& R, const TPaint& I) { R.RoundBox(6, 6, 18, 18, 2, I); });
    player("photo.png", [&](TRaster& R, const TPaint& I) {
        R.RoundBox(8, 5, 16, 9, 1.5f, I);
        R.RoundBox(3, 7, 21, 19, 3, I);
        R.Disc(12, 13, 4.2f, TPaint::Flat(white));
        R.Disc(12, 13, 2.4f, I);
    });
    auto bracket = [](TRaster& R, const TPaint& I, float AX, bool ALeft) {
        const float tip = ALeft ? AX + 3 : AX - 3;
        R.Polyline({{tip, 5}, {AX, 5}, {AX, 19}, {tip, 19}}, 2, I);
    };
    player("setstart.png", [&](TRaster& R, const TPaint& I) {
        bracket(R, I, 6, true);
        R.Polygon({{20, 7}, {11, 12}, {20, 17}}, I);
    });
    player("setend.png", [&](TRaster& R, const TPaint& I) {
        bracket(R, I, 18, false);
        R.Polygon({{4, 7}, {13, 12}, {4, 17}}, I);
    });
    player("playpart.png", [&](TRaster& R, const TPaint& I) {
        bracket(R, I, 4, true);
        bracket(R, I, 20, false);
        R.Polygon({{9.5f, 7.5f}, {16, 12}, {9.5f, 16.5f}}, I);
    });

    auto profileField = [&](const char* AName, bool AOver) {
        P.Bmp(AName, 300, 34, window, [&](TRaster& R) {
            R.RoundBox(0, 0, 300, 34, 4, TPaint::Flat(P.Rgb(AOver ? "accent" : "line")));
            R.RoundBox(AOver ? 1.5f : 1, AOver ? 1.5f : 1, AOver ? 298.5f : 299, AOver ? 32.5f : 33, 3,
                       TPaint::Flat(P.Rgb(AOver ? "accent_tint" : "field")));
            DrawChevron(R, 282, 17, 9, TDirection::Down, P.Rgb(AOver ? "accent" : "ink_muted"), 1.8f);
        });
    };
    profileField("profilescombo.bmp", false);
    profileField("profilescombo_over.bmp", true);

    // The selected job row stays light: the grid writes its text in black over it.
    P.Bmp("tablerow.bmp", 64, 20, P.Rgb("accent_tint"), [&](TRaster& R) {
        R.Fill(0, 0, 64, 1, P.Rgb("accent_tint_line"));
        R.Fill(0, 19, 64, 20, P.Rgb("accent_tint_line"));
    });
    P.Bmp("tablecolumncaptionbar.bmp", 64, 20, P.Rgb("face"), [&](TRaster& R) {
        R.RoundBox(0, 0, 64, 19, 0, TPaint::Gradient(P.Rgb("panel"), P.Rgb("face")));
        R.Fill(0, 19, 64, 20, P.Rgb("line"));
    });
    P.Bmp("filmicon.bmp", 16, 16, P.Rgb("field"), [&](TRaster& R) {
        R.RoundBox(1, 2, 15, 14, 1.5f, TPaint::Flat(P.Rgb("ink_muted")));
        for (int i = 0; i < 4; ++i) {
            R.Fill(2, 3 + i * 3, 4, 5 + i * 3, P.Rgb("field"));
            R.Fill(12, 3 + i * 3, 14, 5 + i * 3, P.Rgb("field"));
        }
        R.Fill(5, 4, 11, 12, P.Rgb("accent"));
    });

    P.Png("like.png", 24, 24, P.Rgb("ink_muted"), [](TRaster& R, uint32_t C) { ThumbsUp(R, C); });
    P.Png("like_over.png", 24, 24, P.Rgb("accent"), [](TRaster& R, uint32_t C) { ThumbsUp(R, C); });
    P.Png("tweet.png", 24, 24, P.Rgb("ink_muted"), [](TRaster& R, uint32_t C) { ShareArrow(R, C); });
    P.Png("tweet_over.png", 24, 24, P.Rgb("accent"), [](TRaster& R, uint32_t C) { ShareArrow(R, C); });

    P.Png("dragdrop.png", 96, 72, P.Rgb("line"), [&](TRaster& R, uint32_t C) {
        // A dashed drop zone with an arrow going into it.
        const TPaint dash = TPaint::Flat(C);
        for (float x = 6; x < 88; x += 10) R.Line(x, 20, std::min(x + 5, 90.0f), 20, 2, dash), R.Line(x, 68, std::min(x + 5, 90.0f), 68, 2, dash);
        for (float y = 26; y < 66; y += 10) R.Line(4, y, 4, std::min(y + 5, 66.0f), 2, dash), R.Line(92, y, 92, std::min(y + 5, 66.0f), 2, dash);
        const TPaint arrow = TPaint::Flat(P.Rgb("accent"));
        R.Line(48, 4, 48, 40, 5, arrow);
        R.Polygon({{36, 36}, {60, 36}, {48, 50}}, arrow);
    });
    P.Png("open_for_gs.png", 48, 48, P.Rgb("accent"), [&](TRaster& R, uint32_t C) { Folder(R, 0, 2, 1.5f, C, white); });
    P.Png("volume.png", 16, 16, P.Rgb("ink_muted"), [](TRaster& R, uint32_t C) {
        const TPaint ink = TPaint::Flat(C);
        R.Polygon({{1.5f, 5.5f}, {4.5f, 5.5f}, {8.5f, 2}, {8.5f, 14}, {4.5f, 10.5f}, {1.5f, 10.5f}}, ink);
        R.Polyline({{11, 5.5f}, {12.2f, 8}, {11, 10.5f}}, 1.4f, ink);
        R.Polyline({{13, 3.5f}, {15, 8}, {13, 12.5f}}, 1.4f, ink);
    });

    // Getting started: three steps (add files, choose a preset, convert) joined by arrows.
    P.Bmp("gettingstarted.bmp", 360, 140, window, [&](TRaster& R) {
        R.RoundBox(0, 0, 360, 140, 8, TPaint::Flat(P.Rgb("line_soft")));
        R.RoundBox(1, 1, 359, 139, 7, TPaint::Flat(P.Rgb("field")));
        const float centres[3] = {70, 180, 290};
        for (int i = 0; i < 3; ++i) R.Disc(centres[i], 70, 34, TPaint::Flat(P.Rgb(i == 2 ? "accent" : "face")));
        Folder(R, centres[0] - 16, 54, 1, P.Rgb("ink_muted"), P.Rgb("face"));
        for (int i = 0; i < 3; ++i) R.Line(166, 60 + i * 10.0f, 194, 60 + i * 10.0f, 3, TPaint::Flat(P.Rgb("ink_muted")));
        DrawChevron(R, 292, 70, 22, TDirection::Right, white, 4);
        DrawChevron(R, 125, 70, 14, TDirection::Right, P.Rgb("line"), 3);
        DrawChevron(R, 235, 70, 14, TDirection::Right, P.Rgb("line"), 3);
    });
    P.Bmp("preview.bmp", 264, 178, P.Rgb("screen"), [&](TRaster& R) {
        R.Ring(132, 89, 30, 3, TPaint::Flat(P.Rgb("screen_mark")));
        R.Polygon({{122, 74}, {146, 89}, {122, 104}}, TPaint::Flat(P.Rgb("screen_mark")));
    });

    // Trim handles: a right triangle whose upright edge faces the trimmed part.
    P.Bmp("trim_left.bmp", 12, 12, window, [&](TRaster& R) {
        R.Polygon({{11, 1}, {11, 11}, {1, 11}}, TPaint::Flat(P.Rgb("accent")));
    });
    P.Bmp("trim_right.bmp", 12, 12, window, [&](TRaster& R) {
        R.Polygon({{1, 1}, {11, 11}, {1, 11}}, TPaint::Flat(P.Rgb("accent")));
    });
    P.Png("imgarrow.png", 12, 17, P.Rgb("line"), [](TRaster& R, uint32_t C) {
        DrawChevron(R, 6, 8.5f, 9, TDirection::Right, C, 2);
    });
    P.Png("imgarrow_over.png", 12, 17, P.Rgb("accent"), [](TRaster& R, uint32_t C) {
        DrawChevron(R, 6, 8.5f, 9, TDirection::Right, C, 2);
    });
}
