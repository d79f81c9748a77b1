// Stream forms of skin bitmaps and links, the name encoding they share, and the rectangle texts of links.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/rtl/utf8.h"
#include "skin/core/skin_bitmap.h"

namespace {

// Bytes a stream still holds after its position, or the largest count when the stream cannot tell.
Int64 BytesLeft(TStream* Stream)
{
    try {
        return std::max<Int64>(Stream->Size() - Stream->Position(), 0);
    } catch (const Exception&) {
        return std::numeric_limits<Int64>::max();
    }
}

Integer ReadInt32(TStream* Stream)
{
    int32_t v = 0;
    Stream->ReadBuffer(&v, 4);
    return v;
}

void WriteInt32(TStream* Stream, Integer AValue) { Stream->WriteBuffer(&AValue, 4); }

bool IsRectSeparator(char c) { return c == ' ' || c == '(' || c == ')' || c == ',' || c == ':' || c == ';' || c == '='; }

}  // namespace

void ReadStreamString(TStream* Stream, std::string& S)
{
    const Integer count = ReadInt32(Stream);
    // A length the stream cannot hold is damage, not a name: refuse it before allocating.
    if (count < 0 || int64_t{count} * 2 > BytesLeft(Stream)) throw EReadError("Invalid name length in stream");
    std::u16string units(static_cast<size_t>(count), u'\0');
    if (count > 0) Stream->ReadBuffer(units.data(), int64_t{count} * 2);
    S = Utf16ToUtf8(units);
}

void WriteStreamString(TStream* Stream, const std::string& S)
{
    const std::u16string units = Utf8ToUtf16(S);
    WriteInt32(Stream, static_cast<Integer>(units.size()));
    if (!units.empty()) Stream->WriteBuffer(units.data(), static_cast<Int64>(units.size() * 2));
}

void TspBitmap::SaveToStream(TStream* Stream)
{
    WriteStreamString(Stream, FName);
    WriteInt32(Stream, FWidth);
    WriteInt32(Stream, FHeight);
    if (FBits != nullptr) Stream->WriteBuffer(FBits, int64_t{FWidth} * FHeight * 4);
}

void TspBitmap::LoadFromStream(TStream* Stream)
{
    std::string name;
    ReadStreamString(Stream, name);
    const Integer w = ReadInt32(Stream);
    const Integer stored_h = ReadInt32(Stream);
    const int64_t h = stored_h < 0 ? -int64_t{stored_h} : stored_h;
    // A negative width would leave its pixels unread and every later record misread; a size beyond the stream
    // would ask for memory that no data backs. Each side is held against the bytes left before they are
    // multiplied, so two huge sides cannot wrap the product into a small number.
    const Int64 left = BytesLeft(Stream);
    if (w < 0 || h > std::numeric_limits<Integer>::max() ||
        (w > 0 && h > 0 && (Int64{w} > left / 4 || h > left / 4 / w)))
        throw EReadError("Invalid bitmap size in stream");
    FName = name;
    SetSize(w, static_cast<Integer>(h));
    if (w > 0 && h > 0 && FWidth == w && FHeight == h) Stream->ReadBuffer(FBits, int64_t{w} * h * 4);
    if (stored_h <= 0) FlipVert();
}

bool TspBitmapLink::Assigned() const
{
    return FImage != nullptr && int64_t{FRect.Right - FRect.Left} * (FRect.Bottom - FRect.Top) > 0;
}

void TspBitmapLink::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TspBitmapLink*>(Source)) {
        FImage = other->FImage;
        FRect = other->FRect;
        FName = other->FName;
        FMasked = other->FMasked;
        FMaskedBorder = other->FMaskedBorder;
        FMaskedAngles = other->FMaskedAngles;
        return;
    }
    TPersistent::Assign(Source);
}

void TspBitmapLink::SaveToStream(TStream* Stream)
{
    WriteStreamString(Stream, FName);
    Stream->WriteBuffer(&FRect, 16);
}

void TspBitmapLink::LoadFromStream(TStream* Stream)
{
    std::string name;
    ReadStreamString(Stream, name);
    TRect r;
    Stream->ReadBuffer(&r, 16);
    FName = name;
    FRect = r;
}

void TspBitmapLink::Draw(TCanvas* Canvas, Integer X, Integer Y)
{
    if (FImage != nullptr && !FImage->Empty() && FRect.Right > FRect.Left && FRect.Bottom > FRect.Top)
        FImage->Draw(Canvas, X, Y, FRect);
}

void TspBitmapLink::Draw(TspBitmap* Bitmap, Integer X, Integer Y)
{
    if (FImage != nullptr && !FImage->Empty() && FRect.Right > FRect.Left && FRect.Bottom > FRect.Top)
        FImage->Draw(Bitmap, X, Y, FRect);
}

void TspBitmapLink::CheckingMasked() { CheckingMasked(TRect{0, 0, 0, 0}); }

void TspBitmapLink::CheckingMasked(const TRect& Margin)
{
    FMasked = FMaskedBorder = FMaskedAngles = false;
    const auto masked = [&](Integer x, Integer y) {
        const TspColor p = FImage != nullptr ? FImage->GetPixel(x, y) : 0;
        return p != 0x33333333 && (p == spKeyPixel || (p >> 24) < 255);
    };
    const auto in = [](const TRect& r, Integer x, Integer y) {
        return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
    };
    const TRect& m = Margin;
    const bool zero_margin = m.Left == 0 && m.Top == 0 && m.Right == 0 && m.Bottom == 0;
    const Integer w = FRect.Right - FRect.Left, h = FRect.Bottom - FRect.Top;
    const TRect corners[4] = {{0, 0, m.Left, m.Top}, {w - m.Right, 0, w, m.Top}, {w - m.Right, h - m.Bottom, w, h},
                              {0, h - m.Bottom, m.Left, h}};
    const TRect edges[4] = {{m.Left, 0, w - m.Right, m.Top}, {m.Left, h - m.Bottom, w - m.Right, h},
                            {0, m.Top, m.Left, h - m.Bottom}, {w - m.Right, m.Top, w, h - m.Bottom}};
    const TRect middle{m.Left, m.Top, w - m.Right, h - m.Bottom};
    for (Integer x = FRect.Left; x < FRect.Right; ++x)
        for (Integer y = FRect.Top; y < FRect.Bottom; ++y) {
            if (!masked(x, y)) continue;
            if (zero_margin) {
                FMasked = true;
                break;
            }
            const Integer px = x - FRect.Left, py = y - FRect.Top;
            for (const TRect& r : corners)
                if (in(r, px, py)) FMaskedAngles = true;
            for (const TRect& r : edges)
                if (in(r, px, py)) FMaskedBorder = true;
            if (in(middle, px, py)) FMasked = true;
        }
}

void ExtractRectToken(std::string& S, std::string& Token)
{
    // The whole text is walked: a length limit of 255 would cut long texts in the middle of a number.
    Token.clear();
    size_t taken = 0;
    while (taken < S.size()) {
        const char c = S[taken++];
        if (IsRectSeparator(c)) break;
        Token += c;
    }
    S.erase(0, taken);
    Token = Trim(Token);
    S = Trim(S);
}

TRect ParseRectString(const std::string& S)
{
    std::string rest = S, token;
    Integer v[4];
    try {
        for (Integer& value : v) {
            ExtractRectToken(rest, token);
            value = StrToInt(token);
        }
    } catch (const EConvertError&) {
        return {0, 0, 0, 0};
    }
    return {v[0], v[1], v[2], v[3]};
}
