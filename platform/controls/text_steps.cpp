#include "platform/controls/text_steps.h"

#include "platform/rtl/utf8.h"

namespace edittext {

char32_t DecodeAt(std::string_view AText, size_t APos, size_t* ALength)
{
    size_t next = APos;
    bool valid = true;
    const char32_t code = Utf8Next(AText, next, &valid);
    *ALength = next - APos;
    return valid ? code : ReplacementCharacter;
}

bool IsCombining(char32_t ACode)
{
    return (ACode >= 0x0300 && ACode <= 0x036F) || (ACode >= 0x0483 && ACode <= 0x0489) ||
           (ACode >= 0x0591 && ACode <= 0x05BD) || (ACode >= 0x0610 && ACode <= 0x061A) ||
           (ACode >= 0x064B && ACode <= 0x065F) || (ACode >= 0x0E31 && ACode <= 0x0E3A && ACode != 0x0E32 &&
                                                    ACode != 0x0E33) ||
           (ACode >= 0x1AB0 && ACode <= 0x1AFF) || (ACode >= 0x1DC0 && ACode <= 0x1DFF) ||
           (ACode >= 0x20D0 && ACode <= 0x20FF) || (ACode >= 0x3099 && ACode <= 0x309A) ||
           (ACode >= 0xFE00 && ACode <= 0xFE0F) || (ACode >= 0xFE20 && ACode <= 0xFE2F) || ACode == 0x200D ||
           (ACode >= 0x1F3FB && ACode <= 0x1F3FF) || (ACode >= 0xE0100 && ACode <= 0xE01EF);
}

size_t NextChar(std::string_view AText, size_t APos)
{
    if (APos >= AText.size())
        return AText.size();
    size_t length;
    DecodeAt(AText, APos, &length);
    APos += length;
    bool joined = false;
    while (APos < AText.size()) {
        char32_t next = DecodeAt(AText, APos, &length);
        if (!IsCombining(next) && !joined)
            break;
        // A zero-width joiner glues the following character on as well (emoji sequences).
        joined = next == 0x200D;
        APos += length;
    }
    return APos;
}

size_t PrevChar(std::string_view AText, size_t APos)
{
    // Boundaries are found from the start of the run of non-combining lead: step back to a code point that
    // is not a mark and not preceded by a joiner, then forward by characters.
    if (APos == 0)
        return 0;
    size_t start = APos;
    int leads = 0;
    while (start > 0 && leads < 2) {
        size_t p = start - 1;
        while (p > 0 && (static_cast<unsigned char>(AText[p]) & 0xC0) == 0x80 && start - p < 4)
            --p;
        size_t length;
        char32_t code = DecodeAt(AText, p, &length);
        if (p + length != start) {  // a stray continuation byte stands alone
            p = start - 1;
            code = 0xFFFD;
        }
        start = p;
        if (!IsCombining(code))
            ++leads;
    }
    size_t last = start;
    for (size_t p = start; p < APos; p = NextChar(AText, p))
        last = p;
    return last;
}

size_t FloorBoundary(std::string_view AText, size_t APos)
{
    if (APos >= AText.size())
        return AText.size();
    size_t p = APos;
    size_t previous = PrevChar(AText, p);
    size_t next = NextChar(AText, previous);
    return next <= APos ? next : previous;
}

namespace {

enum TCharClass { ccBlank, ccWord, ccPunct };

TCharClass ClassAt(std::string_view AText, size_t APos)
{
    size_t length;
    char32_t code = DecodeAt(AText, APos, &length);
    if (code == ' ' || code == '\t' || code == 0x3000 || code == 0xA0)
        return ccBlank;
    if (code >= 0x80 || (code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
        code == '_')
        return ccWord;
    return ccPunct;
}

}  // namespace

size_t NextWord(std::string_view AText, size_t APos)
{
    if (APos >= AText.size())
        return AText.size();
    TCharClass first = ClassAt(AText, APos);
    if (first != ccBlank)
        while (APos < AText.size() && ClassAt(AText, APos) == first)
            APos = NextChar(AText, APos);
    while (APos < AText.size() && ClassAt(AText, APos) == ccBlank)
        APos = NextChar(AText, APos);
    return APos;
}

size_t PrevWord(std::string_view AText, size_t APos)
{
    while (APos > 0 && ClassAt(AText, PrevChar(AText, APos)) == ccBlank)
        APos = PrevChar(AText, APos);
    if (APos == 0)
        return 0;
    TCharClass cls = ClassAt(AText, PrevChar(AText, APos));
    while (APos > 0 && ClassAt(AText, PrevChar(AText, APos)) == cls)
        APos = PrevChar(AText, APos);
    return APos;
}

void WordAt(std::string_view AText, size_t APos, size_t& AFirst, size_t& ALast)
{
    AFirst = ALast = APos;
    if (AText.empty())
        return;
    if (APos >= AText.size())
        APos = PrevChar(AText, AText.size());
    TCharClass cls = ClassAt(AText, APos);
    AFirst = APos;
    ALast = NextChar(AText, APos);
    if (cls == ccPunct)
        return;
    while (AFirst > 0 && ClassAt(AText, PrevChar(AText, AFirst)) == cls)
        AFirst = PrevChar(AText, AFirst);
    while (ALast < AText.size() && ClassAt(AText, ALast) == cls)
        ALast = NextChar(AText, ALast);
}

size_t CountCodePoints(std::string_view AText)
{
    size_t count = 0;
    for (size_t p = 0, length; p < AText.size(); p += length) {
        DecodeAt(AText, p, &length);
        ++count;
    }
    return count;
}

size_t BytesOfCodePoints(std::string_view AText, size_t ACount)
{
    size_t p = 0, length;
    for (; p < AText.size() && ACount > 0; p += length, --ACount)
        DecodeAt(AText, p, &length);
    if (p >= AText.size())
        return AText.size();
    return FloorBoundary(AText, p);
}

}  // namespace edittext
