#pragma once
// The decoder component: everything TCustomDecoder answers, plus single video pictures on demand (next, next key
// frame, previous, previous key frame, after a seek) handed out as a BITMAP record or a bitmap
// (decoder_bitmap.h), and audio decoded into one fixed output format. All calls run on the caller's thread; the
// frame and audio calls work only on files the decoder opened itself.
#include <cstdint>
#include <memory>

#include "media/decode/custom_decoder.h"
#include "media/decode/format_converter.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

struct AVFrame;
struct AVPacket;
struct SwrContext;

struct TFrameInfo {
    int PixFmt = -1;
    int Width = -1;
    int Height = -1;
    bool IsKeyFrame = false;
    TPictureType PictureType = ptUnknown;
    int64_t PTS = 0;          // microseconds from the stream's start; AV_NOPTS_VALUE when unknown
    int64_t OriginalDTS = 0;  // the values of the packet that carried the picture, in the stream time base
    int64_t OriginalPTS = 0;
    int StreamIndex = -1;
    int64_t Position = -1;  // byte position of the input before the picture was read
    bool Ready = false;
    TAVPicture Picture;
    void* Buffer = nullptr;  // the picture's own pixels
    int Size = 0;
};

struct TWaveInfo {
    int Channels = 0;
    int SampleRate = 0;
    int SampleFormat = -1;
    int BytesPerSample = 0;
    int BytesPerSecond = 0;
    int64_t PTS = 0;  // microseconds from the stream's start
    int64_t OriginalDTS = 0;
    int64_t OriginalPTS = 0;
    int StreamIndex = -1;
    bool Ready = false;
    void* Buffer = nullptr;
    int Size = 0;  // bytes
    int64_t Duration = 0;  // microseconds
};

class TFFDecoder : public TCustomDecoder {
public:
    explicit TFFDecoder(TComponent* AOwner);
    ~TFFDecoder() override;

    void CloseFile() override;

    // APTS in microseconds from the start of the file, or in bytes with sfByte.
    bool Seek(int64_t APTS, TSeekFlags ASeekFlags);
    // AStreamIndex -1: the video stream decoded last, else the first video stream.
    bool Decode(int AStreamIndex = -1);
    bool DecodeNextKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousFrame(int AStreamIndex = -1);
    bool DecodePreviousKeyFrame(int AStreamIndex = -1);

    // Converts the ready picture into the converter's RGB picture; reports "picture not ready, please decode
    // first" or the converter's text on failure.
    bool ConvertPicture();
    // The BITMAP record of the converted picture (bits valid until the next conversion), or nullptr.
    win::BITMAP* GetBitmapPtr();
    TFormatConverter& FormatConverter() { return *FFormatConv; }
    int BitmapBitsPixel() const { return FFormatConv->BitsPixel(); }
    void SetBitmapBitsPixel(int AValue) { FFormatConv->SetBitsPixel(AValue); }

    bool Deinterlace() const { return FDeinterlace; }
    void SetDeinterlace(bool AValue) { FDeinterlace = AValue; }
    // The EOF property (the name is taken by the C library's macro).
    bool IsEOF() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }
    int64_t Position();

    // Audio: AStreamIndex -1 means the audio stream used last, else the first audio stream.
    bool DecodeAudio(int AStreamIndex = -1);
    // Up to ACount bytes of decoded audio, -1 at the end or on failure; a nullptr buffer only tells how many
    // bytes the current block still holds.
    int ReadAudio(uint8_t* ABuffer, int ACount, int AStreamIndex = -1);
    const TWaveInfo& WaveInfo() const { return FWaveInfo; }
    int DesireAudioChannels() const { return FDesireAudioChannels; }
    void SetDesireAudioChannels(int AValue);
    int DesireAudioSampleRate() const { return FDesireAudioSampleRate; }
    void SetDesireAudioSampleRate(int AValue);

protected:
    void ScanStreams() override;

private:
    // The frame API needs a file this decoder opened; an adopted one raises.
    bool CheckOwnFile();
    int SelectVideoStream(int AStreamIndex);
    int SelectAudioStream(int AStreamIndex);
    bool OpenVideoCodec(int AStreamIndex);
    bool OpenAudioCodec(int AStreamIndex);
    bool OpenStreamCodec(int AStreamIndex, AVCodecContext*& ACodec, int& ACodecIndex);
    bool CanSeek();
    bool SeeksByBytes() const;
    bool IsStillImage() const;
    // The next packet of the file, under the read time-out.
    int ReadPacket();
    // The outcome of a failed packet read: false after the texts and FEOF of the three cases, true at the end
    // of the file (the caller drains its decoder).
    bool ReadFailedAtEnd(int AResult);
    void ResetFrameInfo();
    void ResetWaveInfo();
    void StoreFrame(AVFrame* AFrame, int64_t APosition);
    bool DeinterlaceFrame(AVFrame* AFrame);
    int64_t StreamTimeToMicroseconds(int AStreamIndex, int64_t ATime) const;
    // The time a step back starts from: the current picture's, else the one before, else the end of the file.
    int64_t StepBackReference() const;
    // Seeks back and decodes until a picture before AReference (or the first one) comes out.
    bool DecodeKeyFrameBefore(int AStreamIndex, int64_t AReference);
    // Microseconds per picture of a video stream (40000 when its rate is unknown).
    int64_t StreamFrameDuration(int AStreamIndex) const;

    // Audio steps (audio_decoder.cpp).
    bool ConvertAudioFrame(AVFrame* AFrame, bool& AUsedDecodedBuffer);
    bool FlushAudioConverters(bool& AUsedDecodedBuffer);
    bool AppendAudio(bool AToDecoded, const uint8_t* AData, int64_t ASize);
    SwrContext* AudioConverterFor(const AVFrame* AFrame, bool& AFailed);
    void DropAudioConverters();
    bool SameAudioInput(const AVFrame* AFrame) const;
    // Rebuilds the converters when the frame's layout, rate or format differs from what they were built for.
    bool FollowAudioInput(const AVFrame* AFrame, bool& AUsedDecodedBuffer);
    void FillWaveInfo(int ASize, bool AFromDecoded, int64_t ATime, int64_t ADts, int64_t APts);

    AVCodecContext* FCodec = nullptr;
    int FCodecIndex = -1;
    std::unique_ptr<TFormatConverter> FFormatConv;
    int FSeekIndex = -1;
    int64_t FStartTime = -1;
    int FDecodeIndex = -1;
    bool FDeinterlace = false;
    AVFrame* FDeintFrame = nullptr;
    bool FEOF = false;
    TFrameInfo FPicture;
    int64_t FLastPTS;
    int64_t FLastPos = -1;
    AVPacket* FPacket = nullptr;
    AVFrame* FFrame = nullptr;
    AVFrame* FPictureFrame = nullptr;
    bool FVideoDrainSent = false;

    TWaveInfo FWaveInfo;
    int FDesireAudioChannels = 2;
    int FDesireAudioSampleRate = 44100;
    AVSampleFormat FDesireAudioSampleFormat = AV_SAMPLE_FMT_S16;
    int FDesireAudioIndex = -1;
    AVCodecContext* FAudioCodec = nullptr;
    int FAudioCodecIndex = -1;
    uint8_t* FDecodedAudioBuffer = nullptr;
    int FDecodedAudioSize = 0;      // bytes of the current block
    size_t FDecodedAudioCapacity = 0;
    uint8_t* FResampledAudioBuffer = nullptr;
    int FResampledAudioSize = 0;
    size_t FResampledAudioCapacity = 0;
    SwrContext* FAudioResampler = nullptr;
    SwrContext* FAudioReformatter = nullptr;
    AVChannelLayout FAudioInLayout{};  // the input the converters were built for
    int FAudioInRate = 0;
    int FAudioInFormat = -1;
    int FRemainsAudioSize = 0;
    bool FAudioDrainSent = false;
    int64_t FAudioNextPTS = AV_NOPTS_VALUE;  // where the block after the current one starts, microseconds
};

inline constexpr const char StreamEOFReached[] = "stream eof reached.";
