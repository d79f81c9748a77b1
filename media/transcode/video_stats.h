#pragma once
// Figures of coded video pictures: what the encoder reports with each packet (quantiser, picture type, squared
// coding errors), the PSNR and quantiser-histogram pieces of the progress line and the per-picture statistics line.
#include <cstdint>
#include <string>
#include <vector>

struct AVPacket;

// What the encoder said about the pictures of one output stream.
struct TCodedPictures {
    float quality = -1.0f;             // quantiser of the last picture (lambda / 118)
    char type = '?';                   // picture type letter of the last picture
    bool has_error = false;            // the encoder reports squared errors (it computes PSNR)
    int64_t error[3] = {0, 0, 0};      // of the last picture, planes Y, U, V
    int64_t total_error[3] = {0, 0, 0};
    int count = 0;                     // pictures coded
    int64_t bytes = 0;                 // their encoded size
};

// Takes the quality side data of an encoded packet into APictures (quantiser, type, errors, counts).
void TakeCodedPicture(const AVPacket* APacket, TCodedPictures& APictures);

// -10 log10(AError / AScale); a picture without error is given 99.99 dB rather than infinity.
double PsnrOf(double AError, double AScale);

// "PSNR=Y:%2.2f U:%2.2f V:%2.2f *:%2.2f " for a picture of AWidth x AHeight: the last picture's errors, or in
// the last report the totals over every picture.
std::string PsnrText(const TCodedPictures& APictures, int AWidth, int AHeight, bool ATotal);

// Counts AQuality's quantiser (0..51) once and gives the first 32 counters as log2 digits ("%X" each).
std::string QpHistogramText(std::vector<int>& AHistogram, float AQuality);

// One line of the statistics file for the picture just coded (AFrameSize bytes); ATimeBase is the encoder's
// picture duration in seconds and AVideoBytes all encoded video so far.
std::string VideoStatsLine(const TCodedPictures& APictures, int AWidth, int AHeight, int AFrameSize,
                           double ATimeBase, int64_t AVideoBytes);
