// app-icon STYLE OUTDIR: the converter's application icon for the desktop's menus, as hicolor PNGs
// OUTDIR/<N>x<N>/apps/quennary.png in the skin's accent colour: a film frame with an arrow leaving it.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "raster.h"
#include "style_source.h"

namespace {

// Drawn on a 64-unit grid and scaled, so that every size is drawn afresh rather than shrunk from a large one.
void DrawIcon(TRaster& R, const TSkinStyle& AStyle)
{
    const float s = R.Width() / 64.0f;
    const uint32_t accent = AStyle.Colour("accent");
    const uint32_t paper = AStyle.Colour("on_accent");
    R.RoundBox(2 * s, 2 * s, 62 * s, 62 * s, 12 * s, TPaint::Gradient(AStyle.Colour("accent_hot"), accent));
    // The film frame with its sprocket holes down both sides.
    R.RoundBox(10 * s, 14 * s, 42 * s, 50 * s, 3 * s, TPaint::Flat(paper));
    for (int i = 0; i < 4; ++i) {
        const float top = (17 + i * 8.5f) * s;
        R.RoundBox(12.5f * s, top, 16 * s, top + 4 * s, 0.8f * s, TPaint::Flat(accent));
        R.RoundBox(36 * s, top, 39.5f * s, top + 4 * s, 0.8f * s, TPaint::Flat(accent));
    }
    R.Polygon({{22 * s, 24 * s}, {22 * s, 40 * s}, {32 * s, 32 * s}}, TPaint::Flat(accent));
    // The arrow: what goes in comes out converted.
    R.Line(44 * s, 32 * s, 54 * s, 32 * s, 4 * s, TPaint::Flat(paper));
    R.Polygon({{50 * s, 24 * s}, {58 * s, 32 * s}, {50 * s, 40 * s}}, TPaint::Flat(paper));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: app-icon STYLE OUTDIR\n");
        return 2;
    }
    try {
        const TSkinStyle style = TSkinStyle::Load(argv[1]);
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const std::string folder =
                std::string(argv[2]) + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
            std::filesystem::create_directories(folder);
            TRaster raster(size, size);
            DrawIcon(raster, style);
            raster.SavePng(folder + "/quennary.png");
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "app-icon: %s\n", E.what());
        return 1;
    }
    return 0;
}
