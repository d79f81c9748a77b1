#pragma once
// Small clips made by Debian's ffmpeg tool for the transcoder tests, once per build tree.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/rtl/sysutils.h"

// AFolder/AName, made from AArguments (inputs, codecs and format; the output name is added) when it is missing.
inline std::string MakeClip(const std::string& AFolder, const std::string& AName, const std::string& AArguments)
{
    const std::string path = AFolder + "/" + AName;
    if (!FileExists(path)) {
        // Tests run as parallel processes: each makes the clip under its own name and renames it, so that a
        // half-made clip is never taken for a whole one.
        const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
        const std::string command = "mkdir -p '" + AFolder + "' && ffmpeg -nostdin -hide_banner -loglevel error " +
                                    "-y " + AArguments + " '" + temporary + "' && mv '" + temporary + "' '" + path + "'";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << command;
    }
    return path;
}
