// media-info [--decode] FILE...: prints the file-information report of each file, as the converter's
// file-information window shows it. With --decode every picture and sound block is decoded as well, times printed,
// and a step back from the last picture to the first is checked against the forward times. A file that cannot be
// opened gets its error text; the exit status is 1 when any failed or a step back disagreed.
#include <cstdio>
#include <cstring>

#include "media/decode/frame_decoder.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "tools/media-info/decode_check.h"

int main(int argc, char** argv)
{
    const bool decode = argc > 1 && std::strcmp(argv[1], "--decode") == 0;
    const int first = decode ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: media-info [--decode] FILE...\n");
        return 2;
    }
    StartMediaEngine();
    int status = 0;
    {
        TFFDecoder decoder(nullptr);
        if (!decoder.LoadAVLib(TFFLoader::LibraryPath())) {
            std::fprintf(stderr, "media-info: %s\n", decoder.LastErrMsg().c_str());
            StopMediaEngine();
            return 1;
        }
        for (int i = first; i < argc; ++i) {
            if (i > first) std::printf("\n");
            if (decoder.LoadFile(argv[i])) {
                std::printf("%s", decoder.FileInfoText().c_str());
                if (decode && !DecodeCheck(decoder, argv[i], stdout)) status = 1;
            } else {
                // The text names the file already.
                std::printf("%s\n", decoder.LastErrMsg().c_str());
                status = 1;
            }
        }
        decoder.CloseFile();
    }
    StopMediaEngine();
    return status;
}
