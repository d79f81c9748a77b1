#pragma once
// The session description of outputs sent over RTP, which a receiver needs to play them.
#include <string>
#include <vector>

struct AVFormatContext;

// True when there is at least one output and every one is written in the "rtp" format.
bool AllFormatsAreRtp(const std::vector<AVFormatContext*>& AFiles);

// The description of all AFiles (made in 2048 bytes), without the trailing line breaks.
std::string SessionDescription(std::vector<AVFormatContext*>& AFiles);
