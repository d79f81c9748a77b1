// The skin's pixel kernels over a 1920 x 1080 picture against the pixman composite that does the same job,
// reported at the end as ratios (our time / pixman's time; below 1 is faster).
//   skin-kernels-bench [Google Benchmark flags, e.g. --benchmark_repetitions=5 for medians]
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "skin/core/blit_routines.h"
#include "skin/core/pixel_kernels.h"
#include "skin/core/skin_bitmap.h"

namespace {

constexpr int kW = 1920, kH = 1080;

// Source pixels with every alpha value in use (a glow-like mix of clear, partial and opaque), the same for both.
std::vector<TspColor> MixedPixels(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<TspColor> px(static_cast<size_t>(w) * h);
    for (auto& p : px) p = rng();
    return px;
}

struct Images {
    std::vector<TspColor> src = MixedPixels(kW, kH, 1), dst = MixedPixels(kW, kH, 2);
    std::vector<TspColor> half = MixedPixels(kW / 2, kH / 2, 3);
    pixman_image_t* src_image = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, reinterpret_cast<uint32_t*>(src.data()), kW * 4);
    pixman_image_t* src_x_image = pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, reinterpret_cast<uint32_t*>(src.data()), kW * 4);
    pixman_image_t* dst_image = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, reinterpret_cast<uint32_t*>(dst.data()), kW * 4);
    pixman_image_t* half_image =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kW / 2, kH / 2, reinterpret_cast<uint32_t*>(half.data()), kW / 2 * 4);
    ~Images()
    {
        for (pixman_image_t* i : {src_image, src_x_image, dst_image, half_image}) pixman_image_unref(i);
    }
};

Images& Shared()
{
    static Images images;
    return images;
}

void RowKernel(benchmark::State& state, TspLineOp op)
{
    Images& im = Shared();
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y) op(&im.src[static_cast<size_t>(y) * kW], &im.dst[static_cast<size_t>(y) * kW], kW);
        EndMMX();
        benchmark::ClobberMemory();
    }
}

void BM_Ours_BlendPlain(benchmark::State& s) { InitPixelKernels(false); RowKernel(s, BlendLine); InitPixelKernels(CPUHasMMX()); }
void BM_Ours_BlendMmx(benchmark::State& s) { InitPixelKernels(true); RowKernel(s, BlendLine); }
void BM_Ours_Key(benchmark::State& s) { RowKernel(s, KeyLine); }
void BM_Ours_Copy(benchmark::State& s) { RowKernel(s, CopyLine); }

void BM_Ours_Fill(benchmark::State& state)
{
    Images& im = Shared();
    for (auto _ : state) {
        FillRectBits(im.dst.data(), kW, kH, 0, 0, kW - 1, kH - 1, 0xFF336699);
        benchmark::ClobberMemory();
    }
}

void BM_Ours_SetAlpha(benchmark::State& state)
{
    Images& im = Shared();
    for (auto _ : state) {
        SetAlphaRectBits(im.dst.data(), kW, kH, 0, 0, kW - 1, kH - 1, 255);
        benchmark::ClobberMemory();
    }
}

void ScaledOurs(benchmark::State& state, bool blend)
{
    TspBitmap src, dst;
    src.SetSize(kW / 2, kH / 2);
    std::copy(Shared().half.begin(), Shared().half.end(), src.Bits());
    dst.SetSize(kW, kH);
    const TspBmpStretchBlt blit = blend ? BmpStretchBlendBlt : BmpStretchCopyBlt;
    for (auto _ : state) {
        blit(&dst, Rect(0, 0, kW, kH), Rect(0, 0, kW, kH), Rect(0, 0, kW / 2, kH / 2), &src);
        benchmark::ClobberMemory();
    }
}

void BM_Ours_ScaledCopy(benchmark::State& s) { ScaledOurs(s, false); }
void BM_Ours_ScaledBlend(benchmark::State& s) { ScaledOurs(s, true); }

void PixmanComposite(benchmark::State& state, pixman_op_t op, pixman_image_t* src)
{
    Images& im = Shared();
    for (auto _ : state) {
        pixman_image_composite32(op, src, nullptr, im.dst_image, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
}

void BM_Pixman_BlendPlain(benchmark::State& s) { PixmanComposite(s, PIXMAN_OP_OVER, Shared().src_image); }
void BM_Pixman_BlendMmx(benchmark::State& s) { PixmanComposite(s, PIXMAN_OP_OVER, Shared().src_image); }
// Colour keying has no pixman operator; a plain SRC copy is the nearest job.
void BM_Pixman_Key(benchmark::State& s) { PixmanComposite(s, PIXMAN_OP_SRC, Shared().src_image); }
void BM_Pixman_Copy(benchmark::State& s) { PixmanComposite(s, PIXMAN_OP_SRC, Shared().src_image); }
// Forcing alpha to 255 is what SRC from x8r8g8b8 into a8r8g8b8 does.
void BM_Pixman_SetAlpha(benchmark::State& s) { PixmanComposite(s, PIXMAN_OP_SRC, Shared().src_x_image); }

void BM_Pixman_Fill(benchmark::State& state)
{
    Images& im = Shared();
    for (auto _ : state) {
        pixman_fill(reinterpret_cast<uint32_t*>(im.dst.data()), kW, 32, 0, 0, kW, kH, 0xFF336699);
        benchmark::ClobberMemory();
    }
}

void ScaledPixman(benchmark::State& state, pixman_op_t op)
{
    Images& im = Shared();
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
    pixman_image_set_transform(im.half_image, &scale);
    pixman_image_set_filter(im.half_image, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(op, im.half_image, nullptr, im.dst_image, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    pixman_image_set_transform(im.half_image, nullptr);
}

void BM_Pixman_ScaledCopy(benchmark::State& s) { ScaledPixman(s, PIXMAN_OP_SRC); }
void BM_Pixman_ScaledBlend(benchmark::State& s) { ScaledPixman(s, PIXMAN_OP_OVER); }

const char* const kCases[] = {"BlendPlain", "BlendMmx", "Key", "Copy", "Fill", "SetAlpha", "ScaledCopy", "ScaledBlend"};

// Collects the time per iteration of every run while the console reporter prints as usual.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions the median stands for the benchmark; without, the single run does.
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[name] = run.GetAdjustedRealTime();
            else if (run.run_type == Run::RT_Iteration)
                times[name] = run.GetAdjustedRealTime();
        }
        for (const auto& [name, time] : medians) times[name] = time;
    }
    std::map<std::string, double> times;
    std::map<std::string, double> medians;
};

}  // namespace

BENCHMARK(BM_Ours_BlendPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_BlendPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_BlendMmx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_BlendMmx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Key)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Key)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_SetAlpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_SetAlpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_ScaledCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ScaledCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_ScaledBlend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_ScaledBlend)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    SkinEffectsUnitStart();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nours / pixman over %d x %d (below 1 is faster):\n", kW, kH);
    for (const char* name : kCases) {
        const auto ours = reporter.times.find(std::string("BM_Ours_") + name);
        const auto theirs = reporter.times.find(std::string("BM_Pixman_") + name);
        if (ours == reporter.times.end() || theirs == reporter.times.end() || theirs->second <= 0) continue;
        std::printf("  %-12s %.2f\n", name, ours->second / theirs->second);
    }
    benchmark::Shutdown();
    return 0;
}
