#pragma once
// The codecs a run has open, listed per engine, so that whatever a failed run leaves open is closed at its end.
// One lock guards the lists of every engine; it is held only while a list changes or is emptied, never while a
// codec opens.
#include <mutex>
#include <vector>

struct AVCodecContext;

std::mutex& CodecListLock();

class TCodecList {
public:
    // ASlot holds an opened codec context; closing it frees the context and empties the slot.
    void Add(AVCodecContext** ASlot);
    // Takes the slot's entry off the list, when listed; the codec itself is left to the caller.
    void Remove(AVCodecContext** ASlot);
    // Closes every listed codec and empties the list. A pass-2 statistics text belongs to the run, not the codec.
    void CloseAll();
    int Count() const;

private:
    std::vector<AVCodecContext**> FSlots;
};
