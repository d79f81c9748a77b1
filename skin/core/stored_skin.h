#pragma once
// A skin packed into one zlib block: its pictures as BMP images and its description text. The block travels as a
// compressed skin file (version, length, data) and loads into a TspSkinData without touching the disk.
#include <memory>
#include <string>

#include "platform/rtl/classes.h"
#include "platform/rtl/streams.h"

class TspSkinData;

// The most a block may inflate to; a few bytes of damaged data must not ask for gigabytes.
constexpr Int64 MaxStoredSkinContentSize = Int64(256) << 20;

class TspCompressedStoredSkin : public TComponent {
public:
    explicit TspCompressedStoredSkin(TComponent* AOwner);
    ~TspCompressedStoredSkin() override;

    void LoadFromIniFile(const std::string& AFileName);
    void LoadFromSkinData(TspSkinData* ASkinData);
    // An empty stored skin writes nothing.
    void SaveToCompressFile(const std::string& AFileName);
    void LoadFromCompressFile(const std::string& AFileName);
    void SaveToCompressStream(TStream* Stream);
    // From the stream's start. A version above 3 leaves the block empty; a length that is negative or runs past
    // the stream raises EReadError.
    void LoadFromCompressStream(TStream* Stream);
    // Inflates the whole block into S; raises EDecompressionError for data that is no zlib stream or grows past
    // MaxStoredSkinContentSize.
    void DeCompressToStream(TMemoryStream* S);
    bool IsEmpty() const { return FCompressedStream->Size() == 0; }

    std::string Description;
    const std::string& FileName() const { return FFileName; }
    // While designing, builds the block from the path and keeps only its file-name part.
    void SetFileName(const std::string& AValue);
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const std::string& AValue);
    // Whether the design-time path rule applies; a skin list item answers for its list.
    std::function<bool()> DesignTimeTest;

    std::unique_ptr<TMemoryStream> FCompressedStream;

private:
    bool DesignTime();
    std::string FFileName;
    std::string FCompressedFileName;
};
