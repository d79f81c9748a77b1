// The settings file: read as at start-up, then written back as at exit, with a catalogue of two formats.
#include <cstdint>
#include <cstdlib>

#include "app/settings.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/registry.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    static const bool pointed = [] {
        setenv("XDG_CONFIG_HOME", (fuzz::Scratch() / "config").c_str(), 1);
        return true;
    }();
    (void)pointed;
    fuzz::WriteInput("config/Brindlewave/Quennary/settings.ini", AData, ASize);
    std::filesystem::remove_all(fuzz::Scratch() / "config/Brindlewave/Quennary/settings.ini.damaged");
    TCatalogue catalogue;
    TFormat format;
    format.Title = "A";
    format.Category = "p";
    catalogue.LoadedFormats = {format, format};
    catalogue.Profiles = {{"P", "p", "p", {}}};
    TSettings settings{"/out", "", "/shots", {}};
    TSettingsStore store;
    try {
        store.Read(settings, catalogue);
        catalogue.AttachFormats(settings.LastEditedValues);
        store.Save(settings, catalogue, "/videos/a.mp4");
    } catch (const Exception&) {
    }
    return 0;
}
