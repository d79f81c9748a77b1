#pragma once
// Two-pass encoding: the first pass writes what the encoder learnt about each picture into a log file per
// stream, the second reads it back so that the encoder can share the bits out over the whole file.
#include <string>

struct AVCodec;

// "<prefix>-<index>.log" ("ffmpeg2pass" when no prefix is given), at most 1023 characters.
std::string PassLogFileName(const std::string& APrefix, int AIndex);

// Encoders of an outside library keep their own log: they are told its name and write and read it themselves.
bool EncoderKeepsItsPassLog(const AVCodec* ACodec);

// The whole pass-1 log for the second pass; raises the pass-2 texts when it cannot be read.
std::string ReadPassLog(const std::string& AFileName);
