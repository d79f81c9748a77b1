// make-test-skin: writes the test skin (pictures drawn by code, a skin.ini with one record of every kind) into a
// folder, for skindump and for looking at by hand.
#include <cstdio>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "tools/make-test-skin/test_skin_writer.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-test-skin <folder>\n");
        return 2;
    }
    try {
        const std::string folder = IncludeTrailingPathDelimiter(argv[1]);
        ForceDirectories(folder);
        test_skin::WriteTestSkin(folder);
        std::printf("%sskin.ini\n", folder.c_str());
    } catch (const Exception& e) {
        std::fprintf(stderr, "make-test-skin: %s\n", e.what());
        return 1;
    }
    return 0;
}
