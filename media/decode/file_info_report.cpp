// The file-information report: everything known about the open file as plain text, one item per line.
#include "media/decode/file_info_report.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "media/decode/custom_decoder.h"
#include "media/decode/unicode_names.h"
#include "media/loader/av_bindings.h"
#include "media/util/ff_utils.h"
#include "media/util/media_utils.h"
#include "media/util/text_format.h"

namespace {

struct TKeyRow {
    const char* Key;
    const char* Generic;
};

// Looked up in order, case-sensitive; the first match wins ("Author" appears twice, as it always has).
constexpr TKeyRow MetadataKeys[] = {
    {"LEAD_PERFORMER", "performer"}, {"PART_NUMBER", "track"}, {"ALBUMARTIST", "album_artist"},
    {"TRACKNUMBER", "track"}, {"DISCNUMBER", "disc"}, {"Author", "artist"}, {"X-CreationTime", "date"},
    {"CreationTime", "date"}, {"SourceFilename", "filename"}, {"X-Language", "language"},
    {"X-Disposition", "disposition"}, {"X-Replaces", "replaces"}, {"X-Depends", "depends"}, {"X-Uses", "uses"},
    {"X-UsesFont", "usesfont"}, {"WM/AlbumArtist", "album_artist"}, {"WM/AlbumTitle", "album"},
    {"Author", "artist"}, {"Description", "comment"}, {"WM/Composer", "composer"}, {"WM/EncodedBy", "encoded_by"},
    {"WM/EncodingSettings", "encoder"}, {"WM/Genre", "genre"}, {"WM/Language", "language"},
    {"WM/OriginalFilename", "filename"}, {"WM/PartOfSet", "disc"}, {"WM/Publisher", "publisher"},
    {"WM/Tool", "encoder"}, {"WM/TrackNumber", "track"}, {"WM/Track", "track"},
    {"WM/MediaStationCallSign", "service_provider"}, {"WM/MediaStationName", "service_name"}, {"IART", "artist"},
    {"ICMT", "comment"}, {"ICOP", "copyright"}, {"ICRD", "date"}, {"IGNR", "genre"}, {"ILNG", "language"},
    {"INAM", "title"}, {"IPRD", "album"}, {"IPRT", "track"}, {"ISFT", "encoder"}, {"ITCH", "encoded_by"},
    {"strn", "title"}, {"TALB", "album"}, {"TCOM", "composer"}, {"TCON", "genre"}, {"TCOP", "copyright"},
    {"TENC", "encoded_by"}, {"TIT2", "title"}, {"TLAN", "language"}, {"TPE1", "artist"}, {"TPE2", "album_artist"},
    {"TPE3", "performer"}, {"TPOS", "disc"}, {"TPUB", "publisher"}, {"TRCK", "track"}, {"TSSE", "encoder"},
    {"TDRL", "date"}, {"TDRC", "date"}, {"TDEN", "creation_time"}, {"TSOA", "album-sort"}, {"TSOP", "artist-sort"},
    {"TSOT", "title-sort"}, {"TAL", "album"}, {"TCO", "genre"}, {"TT2", "title"}, {"TEN", "encoded_by"},
    {"TP1", "artist"}, {"TP2", "album_artist"}, {"TP3", "performer"}, {"TRK", "track"},
};
static_assert(sizeof MetadataKeys / sizeof MetadataKeys[0] == 72);

std::vector<const AVDictionaryEntry*> Entries(const AVDictionary* AMetadata)
{
    std::vector<const AVDictionaryEntry*> entries;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = ff::av_dict_get(AMetadata, "", entry, AV_DICT_IGNORE_SUFFIX)) != nullptr) entries.push_back(entry);
    return entries;
}

void MetadataBlock(std::string& AText, const AVDictionary* AMetadata, const char* APrefix)
{
    const std::vector<const AVDictionaryEntry*> entries = Entries(AMetadata);
    if (entries.empty() || (entries.size() == 1 && std::string(entries[0]->key) == "language")) return;
    AText += StrFormat("%sMetadata:\n", APrefix);
    for (const AVDictionaryEntry* entry : entries) {
        if (std::string(entry->key) == "language") continue;
        AText += StrFormat("%s  %-16s: %s\n", APrefix, GenericMetadataKey(entry->key).c_str(), entry->value);
    }
}

std::string AnyValue(const AVDictionary* AMetadata, const char* AKey, const char* AOtherKey)
{
    std::string value = MetadataValue(AMetadata, AKey, "");
    if (value.empty()) value = MetadataValue(AMetadata, AOtherKey, "");
    return value.empty() ? "N/A" : value;
}

}  // namespace

std::string GenericMetadataKey(const std::string& AKey)
{
    for (const TKeyRow& row : MetadataKeys)
        if (AKey == row.Key) return row.Generic;
    return AKey;
}

std::string RateText(double ARate, const char* AUnit)
{
    const int64_t v = static_cast<int64_t>(std::nearbyint(ARate * 100));
    if (v % 100 != 0) return StrFormat(", %3.2f %s", ARate, AUnit);
    if (v % 100000 != 0) return StrFormat(", %1.0f %s", ARate, AUnit);
    return StrFormat(", %1.0fk %s", ARate / 1000, AUnit);
}

std::string SecondsText(int64_t AMicroseconds)
{
    // Split the magnitude, not the signed value: -21333 us must read "-0.021333", not "0.-021333".
    const uint64_t magnitude = AMicroseconds < 0 ? 0 - static_cast<uint64_t>(AMicroseconds) : AMicroseconds;
    return StrFormat("%s%llu.%.6llu", AMicroseconds < 0 ? "-" : "", static_cast<unsigned long long>(magnitude / 1000000),
                     static_cast<unsigned long long>(magnitude % 1000000));
}

std::string TCustomDecoder::FileInfoText()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return std::string();
    }
    AVFormatContext* ic = FFileHandle;
    std::string text = StrFormat("File Name: %s\n", URLToWideName(ic->url ? ic->url : "").c_str());
    text += StrFormat("Format Name: %s\n", ic->iformat->name);
    if (ic->iformat->long_name != nullptr && ic->iformat->long_name[0] != 0)
        text += StrFormat("Format Long Name: %s\n", ic->iformat->long_name);
    text += StrFormat("File Size: %s\n", SizeToText(FFileSize).c_str());

    const TFileStreamInfo info = FileStreamInfo();
    text += info.Duration < 0 ? std::string("Duration: N/A\n")
                              : StrFormat("Duration: %s\n", FormatTimestamp(info.Duration).c_str());
    if (info.StartTime >= 0) text += StrFormat("StartTime: %s\n", SecondsText(info.StartTime).c_str());
    text += info.BitRate < 1 ? std::string("Bit Rate: N/A\n") : StrFormat("Bit Rate: %d kb/s\n", info.BitRate / 1000);
    if (info.TimeStamp > 0)
        text += StrFormat("Time Stamp: %s\n",
                          DateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocalOfDate(info.TimeStamp)).c_str());
    MetadataBlock(text, ic->metadata, "");

    for (unsigned i = 0; i < ic->nb_chapters; ++i) {
        const AVChapter* chapter = ic->chapters[i];
        const double unit = chapter->time_base.den != 0 ? static_cast<double>(chapter->time_base.num) / chapter->time_base.den : 0;
        text += StrFormat("Chapter #%u: start %f, end %f\n", i, chapter->start * unit, chapter->end * unit);
        MetadataBlock(text, chapter->metadata, "  ");
    }

    std::vector<bool> shown(ic->nb_streams, false);
    auto stream_line = [&](unsigned AIndex) {
        text += StreamInfoLine(static_cast<int>(AIndex));
        shown[AIndex] = true;
    };
    for (unsigned i = 0; i < ic->nb_programs; ++i) {
        const AVProgram* program = ic->programs[i];
        // Demuxers of this library generation name the program's provider and name with service_* keys.
        const std::string provider = AnyValue(program->metadata, "service_provider", "provider_name");
        const std::string name = AnyValue(program->metadata, "service_name", "name");
        text += StrFormat("Program %d %s\n", program->id, (provider + "@" + name).c_str());
        MetadataBlock(text, program->metadata, "  ");
        for (unsigned k = 0; k < program->nb_stream_indexes; ++k)
            if (program->stream_index[k] < ic->nb_streams) stream_line(program->stream_index[k]);
    }
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        if (!shown[i]) stream_line(i);
    return text;
}

std::string TCustomDecoder::StreamInfoLine(int AIndex)
{
    const AVFormatContext* ic = FFileHandle;
    AVStream* stream = ic->streams[AIndex];
    std::string line = StrFormat("Stream #%d", AIndex);
    if (ic->iformat->flags & AVFMT_SHOW_IDS) line += StrFormat("[0x%x]", stream->id);
    const std::string language = MetadataValue(stream->metadata, "language", "");
    if (!language.empty()) line += StrFormat("(%s)", language.c_str());
    int gcd = static_cast<int>(ff::av_gcd(stream->time_base.num, stream->time_base.den));
    if (gcd == 0) gcd = 1;
    line += StrFormat(", %d/%d", stream->time_base.num / gcd, stream->time_base.den / gcd);

    AVCodecContext* codec = StreamCodec(AIndex);
    char description[256] = {};
    if (codec != nullptr) ff::avcodec_string(description, sizeof description, codec, 0);
    line += StrFormat(": %s", description);
    if (IsCoverArt(stream)) line += " (cover art)";

    const AVRational codec_sar = codec != nullptr ? codec->sample_aspect_ratio : stream->codecpar->sample_aspect_ratio;
    if (stream->sample_aspect_ratio.num != 0 && av_cmp_q(stream->sample_aspect_ratio, codec_sar) != 0) {
        int dar_num = 0, dar_den = 0;
        ff::av_reduce(&dar_num, &dar_den, static_cast<int64_t>(stream->codecpar->width) * stream->sample_aspect_ratio.num,
                      static_cast<int64_t>(stream->codecpar->height) * stream->sample_aspect_ratio.den, 1024 * 1024);
        line += StrFormat(", PAR %d:%d DAR %d:%d", stream->sample_aspect_ratio.num, stream->sample_aspect_ratio.den,
                          dar_num, dar_den);
    }

    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !IsCoverArt(stream)) {
        auto rate = [&](AVRational ARate, const char* AUnit) {
            if (ARate.num != 0 && ARate.den != 0) line += RateText(av_q2d(ARate), AUnit);
        };
        rate(stream->avg_frame_rate, "fps");
        rate(stream->r_frame_rate, "tbr");
        rate(av_inv_q(stream->time_base), "tbn");
        // Codec contexts of this library generation carry no time base of their own; the rule drops "tbc".
        if (codec != nullptr) rate(av_inv_q(codec->time_base), "tbc");
    }
    const AVRational microseconds{1, AV_TIME_BASE};
    if (stream->start_time != AV_NOPTS_VALUE)
        line += StrFormat(", StartTime: %s",
                          SecondsText(ff::av_rescale_q(stream->start_time, stream->time_base, microseconds)).c_str());
    if (stream->duration == AV_NOPTS_VALUE)
        line += ", Duration: N/A";
    else
        line += StrFormat(", Duration: %s",
                          FormatTimestamp(ff::av_rescale_q(stream->duration, stream->time_base, microseconds)).c_str());
    line += "\n";
    MetadataBlock(line, stream->metadata, "  ");
    return line;
}
