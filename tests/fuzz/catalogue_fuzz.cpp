// The catalogue files: the input split at its first NUL into "Profiles.dat" and the plain text of "Formats.dat"
// (stored complemented, as shipped), read and attached as at start-up.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/catalogue.h"
#include "platform/rtl/exceptions.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    const uint8_t* split = std::find(AData, AData + ASize, 0);
    const std::string profiles = fuzz::WriteInput("Profiles.dat", AData, size_t(split - AData));
    std::string formats_text(split == AData + ASize ? split : split + 1, AData + ASize);
    for (char& c : formats_text) c = char(255 - static_cast<unsigned char>(c));
    const std::string formats =
        fuzz::WriteInput("Formats.dat", reinterpret_cast<const uint8_t*>(formats_text.data()), formats_text.size());
    TCatalogue catalogue;
    try {
        catalogue.LoadProfiles(profiles);
        catalogue.LoadFormats(formats);
        TRememberedFormat remembered;
        remembered.Width = "320";
        catalogue.LastEdited = {0, 0};
        catalogue.AttachFormats(remembered);
        for (int p = 0; p < int(catalogue.Profiles.size()); ++p) catalogue.IconOfProfile(p);
    } catch (const Exception&) {
    }
    return 0;
}
