#include "platform/gui/graphic.h"

#include "platform/gui/graphic_errors.h"

void TGraphic::SetTransparent(bool AValue)
{
    if (AValue == FTransparent) return;
    FTransparent = AValue;
    Changed();
}

void TGraphic::SetModified(bool AValue)
{
    if (AValue)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& AFileName)
{
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    try {
        LoadFromStream(&stream);
    } catch (EInvalidGraphic& e) {
        // The reader says what is wrong; the user needs to know which file it is.
        e.SetMessage("Cannot read the picture \"" + AFileName + "\": " + e.Message());
        throw;
    }
}

void TGraphic::SaveToFile(const std::string& AFileName)
{
    // Encode first, so that a picture that cannot be written never truncates an existing file.
    TMemoryStream encoded;
    SaveToStream(&encoded);
    TFileStream stream(AFileName, fmCreate);
    stream.WriteBuffer(encoded.Memory(), encoded.Size());
}

std::vector<uint8_t> TGraphic::ReadRest(TStream* AStream)
{
    Int64 rest = AStream->Size() - AStream->Position();
    std::vector<uint8_t> data(rest > 0 ? static_cast<size_t>(rest) : 0);
    if (!data.empty()) AStream->ReadBuffer(data.data(), static_cast<Int64>(data.size()));
    return data;
}
