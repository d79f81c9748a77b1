// Every encoded video packet passes here before it is written: the pass-1 log takes the encoder's statistics
// text, the statistics file a line, and the progress line its PSNR and quantiser figures.
#include "media/transcode/video_stats.h"

#include <cmath>

#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_run.h"
#include "media/util/text_format.h"

namespace {

int64_t ReadLittleEndian(const uint8_t* AData, int ABytes)
{
    uint64_t value = 0;
    for (int i = ABytes - 1; i >= 0; --i) value = value << 8 | AData[i];
    return static_cast<int64_t>(value);
}

}  // namespace

void TakeCodedPicture(const AVPacket* APacket, TCodedPictures& APictures)
{
    ++APictures.count;
    APictures.bytes += APacket->size;
    size_t size = 0;
    // quality (32 bits), picture type (8), error count (8), 2 reserved, then the errors (64 bits each).
    const uint8_t* data = ff::av_packet_get_side_data(APacket, AV_PKT_DATA_QUALITY_STATS, &size);
    if (data == nullptr || size < 4) return;
    APictures.quality = static_cast<float>(ReadLittleEndian(data, 4)) / FF_QP2LAMBDA;
    if (size < 6) return;
    APictures.type = ff::av_get_picture_type_char(static_cast<AVPictureType>(data[4]));
    const int errors = std::min<int>(data[5], 3);
    APictures.has_error = false;
    for (int i = 0; i < errors && size >= 8 + 8 * static_cast<size_t>(i + 1); ++i) {
        APictures.error[i] = ReadLittleEndian(data + 8 + 8 * i, 8);
        APictures.total_error[i] += APictures.error[i];
        APictures.has_error = true;
    }
}

double PsnrOf(double AError, double AScale)
{
    if (AError <= 0 || AScale <= 0) return 99.99;
    return -10.0 * std::log10(AError / AScale);
}

std::string PsnrText(const TCodedPictures& APictures, int AWidth, int AHeight, bool ATotal)
{
    static const char Planes[3] = {'Y', 'U', 'V'};
    std::string text = "PSNR=";
    double error_sum = 0;
    double scale_sum = 0;
    for (int i = 0; i < 3; ++i) {
        const double error = static_cast<double>(ATotal ? APictures.total_error[i] : APictures.error[i]);
        double scale = static_cast<double>(AWidth) * AHeight * 255.0 * 255.0;
        if (ATotal) scale *= APictures.count;
        if (i > 0) scale /= 4;  // the chroma planes of 4:2:0 pictures
        error_sum += error;
        scale_sum += scale;
        text += StrFormat("%c:%2.2f ", Planes[i], PsnrOf(error, scale));
    }
    text += StrFormat("*:%2.2f ", PsnrOf(error_sum, scale_sum));
    return text;
}

std::string QpHistogramText(std::vector<int>& AHistogram, float AQuality)
{
    if (AHistogram.size() < 52) AHistogram.resize(52);
    const long qp = std::lround(AQuality);
    if (qp >= 0 && qp <= 51) ++AHistogram[qp];
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += StrFormat("%X", static_cast<int>(std::lround(std::log2(AHistogram[i] + 1.0))));
    return text;
}

std::string VideoStatsLine(const TCodedPictures& APictures, int AWidth, int AHeight, int AFrameSize,
                           double ATimeBase, int64_t AVideoBytes)
{
    std::string line = StrFormat("frame= %5d q= %2.1f ", APictures.count, APictures.quality);
    if (APictures.has_error)
        line += StrFormat("PSNR= %6.2f ", PsnrOf(static_cast<double>(APictures.error[0]),
                                                 static_cast<double>(AWidth) * AHeight * 255.0 * 255.0));
    line += StrFormat("f_size= %6d ", AFrameSize);
    const double time = std::max(APictures.count * ATimeBase, 0.01);
    const double bit_rate = ATimeBase > 0 ? AFrameSize * 8 / ATimeBase / 1000.0 : 0.0;
    line += StrFormat("s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ", AVideoBytes / 1024.0,
                      time, bit_rate, AVideoBytes * 8 / time / 1000.0);
    line += StrFormat("type= %c\n", APictures.type);
    return line;
}

void TTranscodeRun::EncodedPacket(TOutputStreamRun& AOst, const AVPacket* APacket)
{
    AVCodecContext* enc = AOst.enc;
    // The encoder's text describes the packet it has just given; it is gone once it answers "again".
    if (AOst.pass_log != nullptr && enc->stats_out != nullptr) std::fputs(enc->stats_out, AOst.pass_log);
    if (AOst.type != AVMEDIA_TYPE_VIDEO) return;
    const size_t index = static_cast<size_t>(&AOst - FOutputs.data());
    if (FCoded.size() < FOutputs.size()) FCoded.resize(FOutputs.size());
    TCodedPictures& pictures = FCoded[index];
    TakeCodedPicture(APacket, pictures);
    FVideoBytes += APacket->size;
    if (E.Fvstats_filename.empty()) return;
    if (FVideoStatsFile == nullptr) {
        FVideoStatsFile = std::fopen(E.Fvstats_filename.c_str(), "w");
        if (FVideoStatsFile == nullptr) throw FFmpegException("fopen fail: " + E.Fvstats_filename);
    }
    const std::string line = VideoStatsLine(pictures, enc->width, enc->height, APacket->size,
                                            av_q2d(enc->time_base), FVideoBytes);
    std::fputs(line.c_str(), FVideoStatsFile);
}
