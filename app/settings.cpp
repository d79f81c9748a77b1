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

}  // namespace

bool TSettingsStore::ReadString(TRegistry& ARegistry, const char* AName, std::string& AValue)
{
    if (!ARegistry.ValueExists(AName))
        return false;
    try {
        AValue = ARegistry.ReadString(AName);
        return true;
    } catch (const ERegistryException&) {
        FUnreadable[AName] = AValue;
        return false;
    }
}

void TSettingsStore::ReadInteger(TRegistry& ARegistry, const char* AName, int& AValue)
{
    if (!ARegistry.ValueExists(AName))
        return;
    try {
        AValue = ARegistry.ReadInteger(AName);
    } catch (const ERegistryException&) {
        FUnreadable[AName] = IntToStr(AValue);
    }
}

bool TSettingsStore::KeepsStoredValue(const char* AName, const std::string& AValue) const
{
    const auto unreadable = FUnreadable.find(AName);
    return unreadable != FUnreadable.end() && unreadable->second == AValue;
}

void TSettingsStore::Read(TSettings& ASettings, TCatalogue& ACatalogue)
{
    FRead = true;
    FUnreadable.clear();
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (!registry.OpenKey(kSettingsKey, false))
        return;
    struct TCloseKey {
        TRegistry& R;
        ~TCloseKey() { R.CloseKey(); }
    } close{registry};

    ReadString(registry, "OutputPath", ASettings.OutputPath);
    if (ReadString(registry, "OpenVideoDialogPath", ASettings.OpenVideoDialogPath) &&
        !DirectoryExists(ASettings.OpenVideoDialogPath))
        ASettings.OpenVideoDialogPath.clear();
    ReadString(registry, "ScreenShotsPath", ASettings.ScreenShotsPath);
    ReadInteger(registry, "recentformatind", ACatalogue.Recent.Format);
    ReadInteger(registry, "recentprofileind", ACatalogue.Recent.Profile);
    ReadInteger(registry, "lasteditedformatind", ACatalogue.LastEdited.Format);
    ReadInteger(registry, "lasteditedprofileind", ACatalogue.LastEdited.Profile);
    for (const auto& value : kRememberedValues)
        ReadString(registry, value.Name, ASettings.LastEditedValues.*value.Remembered);
}

void TSettingsStore::Save(const TSettings& ASettings, const TCatalogue& ACatalogue, const std::string& AChosenFile)
{
    if (!FRead)
        return;
    TRegistry registry;
    // A value that could not be read was used as its default in this run; unless the run changed it, what the
    // file holds stays.
    const auto write_string = [&](const char* AName, const std::string& AValue) {
        if (!KeepsStoredValue(AName, AValue))
            registry.WriteString(AName, AValue);
    };
    const auto write_integer = [&](const char* AName, int AValue) {
        if (!KeepsStoredValue(AName, IntToStr(AValue)))
            registry.WriteInteger(AName, AValue);
    };
    try {
        registry.SetRootKey(HKEY_CURRENT_USER);
        if (!registry.OpenKey(kSettingsKey, true))
            throw ERegistryException("Failed to create key " + std::string(kSettingsKey));
        // One rewrite of the settings file for the whole save: a crash keeps the old settings or the new ones.
        registry.BeginUpdate();
        write_string("OutputPath", ASettings.OutputPath);
        if (!AChosenFile.empty())
            registry.WriteString("OpenVideoDialogPath", ExtractFileDir(AChosenFile));
        write_string("ScreenShotsPath", ASettings.ScreenShotsPath);
        write_integer("recentformatind", ACatalogue.Recent.Format);
        write_integer("recentprofileind", ACatalogue.Recent.Profile);
        // A pair remembered from another catalogue addresses nothing here; its stored values are left alone.
        if (const TFormat* edited = ACatalogue.FindFormat(ACatalogue.LastEdited)) {
            write_integer("lasteditedformatind", ACatalogue.LastEdited.Format);
            write_integer("lasteditedprofileind", ACatalogue.LastEdited.Profile);
            for (const auto& value : kRememberedValues)
                write_string(value.Name, edited->*value.Field);
        }
        registry.EndUpdate();
    } catch (const Exception&) {
        if (OnReportError)
            OnReportError("Error writing data to Registry", "CLM_RegDataWrite");
    }
    registry.CloseKey();
}
