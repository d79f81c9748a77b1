// gdi-testpage [output.png]: draws shapes, regions, blits, fonts, DrawText layouts and the system colours with the
// software GDI onto one page and writes it as a PNG.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"
#include "png_file.h"

using namespace win;

namespace {

constexpr int kPageWidth = 960;
constexpr int kPageHeight = 900;

HFONT MakeFont(const char* AFace, int AHeight, LONG AWeight = FW_NORMAL, bool AItalic = false,
               bool AUnderline = false, bool AStrikeOut = false, int AEscapement = 0)
{
    return CreateFont(AHeight, 0, AEscapement, AEscapement, AWeight, AItalic, AUnderline, AStrikeOut,
                      DEFAULT_CHARSET, 0, 0, 0, 0, AFace);
}

// Selects a font for the lifetime of the object.
struct UseFont {
    HDC Dc;
    HFONT Font;
    HGDIOBJ Old;
    UseFont(HDC ADC, HFONT AFont) : Dc(ADC), Font(AFont), Old(SelectObject(ADC, AFont)) {}
    ~UseFont()
    {
        SelectObject(Dc, Old);
        DeleteObject(Font);
    }
};

struct UsePen {
    HDC Dc;
    HPEN Pen;
    HGDIOBJ Old;
    UsePen(HDC ADC, int AStyle, int AWidth, COLORREF AColor)
        : Dc(ADC), Pen(CreatePen(AStyle, AWidth, AColor)), Old(SelectObject(ADC, Pen))
    {
    }
    ~UsePen()
    {
        SelectObject(Dc, Old);
        DeleteObject(Pen);
    }
};

struct UseBrush {
    HDC Dc;
    HBRUSH Brush;
    HGDIOBJ Old;
    UseBrush(HDC ADC, COLORREF AColor) : Dc(ADC), Brush(CreateSolidBrush(AColor)), Old(SelectObject(ADC, Brush)) {}
    ~UseBrush()
    {
        SelectObject(Dc, Old);
        DeleteObject(Brush);
    }
};

void Fill(HDC dc, RECT r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Frame(HDC dc, RECT r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

void Heading(HDC dc, int x, int y, const char* text)
{
    UseFont font(dc, MakeFont("Tahoma", -13, FW_BOLD));
    SetTextColor(dc, RGB(10, 36, 106));
    TextOut(dc, x, y, text, -1);
    SetTextColor(dc, 0);
}

void Caption(HDC dc, int x, int y, const char* text)
{
    UseFont font(dc, MakeFont("Tahoma", -10));
    SetTextColor(dc, RGB(96, 96, 96));
    TextOut(dc, x, y, text, -1);
    SetTextColor(dc, 0);
}

void DrawShapes(HDC dc, int x, int y)
{
    Heading(dc, x, y, "Lines and shapes");
    {
        UsePen pen(dc, PS_SOLID, 1, RGB(0, 0, 160));
        for (int i = 0; i <= 8; ++i) {
            MoveToEx(dc, x + 10, y + 130, nullptr);
            LineTo(dc, x + 10 + int(100 * std::cos(i * 3.14159 / 16)), y + 130 - int(100 * std::sin(i * 3.14159 / 16)));
        }
    }
    Caption(dc, x + 10, y + 134, "line fan");
    {
        UsePen pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
        UseBrush brush(dc, RGB(255, 200, 0));
        Rectangle(dc, x + 130, y + 30, x + 200, y + 80);
        Ellipse(dc, x + 210, y + 30, x + 290, y + 80);
        POINT star[5] = {{x + 165, y + 90}, {x + 185, y + 145}, {x + 135, y + 110}, {x + 195, y + 110},
                         {x + 145, y + 145}};
        Polygon(dc, star, 5);
    }
    Caption(dc, x + 130, y + 82, "rectangle, ellipse");
    {
        UsePen pen(dc, PS_SOLID, 5, RGB(200, 0, 0));
        MoveToEx(dc, x + 210, y + 100, nullptr);
        LineTo(dc, x + 285, y + 140);
    }
    {
        UsePen pen(dc, PS_DOT, 1, RGB(0, 120, 0));
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        Rectangle(dc, x + 205, y + 95, x + 292, y + 148);
        SetBkMode(dc, OPAQUE);
        SelectObject(dc, oldBrush);
    }
    Caption(dc, x + 200, y + 150, "wide pen, dotted frame");
    // An inverting pen over a colour strip: the bar shows the complement of what lies under it.
    for (int i = 0; i < 6; ++i)
        Fill(dc, {x + 10 + i * 45, y + 170, x + 55 + i * 45, y + 190}, RGB(i * 50, 255 - i * 40, 120));
    {
        UsePen pen(dc, PS_SOLID, 8, 0);
        SetROP2(dc, R2_NOT);
        MoveToEx(dc, x + 10, y + 180, nullptr);
        LineTo(dc, x + 280, y + 180);
        SetROP2(dc, R2_COPYPEN);
    }
    Caption(dc, x + 10, y + 194, "R2_NOT bar over a colour strip");
}

void DrawRegions(HDC dc, int x, int y)
{
    Heading(dc, x, y, "Regions and clipping");
    HRGN a = CreateEllipticRgn(x + 10, y + 30, x + 130, y + 130);
    HRGN b = CreateRectRgn(x + 70, y + 60, x + 190, y + 150);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(both, a, b, RGN_XOR);
    HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FillRgn(dc, both, teal);
    FrameRgn(dc, both, black, 1, 1);
    Caption(dc, x + 10, y + 152, "ellipse XOR rectangle, framed");

    // Text and stripes clipped to an elliptic region, with a rectangle excluded.
    HRGN clip = CreateEllipticRgn(x + 200, y + 30, x + 320, y + 150);
    SaveDC(dc);
    SelectClipRgn(dc, clip);
    ExcludeClipRect(dc, x + 250, y + 80, x + 270, y + 100);
    for (int i = 0; i < 12; ++i)
        Fill(dc, {x + 200, y + 30 + i * 10, x + 320, y + 35 + i * 10}, RGB(200, 60, 60));
    {
        UseFont font(dc, MakeFont("Arial", -14, FW_BOLD));
        SetBkMode(dc, TRANSPARENT);
        TextOut(dc, x + 195, y + 75, "CLIPPED TEXT", -1);
        SetBkMode(dc, OPAQUE);
    }
    RestoreDC(dc, -1);
    Caption(dc, x + 200, y + 152, "clip: ellipse minus a square");
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(both);
    DeleteObject(clip);
    DeleteObject(teal);
}

// A top-down 32-bit DIB section and its pixels.
HBITMAP MakeDib(HDC ADC, int AWidth, int AHeight, uint32_t*& ABits)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = AWidth;
    info.bmiHeader.biHeight = -AHeight;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(ADC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ABits = static_cast<uint32_t*>(bits);
    return bmp;
}

// A 32 x 32 picture with an arrow, so that mirroring and flipping show.
HBITMAP MakeSample(HDC ADC, bool APremultipliedDisc, HDC& AOutDC)
{
    uint32_t* p = nullptr;
    HBITMAP bmp = MakeDib(ADC, 32, 32, p);
    for (int yy = 0; yy < 32; ++yy)
        for (int xx = 0; xx < 32; ++xx) {
            if (APremultipliedDisc) {
                const double d = std::hypot(xx - 15.5, yy - 15.5) / 16.0;
                const uint32_t a = d >= 1 ? 0 : uint32_t(255 * (1 - d));
                p[yy * 32 + xx] = a << 24 | (a * 255 / 255) << 16 | (a * 64 / 255) << 8;
            } else {
                const bool arrow = (xx >= 4 && xx < 20 && yy >= 13 && yy < 19) || (xx >= 20 && std::abs(yy - 16) < 28 - xx);
                p[yy * 32 + xx] = arrow ? 0x00C00000u : ((xx / 8 + yy / 8) % 2 ? 0x00E0E0FFu : 0x00A0A0F0u);
            }
        }
    AOutDC = CreateCompatibleDC(ADC);
    SelectObject(AOutDC, bmp);
    return bmp;
}

void DrawBlits(HDC dc, int x, int y)
{
    Heading(dc, x, y, "Blits");
    HDC src = nullptr;
    HBITMAP sample = MakeSample(dc, false, src);
    BitBlt(dc, x + 10, y + 30, 32, 32, src, 0, 0, SRCCOPY);
    Caption(dc, x + 10, y + 64, "1:1");
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x + 60, y + 30, 64, 64, src, 0, 0, 32, 32, SRCCOPY);
    Caption(dc, x + 60, y + 96, "2x nearest");
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, x + 140, y + 30, 64, 64, src, 0, 0, 32, 32, SRCCOPY);
    Caption(dc, x + 140, y + 96, "2x halftone");
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x + 220 + 31, y + 30, -32, 32, src, 0, 0, 32, 32, SRCCOPY);
    Caption(dc, x + 220, y + 64, "mirrored");
    StretchBlt(dc, x + 270, y + 30 + 31, 32, -32, src, 0, 0, 32, 32, SRCCOPY);
    Caption(dc, x + 270, y + 64, "flipped");
    // The source rectangle runs 16 pixels past the picture: only its left half is drawn.
    BitBlt(dc, x + 220, y + 80, 32, 32, src, 16, 0, SRCCOPY);
    Caption(dc, x + 220, y + 114, "source half outside");

    HDC disc = nullptr;
    HBITMAP discBmp = MakeSample(dc, true, disc);
    for (int i = 0; i < 8; ++i)
        Fill(dc, {x + 10 + i * 20, y + 130, x + 20 + i * 20, y + 190}, i % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x + 14, y + 134, 52, 52, disc, 0, 0, 32, 32, blend);
    blend.SourceConstantAlpha = 128;
    AlphaBlend(dc, x + 84, y + 134, 52, 52, disc, 0, 0, 32, 32, blend);
    blend = {AC_SRC_OVER, 0, 96, 0};
    AlphaBlend(dc, x + 150, y + 140, 32, 32, src, 0, 0, 32, 32, blend);
    Caption(dc, x + 10, y + 192, "AlphaBlend: per pixel, + constant 50%, constant only");
    DeleteDC(src);
    DeleteDC(disc);
    DeleteObject(sample);
    DeleteObject(discBmp);
}

void DrawFonts(HDC dc, int x, int y)
{
    Heading(dc, x, y, "Fonts");
    const char* faces[] = {"Tahoma", "MS Sans Serif", "Arial", "Verdana", "Times New Roman", "Courier New"};
    int line = y + 26;
    for (const char* face : faces) {
        UseFont font(dc, MakeFont(face, -13));
        char text[96];
        std::snprintf(text, sizeof(text), "%s: The quick brown fox jumps over the lazy dog 0123", face);
        TextOut(dc, x + 10, line, text, -1);
        line += 19;
    }
    {
        UseFont font(dc, MakeFont("Tahoma", -13, FW_BOLD));
        TextOut(dc, x + 10, line, "Bold", -1);
    }
    {
        UseFont font(dc, MakeFont("Tahoma", -13, FW_NORMAL, true));
        TextOut(dc, x + 60, line, "Italic", -1);
    }
    {
        UseFont font(dc, MakeFont("Tahoma", -13, FW_NORMAL, false, true));
        TextOut(dc, x + 115, line, "Underline", -1);
    }
    {
        UseFont font(dc, MakeFont("Tahoma", -13, FW_NORMAL, false, false, true));
        TextOut(dc, x + 195, line, "Strike-out", -1);
    }
    {
        UseFont font(dc, MakeFont("Times New Roman", -24, FW_BOLD, true));
        SetTextColor(dc, RGB(128, 0, 0));
        TextOut(dc, x + 280, line - 8, "Large", -1);
        SetTextColor(dc, 0);
    }
    line += 26;
    {
        UseFont font(dc, MakeFont("Tahoma", -11));
        SetBkColor(dc, RGB(255, 255, 160));
        TextOut(dc, x + 10, line, "Opaque background (default mode) at 11 px, UTF-8: café, Größe, Ωmega", -1);
        SetBkColor(dc, RGB(255, 255, 255));
    }
    {
        UseFont font(dc, MakeFont("Tahoma", -13, FW_NORMAL, false, false, false, 900));
        SetBkMode(dc, TRANSPARENT);
        TextOut(dc, x + 10, y + 330, "Escapement 900", -1);
    }
    {
        UseFont font(dc, MakeFont("Tahoma", -13, FW_NORMAL, false, false, false, 2700));
        TextOut(dc, x + 60, y + 230, "Escapement 2700", -1);
        SetBkMode(dc, OPAQUE);
    }
}

void TextBox(HDC dc, RECT r, const char* text, UINT format, const char* label)
{
    Frame(dc, {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}, RGB(160, 160, 160));
    DrawText(dc, text, -1, &r, format);
    Caption(dc, r.Left, r.Bottom + 2, label);
}

void DrawTextLayouts(HDC dc, int x, int y)
{
    Heading(dc, x, y, "DrawText");
    UseFont font(dc, MakeFont("Tahoma", -11));
    SetBkMode(dc, TRANSPARENT);
    TextBox(dc, {x + 10, y + 26, x + 200, y + 96},
            "Word break: this paragraph is broken between words so that every line fits the box.", DT_WORDBREAK,
            "DT_WORDBREAK");
    TextBox(dc, {x + 220, y + 26, x + 420, y + 56}, "Centred both ways", DT_SINGLELINE | DT_CENTER | DT_VCENTER,
            "DT_CENTER | DT_VCENTER");
    TextBox(dc, {x + 220, y + 76, x + 420, y + 96}, "Right aligned", DT_SINGLELINE | DT_RIGHT, "DT_RIGHT");
    TextBox(dc, {x + 10, y + 120, x + 200, y + 136}, "An end ellipsis cuts a text that is far too long", 
            DT_SINGLELINE | DT_END_ELLIPSIS, "DT_END_ELLIPSIS");
    TextBox(dc, {x + 220, y + 120, x + 420, y + 136}, "/home/user/Videos/holidays/2026/summer/beach.mp4",
            DT_SINGLELINE | DT_PATH_ELLIPSIS, "DT_PATH_ELLIPSIS");
    TextBox(dc, {x + 10, y + 160, x + 200, y + 176}, "&File   &Edit   E&xit   Fish && Chips", DT_SINGLELINE,
            "prefix: & underlines, && is &");
    TextBox(dc, {x + 220, y + 160, x + 420, y + 176}, "Name:\tQuennary\tVideo", DT_SINGLELINE | DT_EXPANDTABS,
            "DT_EXPANDTABS");
    RECT measured{x + 10, y + 200, x + 130, y + 200};
    const char* lines = "Lines end at CR LF,\r\nat LF,\nor at LF CR\n\rlike hints.";
    DrawText(dc, lines, -1, &measured, DT_CALCRECT | DT_WORDBREAK);
    TextBox(dc, measured, lines, DT_WORDBREAK, "box sized by DT_CALCRECT");
    SetBkMode(dc, OPAQUE);
}

void DrawSystemColours(HDC dc, int x, int y)
{
    Heading(dc, x, y, "System colours");
    struct Named {
        TColor Color;
        const char* Name;
    };
    const Named colours[] = {{clBtnFace, "BtnFace"},   {clBtnShadow, "BtnShadow"}, {clBtnHighlight, "BtnHighlight"},
                             {clBtnText, "BtnText"},   {cl3DDkShadow, "3DDkShadow"}, {cl3DLight, "3DLight"},
                             {clWindow, "Window"},     {clWindowText, "WindowText"}, {clHighlight, "Highlight"},
                             {clHighlightText, "HighlightText"}, {clGrayText, "GrayText"}, {clInfoBk, "InfoBk"},
                             {clActiveCaption, "ActiveCaption"}, {clAppWorkSpace, "AppWorkSpace"}};
    int i = 0;
    for (const Named& c : colours) {
        const int cx = x + 10 + (i % 7) * 132, cy = y + 24 + (i / 7) * 34;
        Fill(dc, {cx, cy, cx + 24, cy + 24}, COLORREF(ColorToRGB(c.Color)));
        Frame(dc, {cx, cy, cx + 24, cy + 24}, 0);
        Caption(dc, cx + 28, cy + 6, c.Name);
        ++i;
    }
}

// Characters the Latin faces lack come from another installed font, one character at a time.
void DrawScripts(HDC dc, int x, int y)
{
    Heading(dc, x, y, "Scripts (font fallback)");
    struct Sample {
        const char* Script;
        const char* Text;
    };
    const Sample samples[] = {
        {"Latin", "Quick brown fox, café, Größe"},
        {"Cyrillic", "Съешь же ещё этих мягких булок"},
        {"Greek", "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία"},
        {"Arabic", "مرحبا بالعالم"},
        {"Japanese", "日本語のテキスト、ひらがなとカタカナ"},
        {"Chinese", "视频转换器：简体中文与繁體中文"},
    };
    SetBkMode(dc, TRANSPARENT);
    int line = y + 26;
    for (const Sample& s : samples) {
        Caption(dc, x + 10, line + 3, s.Script);
        {
            UseFont font(dc, MakeFont("Tahoma", -15));
            TextOut(dc, x + 80, line, s.Text, -1);
        }
        {
            UseFont font(dc, MakeFont("Arial", -15, FW_BOLD));
            TextOut(dc, x + 400, line, s.Text, -1);
        }
        line += 24;
    }
    SetBkMode(dc, OPAQUE);
}

// Hatched brushes over an opaque and a transparent background, a pattern brush, and focus frames.
void DrawBrushes(HDC dc, int x, int y)
{
    Heading(dc, x, y, "Brushes, focus frame");
    const char* names[] = {"HORIZ", "VERT", "FDIAG", "BDIAG", "CROSS", "DIAGX"};
    for (int i = 0; i < 6; ++i) {
        const int cx = x + 10 + i * 40;
        SetBkColor(dc, RGB(255, 255, 200));
        HBRUSH brush = CreateHatchBrush(i, RGB(0, 0, 160));
        RECT opaque{cx, y + 26, cx + 32, y + 58};
        FillRect(dc, &opaque, brush);
        SetBkMode(dc, TRANSPARENT);
        Fill(dc, {cx, y + 62, cx + 32, y + 94}, RGB(200, 255, 200));
        RECT clear{cx, y + 62, cx + 32, y + 94};
        FillRect(dc, &clear, brush);
        SetBkMode(dc, OPAQUE);
        DeleteObject(brush);
        SetBkColor(dc, RGB(255, 255, 255));
        Caption(dc, cx, y + 96, names[i]);
    }
    // A 4 x 4 pattern of four colours, tiled in an ellipse.
    uint32_t* bits = nullptr;
    HBITMAP tile = MakeDib(nullptr, 4, 4, bits);
    const uint32_t colours[4] = {0xC00000, 0xFFC000, 0x00A000, 0x0060FF};
    for (int i = 0; i < 16; ++i)
        bits[i] = colours[(i / 4 / 2) * 2 + (i % 4) / 2];
    HBRUSH pattern = CreatePatternBrush(tile);
    DeleteObject(tile);
    {
        UsePen pen(dc, PS_SOLID, 1, 0);
        HGDIOBJ old = SelectObject(dc, pattern);
        Ellipse(dc, x + 10, y + 116, x + 110, y + 166);
        SelectObject(dc, old);
    }
    DeleteObject(pattern);
    Caption(dc, x + 10, y + 168, "pattern brush");
    RECT focus{x + 130, y + 120, x + 240, y + 146};
    DrawFocusRect(dc, &focus);
    Fill(dc, {x + 130, y + 150, x + 240, y + 166}, RGB(0, 0, 128));
    RECT onDark{x + 131, y + 151, x + 239, y + 165};
    DrawFocusRect(dc, &onDark);
    Caption(dc, x + 130, y + 168, "DrawFocusRect");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : GDI_TESTPAGE_DEFAULT;
    uint32_t* bits = nullptr;
    HBITMAP page = MakeDib(nullptr, kPageWidth, kPageHeight, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, page);
    Fill(dc, {0, 0, kPageWidth, kPageHeight}, RGB(255, 255, 255));
    {
        UseFont title(dc, MakeFont("Tahoma", -18, FW_BOLD));
        TextOut(dc, 10, 8, "Software GDI test page", -1);
    }
    DrawShapes(dc, 0, 40);
    DrawRegions(dc, 320, 40);
    DrawBlits(dc, 640, 40);
    DrawFonts(dc, 0, 260);
    DrawTextLayouts(dc, 500, 260);
    DrawSystemColours(dc, 0, 620);
    DrawScripts(dc, 0, 720);
    DrawBrushes(dc, 700, 700);
    SelectObject(dc, old);
    DeleteDC(dc);
    std::string error;
    const bool ok = WriteRgbPng(path, bits, kPageWidth, kPageHeight, error);
    DeleteObject(page);
    if (!ok) {
        std::fprintf(stderr, "gdi-testpage: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
