// 32-bit AlphaBlend and StretchBlt on full-HD surfaces, each beside pixman's own composite of the same work.
// The GDI adds handle checks, clipping and source-range arithmetic on top of pixman; the ratios show what that
// costs. Run: bench_gdi (five repetitions each; the ratios of the medians are printed after the table).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

using namespace win;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kSmallWidth = 1280, kSmallHeight = 720;

// A DIB section in a memory DC, filled with a premultiplied pattern that varies in alpha.
struct Surface {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    uint32_t* Bits = nullptr;
    int Width, Height;
    pixman_image_t* Image = nullptr;

    Surface(int w, int h) : Width(w), Height(h)
    {
        BITMAPINFO info{};
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Bits = static_cast<uint32_t*>(bits);
        Dc = CreateCompatibleDC(nullptr);
        SelectObject(Dc, Bitmap);
        for (int i = 0; i < w * h; ++i) {
            const uint32_t a = uint32_t(i * 7) & 0xFF;
            Bits[i] = a << 24 | (a * 3 / 4) << 16 | (a / 2) << 8 | (a / 4);
        }
        Image = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, Bits, w * 4);
    }
    ~Surface()
    {
        pixman_image_unref(Image);
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
};

void GdiAlphaBlend(benchmark::State& state)
{
    Surface src(kWidth, kHeight), dst(kWidth, kHeight);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : state)
        benchmark::DoNotOptimize(AlphaBlend(dst.Dc, 0, 0, kWidth, kHeight, src.Dc, 0, 0, kWidth, kHeight, blend));
}

void PixmanOver(benchmark::State& state)
{
    Surface src(kWidth, kHeight), dst(kWidth, kHeight);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, src.Image, nullptr, dst.Image, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
}

void GdiStretchBlt(benchmark::State& state, int sw, int sh, int dw, int dh)
{
    Surface src(sw, sh), dst(dw, dh);
    SetStretchBltMode(dst.Dc, COLORONCOLOR);
    for (auto _ : state)
        benchmark::DoNotOptimize(StretchBlt(dst.Dc, 0, 0, dw, dh, src.Dc, 0, 0, sw, sh, SRCCOPY));
}

void PixmanScaledCopy(benchmark::State& state, int sw, int sh, int dw, int dh)
{
    Surface src(sw, sh), dst(dw, dh);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw), pixman_double_to_fixed(double(sh) / dh));
    pixman_image_set_transform(src.Image, &t);
    pixman_image_set_filter(src.Image, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_SRC, src.Image, nullptr, dst.Image, 0, 0, 0, 0, 0, 0, dw, dh);
}

// The median CPU time of every benchmark, by name, for the ratios (CPU time: the machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Times[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    std::map<std::string, double> Times;
};

} // namespace

void Settings(benchmark::internal::Benchmark* ABenchmark)
{
    ABenchmark->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("AlphaBlend/gdi", GdiAlphaBlend)->Apply(Settings);
    benchmark::RegisterBenchmark("AlphaBlend/pixman", PixmanOver)->Apply(Settings);
    benchmark::RegisterBenchmark("StretchBltUp/gdi", GdiStretchBlt, kSmallWidth, kSmallHeight, kWidth, kHeight)
        ->Apply(Settings);
    benchmark::RegisterBenchmark("StretchBltUp/pixman", PixmanScaledCopy, kSmallWidth, kSmallHeight, kWidth, kHeight)
        ->Apply(Settings);
    benchmark::RegisterBenchmark("StretchBltDown/gdi", GdiStretchBlt, kWidth, kHeight, kSmallWidth, kSmallHeight)
        ->Apply(Settings);
    benchmark::RegisterBenchmark("StretchBltDown/pixman", PixmanScaledCopy, kWidth, kHeight, kSmallWidth,
                                 kSmallHeight)
        ->Apply(Settings);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nGDI time / pixman time (1.00 = no overhead):\n");
    for (const char* name : {"AlphaBlend", "StretchBltUp", "StretchBltDown"}) {
        const std::string base(name);
        auto gdi = reporter.Times.find(base + "/gdi"), pix = reporter.Times.find(base + "/pixman");
        if (gdi != reporter.Times.end() && pix != reporter.Times.end() && pix->second > 0)
            std::printf("  %-15s %.2f\n", name, gdi->second / pix->second);
    }
    benchmark::Shutdown();
    return 0;
}
