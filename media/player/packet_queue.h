#pragma once
// The packet queues between the read thread and the stream consumers, on the SDL copy's own mutex and condition.
#include <atomic>
#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "media/player/sdl_loader.h"

// Bytes a queued packet counts besides its payload (a list node of the original layout).
inline constexpr int PacketNodeSize = 72;

struct TPacketNode {
    AVPacket* Packet = nullptr;  // null for the flush marker
    bool Flush = false;
    TPacketNode* Next = nullptr;
};

struct TPacketQueue {
    TPacketNode* first_pkt = nullptr;
    TPacketNode* last_pkt = nullptr;
    std::atomic<int> nb_packets{0};
    std::atomic<int> size{0};
    std::atomic<int> abort_request{0};
    SDL_mutex* mutex = nullptr;
    SDL_cond* cond = nullptr;
};

void PacketQueueInit(const TSDLEntries& ASDL, TPacketQueue& AQueue);
void PacketQueueFlush(const TSDLEntries& ASDL, TPacketQueue& AQueue);
void PacketQueueEnd(const TSDLEntries& ASDL, TPacketQueue& AQueue);
// The flush marker is recognised by identity: AFlushPacket is the player's marker, queued without its payload.
// Other packets are referenced (not moved), so the caller still unreferences its own. -1 on allocation failure.
int PacketQueuePut(const TSDLEntries& ASDL, TPacketQueue& AQueue, const AVPacket* APacket,
                   const AVPacket* AFlushPacket);
void PacketQueueAbort(const TSDLEntries& ASDL, TPacketQueue& AQueue);
// -1 aborted, 0 nothing (not blocking), 1 a packet: moved into APacket, or AFlush set for the marker.
int PacketQueueGet(const TSDLEntries& ASDL, TPacketQueue& AQueue, AVPacket* APacket, bool ABlock, bool& AFlush);
