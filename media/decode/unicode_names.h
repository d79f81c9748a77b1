#pragma once
// File names on their way to and from FFmpeg. Names are UTF-8 and reach FFmpeg unchanged; a name in the
// "unicode:utf8:" form (as older settings and callers may still hand in) is opened through an I/O context of our
// own, since FFmpeg can no longer be taught new protocols.
#include <cstdint>
#include <string>

struct AVIOContext;

// The URL form: these 13 bytes followed by the UTF-8 name.
inline constexpr const char UnicodeURLPrefix[] = "unicode:utf8:";

// True when the name cannot reach FFmpeg's own file layer as it stands. A name that starts with a known protocol
// ("udp:", "unicode:", ...) never does; with UTF-8 names every other name passes unchanged, so this is false.
bool NeedsUnicodeName(const std::string& AName);
// At least one byte after the 13-byte prefix.
bool IsUnicodeURL(const std::string& AText);
std::string MakeUnicodeURL(const std::string& AName);
// Drops everything up to and including the first colon, twice.
std::string DecodeUnicodeURL(const std::string& AText);
// The text FFmpeg is given for a file name; each call answers its own copy, so threads never share a result.
std::string FileNameToAnsiURL(const std::string& AName);
// The file name behind a text FFmpeg holds (a format context's url): unicode URLs are decoded, the rest is kept.
std::string URLToWideName(const std::string& AText);

// Open modes of UnicodeIOOpen, as the old protocol flags: read only, write only (created), read and write.
enum TUnicodeIOMode { uioRead = 0, uioWrite = 1, uioReadWrite = 2 };

// An I/O context over the file a unicode URL names. Answers 0 and the context, or a negative AVERROR code
// (AVERROR(ENOENT) for a missing file). Free it with UnicodeIOClose, which also closes the file.
int UnicodeIOOpen(const std::string& AURL, TUnicodeIOMode AMode, AVIOContext*& AContext);
void UnicodeIOClose(AVIOContext*& AContext);
