#include "app/native_filters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "media/loader/av_bindings.h"
#include "platform/rtl/exceptions.h"

namespace {

constexpr int kAVLogError = 16, kAVLogDebug = 48;
constexpr int32_t kLowest = -100, kHighest = 100;

uint8_t Clamp255(int AValue) { return static_cast<uint8_t>(std::clamp(AValue, 0, 255)); }

std::string Trimmed(const std::string& AText)
{
    const auto first = AText.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return AText.substr(first, AText.find_last_not_of(" \t\r\n") - first + 1);
}

// Up to four fields separated by ":"; the fourth is the whole rest.
std::vector<std::string> SplitFields(const std::string& AArgs)
{
    std::vector<std::string> fields;
    size_t from = 0;
    while (fields.size() < 3) {
        const auto colon = AArgs.find(':', from);
        if (colon == std::string::npos)
            break;
        fields.push_back(Trimmed(AArgs.substr(from, colon - from)));
        from = colon + 1;
    }
    fields.push_back(Trimmed(AArgs.substr(std::min(from, AArgs.size()))));
    return fields;
}

int64_t FieldValue(const std::string& AField, const char* AFilter)
{
    int64_t value = 0;
    const char* begin = AField.data();
    const char* end = begin + AField.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        throw Exception(std::string("Invalid argument \"") + AField + "\" for " + AFilter);
    return value;
}

std::string Printed(const char* AFormat, int32_t A, int32_t B)
{
    char text[128];
    std::snprintf(text, sizeof text, AFormat, A, B);
    return text;
}

// Chroma subsampling of the accepted formats, as log2 of the factor.
struct TChromaShift {
    int H = 0, V = 0;
};

TChromaShift ChromaShiftOf(int AFormat)
{
    switch (AFormat) {
    case AV_PIX_FMT_YUV420P: case AV_PIX_FMT_YUVJ420P: return {1, 1};
    case AV_PIX_FMT_YUV422P: case AV_PIX_FMT_YUVJ422P: return {1, 0};
    case AV_PIX_FMT_YUV410P: return {2, 2};
    case AV_PIX_FMT_YUV411P: return {2, 0};
    case AV_PIX_FMT_YUV440P: case AV_PIX_FMT_YUVJ440P: return {0, 1};
    default: return {0, 0};
    }
}

const std::vector<AVPixelFormat>& AcceptedFormats()
{
    static const std::vector<AVPixelFormat> formats = {
        AV_PIX_FMT_YUV420P,  AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUV444P,  AV_PIX_FMT_YUV410P, AV_PIX_FMT_YUV411P,
        AV_PIX_FMT_YUV440P, AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_YUVJ440P};
    return formats;
}

TNativeFilterLog EngineLog(void* AContext)
{
    return [AContext](int ALevel, const std::string& AText) {
        if (ff::av_log)
            ff::av_log(AContext, ALevel, "%s", AText.c_str());
    };
}

}  // namespace

void EqAdjustPlane(uint8_t* APlane, int ALineSize, int AColumns, int ARows, int ABrightness, int AContrast)
{
    const int k = ((AContrast + 100) * 65536) / 100;
    const int b = ((ABrightness + 100) * 511) / 200 - 128 - (k >> 9);
    for (int y = 0; y < ARows; ++y, APlane += ALineSize)
        for (int x = 0; x < AColumns; ++x)
            APlane[x] = Clamp255(((APlane[x] * k) >> 16) + b);
}

void HueAdjustPlanes(uint8_t* AU, int AULineSize, uint8_t* AV, int AVLineSize, int AColumns, int ARows, int AHue,
                     int ASaturation)
{
    const long double angle = AHue * std::numbers::pi_v<long double> / 100;
    const long double scale = 65536.0L * (ASaturation + 100) / 100;
    const int s = static_cast<int>(std::floor(std::sin(angle) * scale + 0.5L));
    const int c = static_cast<int>(std::floor(std::cos(angle) * scale + 0.5L));
    // 8421376 = 128 * 65536 + 32768: back around 128, rounded.
    constexpr int kCentre = 8421376;
    for (int y = 0; y < ARows; ++y, AU += AULineSize, AV += AVLineSize) {
        for (int x = 0; x < AColumns; ++x) {
            const int u = AU[x] - 128, v = AV[x] - 128;
            AU[x] = Clamp255((c * u - s * v + kCentre) >> 16);
            AV[x] = Clamp255((s * u + c * v + kCentre) >> 16);
        }
    }
}

TTwoSettingFilter::TTwoSettingFilter(const TNames& ANames, const std::string& AArgs, TNativeFilterLog ALog)
    : FNames(ANames), FLog(std::move(ALog)), FFirst(NewLiveCell(0)), FSecond(NewLiveCell(0))
{
    bool live = false;
    const auto fields = SplitFields(AArgs);
    const char* filter = FNames.Filter;
    if (fields.size() > 0 && !fields[0].empty())
        FFirst->store(static_cast<int32_t>(std::clamp<int64_t>(FieldValue(fields[0], filter), INT32_MIN, INT32_MAX)));
    if (fields.size() > 1 && !fields[1].empty())
        FSecond->store(static_cast<int32_t>(std::clamp<int64_t>(FieldValue(fields[1], filter), INT32_MIN, INT32_MAX)));
    // The last two fields are handles of live cells; a chain text can never point a filter at memory.
    for (size_t i = 2; i < fields.size(); ++i) {
        if (fields[i].empty())
            continue;
        const int64_t handle = FieldValue(fields[i], filter);
        if (handle == 0)
            continue;
        TLiveCell cell = FindLiveCell(handle);
        if (!cell)
            throw Exception(std::string("No live value ") + fields[i] + " for " + filter);
        (i == 2 ? FFirst : FSecond) = std::move(cell);
        live = true;
    }
    const int32_t first = CheckRange(*FFirst, FNames.First);
    const int32_t second = CheckRange(*FSecond, FNames.Second);
    FLastFirst = first, FLastSecond = second;
    FLog(kAVLogDebug, Printed(FNames.Values, first, second));
    FProcess = first != 0 || second != 0 || live;
}

int32_t TTwoSettingFilter::CheckRange(std::atomic<int32_t>& ACell, const char* AName)
{
    const int32_t value = ACell.load(std::memory_order_relaxed);
    if (value >= kLowest && value <= kHighest)
        return value;
    const int32_t bound = value < kLowest ? kLowest : kHighest;
    ACell.store(bound, std::memory_order_relaxed);
    FLog(kAVLogError, Printed((std::string("Invalid ") + AName + " value %d, force to %d\n").c_str(), value, bound));
    return bound;
}

int TTwoSettingFilter::FilterFrame(AVFrame* AFrame)
{
    const int32_t old_first = FFirst->load(std::memory_order_relaxed);
    const int32_t first = CheckRange(*FFirst, FNames.First);
    if (first != old_first)
        FLastFirst = first;
    const int32_t old_second = FSecond->load(std::memory_order_relaxed);
    const int32_t second = CheckRange(*FSecond, FNames.Second);
    if (second != old_second)
        FLastSecond = second;
    const int32_t now_first = FFirst->load(std::memory_order_relaxed);
    const int32_t now_second = FSecond->load(std::memory_order_relaxed);
    if (now_first != FLastFirst || now_second != FLastSecond) {
        FLog(kAVLogDebug, Printed(FNames.Values, now_first, now_second));
        FLastFirst = now_first, FLastSecond = now_second;
    }
    if (FProcess && (first != 0 || second != 0))
        Adjust(AFrame, first, second);
    return 0;
}

TEqFilter::TEqFilter(const std::string& AArgs, TNativeFilterLog ALog)
    : TTwoSettingFilter({"nativeeq", "brightness", "contrast", "brightness:%d, contrast %d\n"}, AArgs, std::move(ALog))
{
}

void TEqFilter::Adjust(AVFrame* AFrame, int32_t ABrightness, int32_t AContrast)
{
    EqAdjustPlane(AFrame->data[0], AFrame->linesize[0], AFrame->width, AFrame->height, ABrightness, AContrast);
}

THueFilter::THueFilter(const std::string& AArgs, TNativeFilterLog ALog)
    : TTwoSettingFilter({"nativehue", "hue", "saturation", "hue:%d, saturation %d\n"}, AArgs, std::move(ALog))
{
}

void THueFilter::Adjust(AVFrame* AFrame, int32_t AHue, int32_t ASaturation)
{
    // The chroma planes round their sizes up: an odd last row or column of the picture has chroma samples of its
    // own, which change with the rest.
    const TChromaShift shift = ChromaShiftOf(AFrame->format);
    const auto chroma_size = [](int ASize, int AShift) { return -((-ASize) >> AShift); };
    HueAdjustPlanes(AFrame->data[1], AFrame->linesize[1], AFrame->data[2], AFrame->linesize[2],
                    chroma_size(AFrame->width, shift.H), chroma_size(AFrame->height, shift.V), AHue, ASaturation);
}

void RegisterEqFilter()
{
    RegisterNativeFilter({"nativeeq", "Software video equalizer(brightness and contrast)", AcceptedFormats(),
                          [](const std::string& AArgs, void* ALogContext) -> std::unique_ptr<TNativeFilter> {
                              return std::make_unique<TEqFilter>(AArgs, EngineLog(ALogContext));
                          }});
}

void RegisterHueFilter()
{
    RegisterNativeFilter({"nativehue", "Software video equalizer(hue and saturation)", AcceptedFormats(),
                          [](const std::string& AArgs, void* ALogContext) -> std::unique_ptr<TNativeFilter> {
                              return std::make_unique<THueFilter>(AArgs, EngineLog(ALogContext));
                          }});
}

TLiveAdjustments::TLiveAdjustments()
    : FBrightness(NewLiveCell()), FContrast(NewLiveCell()), FHue(NewLiveCell()), FSaturation(NewLiveCell())
{
    const TLiveCell* cells[] = {&FBrightness, &FContrast, &FHue, &FSaturation};
    for (int i = 0; i < 4; ++i)
        FHandles[i] = RegisterLiveCell(*cells[i]);
}

TLiveAdjustments::~TLiveAdjustments()
{
    for (int64_t handle : FHandles)
        UnregisterLiveCell(handle);
}

std::string TLiveAdjustments::ChainText() const
{
    char text[256];
    std::snprintf(text, sizeof text, "nativeeq=%d:%d:%lld:%lld, nativehue=%d:%d:%lld:%lld", Brightness(), Contrast(),
                  static_cast<long long>(FHandles[0]), static_cast<long long>(FHandles[1]),
                  FHue->load(std::memory_order_relaxed), Saturation(), static_cast<long long>(FHandles[2]),
                  static_cast<long long>(FHandles[3]));
    return text;
}
