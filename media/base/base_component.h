#pragma once
// The root of the media components (logger, decoder, player, encoder) and the small types they share.
#include <string>

#include "platform/rtl/classes.h"
#include "platform/rtl/set.h"

enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };
using TSeekFlags = TSet<TSeekFlag>;

// Raised after a file is opened and before its streams are analysed; AFormatContext is the AVFormatContext*.
using TBeforeFindStreamInfoEvent = std::function<void(TObject* Sender, void* AFormatContext)>;

// The library's seek flags (backward 1, byte 2, any 4, frame 8).
int SeekFlagsToAV(TSeekFlags AFlags);

class TFFBaseComponent : public TComponent {
public:
    explicit TFFBaseComponent(TComponent* AOwner) : TComponent(AOwner) {}

    const std::string& Version() const { return FVersion; }
    const std::string& About() const { return FAbout; }
    void SetAbout(const std::string& AValue) { FAbout = AValue; }

protected:
    std::string FAbout;
    std::string FVersion;
};
