#include "app/settings.h"

#include "platform/rtl/registry.h"
#include "platform/rtl/sysutils.h"

namespace {

struct TRememberedValue {
    const char* Name;
    std::string TRememberedFormat::*Remembered;
    std::string TFormat::*Field;
};

// In the order they are read and written.
const TRememberedValue kRememberedValues[] = {
    {"videocodecname", &TRememberedFormat::VideoCodecName, &TFormat::VideoCodecName},
    {"videobitrate", &TRememberedFormat::VideoBitRate, &TFormat::VideoBitRate},
    {"framerate", &TRememberedFormat::FrameRate, &TFormat::FrameRate},
    {"videowidth", &TRememberedFormat::Width, &TFormat::Width},
    {"videoheight", &TRememberedFormat::Height, &TFormat::Height},
    {"audiocodecname", &TRememberedFormat::AudioCodecName, &TFormat::AudioCodecName},
    {"audiobitrate", &TRememberedFormat::AudioBitRate, &TFormat::AudioBitRate},
    {"samplerate", &TRememberedFormat::SampleRate, &TFormat::SampleRate},
    {"channels", &TRememberedFormat::Channel, &TFormat::Channel},
};

void ReadStringIfPresent(TRegistry& ARegistry, const char* AName, std::string& AValue)
{
    if (ARegistry.ValueExists(AName))
        AValue = ARegistry.ReadString(AName);
}

void ReadIntegerIfPresent(TRegistry& ARegistry, const char* AName, int& AValue)
{
    if (ARegistry.ValueExists(AName))
        AValue = ARegistry.ReadInteger(AName);
}

}  // namespace

void TSettingsStore::Read(TSettings& ASettings, TCatalogue& ACatalogue)
{
    FRead = true;
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (!registry.OpenKey(kSettingsKey, false))
        return;
    struct TCloseKey {
        TRegistry& R;
        ~TCloseKey() { R.CloseKey(); }
    } close{registry};

    ReadStringIfPresent(registry, "OutputPath", ASettings.OutputPath);
    if (registry.ValueExists("OpenVideoDialogPath")) {
        ASettings.OpenVideoDialogPath = registry.ReadString("OpenVideoDialogPath");
        if (!DirectoryExists(ASettings.OpenVideoDialogPath))
            ASettings.OpenVideoDialogPath.clear();
    }
    ReadStringIfPresent(registry, "ScreenShotsPath", ASettings.ScreenShotsPath);
    ReadIntegerIfPresent(registry, "recentformatind", ACatalogue.Recent.Format);
    ReadIntegerIfPresent(registry, "recentprofileind", ACatalogue.Recent.Profile);
    ReadIntegerIfPresent(registry, "lasteditedformatind", ACatalogue.LastEdited.Format);
    ReadIntegerIfPresent(registry, "lasteditedprofileind", ACatalogue.LastEdited.Profile);
    for (const auto& value : kRememberedValues)
        ReadStringIfPresent(registry, value.Name, ASettings.LastEditedValues.*value.Remembered);
}

void TSettingsStore::Save(const TSettings& ASettings, const TCatalogue& ACatalogue, const std::string& AChosenFile)
{
    if (!FRead)
        return;
    TRegistry registry;
    try {
        registry.SetRootKey(HKEY_CURRENT_USER);
        if (!registry.OpenKey(kSettingsKey, true))
            throw ERegistryException("Failed to create key " + std::string(kSettingsKey));
        // One rewrite of the settings file for the whole save: a crash keeps the old settings or the new ones.
        registry.BeginUpdate();
        registry.WriteString("OutputPath", ASettings.OutputPath);
        if (!AChosenFile.empty())
            registry.WriteString("OpenVideoDialogPath", ExtractFileDir(AChosenFile));
        registry.WriteString("ScreenShotsPath", ASettings.ScreenShotsPath);
        registry.WriteInteger("recentformatind", ACatalogue.Recent.Format);
        registry.WriteInteger("recentprofileind", ACatalogue.Recent.Profile);
        // A pair remembered from another catalogue addresses nothing here; its stored values are left alone.
        if (const TFormat* edited = ACatalogue.FindFormat(ACatalogue.LastEdited)) {
            registry.WriteInteger("lasteditedformatind", ACatalogue.LastEdited.Format);
            registry.WriteInteger("lasteditedprofileind", ACatalogue.LastEdited.Profile);
            for (const auto& value : kRememberedValues)
                registry.WriteString(value.Name, edited->*value.Field);
        }
        registry.EndUpdate();
    } catch (const Exception&) {
        if (OnReportError)
            OnReportError("Error writing data to Registry", "CLM_RegDataWrite");
    }
    registry.CloseKey();
}
