#pragma once
// Tells a thread blocked in FFmpeg's I/O when to give up. Every format and I/O context the engine opens carries
// the callback of InterruptCallback(); FFmpeg polls it on the thread doing the I/O, and the registry asks the
// component that registered that thread (has the read timed out, was a stop requested).
#include <mutex>
#include <vector>

extern "C" {
#include <libavformat/avio.h>
}

#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

// Answers true to make the blocking call give up. Runs on the polling thread under the registry's lock: it must
// be short and must not call Add or Remove.
using TInterruptProc = bool (*)(TObject* Sender);

class TInterruptCB : public TObject {
public:
    ~TInterruptCB() override;

    // Any thread. A registration equal in thread, Sender and procedure to an existing one is ignored.
    void Add(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt);
    void Remove(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt);
    // The answer of the thread's first registration; false when it has none.
    bool Interrupt(Cardinal AThreadID);
    void Clear();

private:
    struct TItem {
        Cardinal ThreadID;
        TObject* Sender;
        TInterruptProc Interrupt;
    };
    std::mutex FLock;
    std::vector<TItem> FList;
};

// The one registry, between engine start-up and shut-down; nullptr outside.
extern TInterruptCB* InterruptCB;

// Polled by FFmpeg: 1 when the calling thread's registration asks to give up.
int FFInterruptCallback(void* AOpaque);
// The value for AVFormatContext::interrupt_callback and avio_open2's int_cb.
AVIOInterruptCB InterruptCallback();
