// skindump: loads a skin folder (or its skin.ini) or a compressed skin file without a display and prints every
// field it holds. "--pack OUT" also writes the loaded skin as a compressed skin file; "--store DIR/" writes it as
// a skin folder.
#include <cstdio>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_data_listing.h"
#include "skin/core/skin_startup.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: skindump <skin folder | skin.ini | compressed skin> [--pack OUT] [--store DIR/]\n");
        return 2;
    }
    SkinCoreStartUp();
    std::string source = argv[1];
    try {
        TspSkinData skin(nullptr);
        if (DirectoryExists(source)) source = IncludeTrailingPathDelimiter(source) + "skin.ini";
        if (ExtractFileName(source) == "skin.ini")
            skin.LoadFromFile(source);
        else
            skin.LoadFromCompressedFile(source);
        if (skin.Empty) {
            std::fprintf(stderr, "skindump: %s holds no skin\n", source.c_str());
            return 1;
        }
        for (int i = 2; i + 1 < argc; i += 2) {
            const std::string option = argv[i];
            if (option == "--pack") skin.SaveToCompressedFile(argv[i + 1]);
            else if (option == "--store") skin.StoreToDisk(IncludeTrailingPathDelimiter(argv[i + 1]));
        }
        // Written by length: a value may hold a NUL byte, and the listing goes on after it.
        const std::string listing = SkinDataListing(&skin);
        std::fwrite(listing.data(), 1, listing.size(), stdout);
    } catch (const Exception& e) {
        const std::string message = "skindump: " + e.Message() + "\n";
        std::fwrite(message.data(), 1, message.size(), stderr);
        return 1;
    }
    return 0;
}
