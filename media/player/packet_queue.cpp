#include "media/player/packet_queue.h"

#include "media/loader/av_bindings.h"

void PacketQueueInit(const TSDLEntries& ASDL, TPacketQueue& AQueue)
{
    AQueue.first_pkt = AQueue.last_pkt = nullptr;
    AQueue.nb_packets = 0;
    AQueue.size = 0;
    AQueue.abort_request = 0;
    AQueue.mutex = ASDL.SDL_CreateMutex();
    AQueue.cond = ASDL.SDL_CreateCond();
}

static void FreeNode(TPacketNode* ANode)
{
    if (ANode->Packet != nullptr) ff::av_packet_free(&ANode->Packet);
    delete ANode;
}

void PacketQueueFlush(const TSDLEntries& ASDL, TPacketQueue& AQueue)
{
    if (AQueue.mutex == nullptr) return;
    ASDL.SDL_LockMutex(AQueue.mutex);
    for (TPacketNode* node = AQueue.first_pkt; node != nullptr;) {
        TPacketNode* next = node->Next;
        FreeNode(node);
        node = next;
    }
    AQueue.first_pkt = AQueue.last_pkt = nullptr;
    AQueue.nb_packets = 0;
    AQueue.size = 0;
    ASDL.SDL_UnlockMutex(AQueue.mutex);
}

void PacketQueueEnd(const TSDLEntries& ASDL, TPacketQueue& AQueue)
{
    PacketQueueFlush(ASDL, AQueue);
    if (AQueue.mutex != nullptr) ASDL.SDL_DestroyMutex(AQueue.mutex);
    if (AQueue.cond != nullptr) ASDL.SDL_DestroyCond(AQueue.cond);
    AQueue.mutex = nullptr;
    AQueue.cond = nullptr;
}

int PacketQueuePut(const TSDLEntries& ASDL, TPacketQueue& AQueue, const AVPacket* APacket,
                   const AVPacket* AFlushPacket)
{
    auto* node = new (std::nothrow) TPacketNode;
    if (node == nullptr) return -1;
    if (APacket == AFlushPacket) {
        node->Flush = true;
    } else {
        node->Packet = ff::av_packet_alloc();
        if (node->Packet == nullptr || ff::av_packet_ref(node->Packet, APacket) < 0) {
            FreeNode(node);
            return -1;
        }
    }
    const int payload = node->Packet != nullptr ? node->Packet->size : 0;
    ASDL.SDL_LockMutex(AQueue.mutex);
    if (AQueue.last_pkt == nullptr)
        AQueue.first_pkt = node;
    else
        AQueue.last_pkt->Next = node;
    AQueue.last_pkt = node;
    AQueue.nb_packets += 1;
    AQueue.size += payload + PacketNodeSize;
    ASDL.SDL_CondSignal(AQueue.cond);
    ASDL.SDL_UnlockMutex(AQueue.mutex);
    return 0;
}

void PacketQueueAbort(const TSDLEntries& ASDL, TPacketQueue& AQueue)
{
    ASDL.SDL_LockMutex(AQueue.mutex);
    AQueue.abort_request = 1;
    ASDL.SDL_CondSignal(AQueue.cond);
    ASDL.SDL_UnlockMutex(AQueue.mutex);
}

int PacketQueueGet(const TSDLEntries& ASDL, TPacketQueue& AQueue, AVPacket* APacket, bool ABlock, bool& AFlush)
{
    AFlush = false;
    int result = 0;
    ASDL.SDL_LockMutex(AQueue.mutex);
    for (;;) {
        if (AQueue.abort_request) {
            result = -1;
            break;
        }
        TPacketNode* node = AQueue.first_pkt;
        if (node != nullptr) {
            AQueue.first_pkt = node->Next;
            if (AQueue.first_pkt == nullptr) AQueue.last_pkt = nullptr;
            AQueue.nb_packets -= 1;
            AQueue.size -= (node->Packet != nullptr ? node->Packet->size : 0) + PacketNodeSize;
            AFlush = node->Flush;
            if (node->Packet != nullptr) ff::av_packet_move_ref(APacket, node->Packet);
            FreeNode(node);
            result = 1;
            break;
        }
        if (!ABlock) break;
        ASDL.SDL_CondWait(AQueue.cond, AQueue.mutex);
    }
    ASDL.SDL_UnlockMutex(AQueue.mutex);
    return result;
}
