#include "media/transcode/codec_lists.h"

#include <algorithm>

#include "media/loader/av_bindings.h"

std::mutex& CodecListLock()
{
    static std::mutex lock;
    return lock;
}

void TCodecList::Add(AVCodecContext** ASlot)
{
    std::lock_guard guard(CodecListLock());
    FSlots.insert(FSlots.begin(), ASlot);
}

void TCodecList::Remove(AVCodecContext** ASlot)
{
    std::lock_guard guard(CodecListLock());
    const auto found = std::find(FSlots.begin(), FSlots.end(), ASlot);
    if (found != FSlots.end()) FSlots.erase(found);
}

void TCodecList::CloseAll()
{
    std::lock_guard guard(CodecListLock());
    for (AVCodecContext** slot : FSlots) {
        if (*slot == nullptr) continue;
        (*slot)->stats_in = nullptr;
        ff::avcodec_free_context(slot);
    }
    FSlots.clear();
}

int TCodecList::Count() const
{
    std::lock_guard guard(CodecListLock());
    return static_cast<int>(FSlots.size());
}
