// skin-build: draws the shipped skin from its style source and writes it, skin.ini and every picture, into a
// folder; then reads the folder back with the skin reader, so that a skin the converter cannot load never leaves
// the build.
#include <cstdio>
#include <stdexcept>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_startup.h"
#include "skin_builder.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin-build <style file> <skin folder>\n");
        return 2;
    }
    SkinCoreStartUp();
    try {
        const TSkinStyle style = TSkinStyle::Load(argv[1]);
        const std::string folder = IncludeTrailingPathDelimiter(argv[2]);
        ForceDirectories(folder);
        TSkinBuilder builder(style);
        TspSkinData& skin = builder.Skin;
        skin.SkinName = style.Text("skin", "name");
        skin.SkinAuthor = style.Text("skin", "author");
        skin.SkinComments = style.Text("skin", "comments");
        BuildFrame(builder);
        BuildButtons(builder);
        BuildCheckBoxes(builder);
        BuildEdits(builder);
        BuildLists(builder);
        BuildBars(builder);
        BuildPanels(builder);
        BuildMenus(builder);
        builder.Write(folder);
        BuildApplicationPictures(style, folder);

        TspSkinData check(nullptr);
        check.LoadFromFile(folder + "skin.ini");
        if (check.Empty) throw std::runtime_error(folder + "skin.ini does not read back as a skin");
    } catch (const Exception& e) {
        std::fprintf(stderr, "skin-build: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-build: %s\n", e.what());
        return 1;
    }
    return 0;
}
