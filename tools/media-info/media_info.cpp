// media-info FILE...: prints the file-information report of each file, as the converter's file-information
// window shows it. A file that cannot be opened gets its error text; the exit status is 1 when any failed.
#include <cstdio>
#include <exception>

#include "media/decode/frame_decoder.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: media-info FILE...\n");
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
        for (int i = 1; i < argc; ++i) {
            if (i > 1) std::printf("\n");
            if (decoder.LoadFile(argv[i])) {
                std::printf("%s", decoder.FileInfoText().c_str());
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
