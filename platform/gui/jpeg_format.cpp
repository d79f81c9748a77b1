#include "platform/gui/jpeg_format.h"

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <string>

#include "platform/gui/graphic_errors.h"

namespace {

constexpr JDIMENSION kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = "";
};

void OnError(j_common_ptr info)
{
    auto* e = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, e->message);
    std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

}  // namespace

bool IsJpegSignature(std::span<const uint8_t> AData)
{
    return AData.size() >= 3 && AData[0] == 0xFF && AData[1] == 0xD8 && AData[2] == 0xFF;
}

TJpegPixels ReadJpeg(std::span<const uint8_t> AData)
{
    TJpegPixels p;
    jpeg_decompress_struct info{};
    ErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnError;
    error.base.emit_message = OnMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        throw EInvalidGraphic(std::string("JPEG image is not valid: ") + error.message);
    }
    if (AData.empty()) throw EInvalidGraphic("JPEG image is not valid: the file is empty");
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, AData.data(), static_cast<unsigned long>(AData.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxSide || info.image_height > kMaxSide ||
        uint64_t(info.image_width) * info.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        throw EInvalidGraphic("JPEG image is not valid: the picture is too large");
    }
    p.Grayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    p.Width = static_cast<int32_t>(info.output_width);
    p.Height = static_cast<int32_t>(info.output_height);
    p.Bgr.resize(size_t(p.Width) * 3 * p.Height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = p.Bgr.data() + size_t(info.output_scanline) * p.Width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return p;
}

std::vector<uint8_t> WriteJpeg(const TJpegPixels& APixels, int AQuality)
{
    jpeg_compress_struct info{};
    ErrorManager error;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnError;
    error.base.emit_message = OnMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw EInvalidGraphic(std::string("JPEG image cannot be written: ") + error.message);
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(APixels.Width);
    info.image_height = static_cast<JDIMENSION>(APixels.Height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(AQuality, 1, 100), TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(APixels.Bgr.data() + size_t(info.next_scanline) * APixels.Width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}
