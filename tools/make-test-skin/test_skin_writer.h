#pragma once
// Writes the test skin: pictures drawn by code (BMP, and one JPEG) and a skin.ini with one record of every kind,
// every key set to a value that differs from its default. Shared by the make-test-skin tool and the tests.
#include <memory>
#include <string>

#include "platform/gui/bitmap.h"
#include "skin/core/skin_records_fields.h"

namespace test_skin {

// Gives every row a value of its form that no default has, different from row to row.
class SampleFiller final : public TspFieldVisitor {
public:
    void Int(const char*, Integer& Field, Integer, Integer) override;
    void Bool(const char*, bool& Field) override;
    void Str(const char* Key, std::string& Field, const char*, const char*) override;
    void Rect(const char*, TRect& Field) override;
    void Point(const char*, TPoint& Field) override;
    void Style(const char*, TFontStyles& Field) override;
    void Align(const char*, TAlignment& Field, TAlignment) override;
    void Lines(const char*, TStrings* Field) override;
    void Word(const char*, int& Field, const TspWordForm& Form, int) override;

private:
    Integer Next() { return ++FCounter; }
    Integer FCounter = 0;
};

std::unique_ptr<TBitmap> DrawPicture(Integer AWidth, Integer AHeight, TColor ABack, TColor AFore);

// The names of the pictures the description uses.
inline const char* const kMainNames[] = {"form.bmp", "forminactive.bmp", "formmask.bmp", "rollup.bmp",
                                         "rollupmask.bmp"};
inline const char* const kActiveNames[] = {"controls.bmp", "buttons.jpg", "glyphs.bmp"};

// Writes the pictures and skin.ini into AFolder (which ends with the path delimiter and exists).
void WriteTestSkin(const std::string& AFolder);

}  // namespace test_skin
