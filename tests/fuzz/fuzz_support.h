#pragma once
// What the fuzz targets share: a private scratch folder per process, and writing an input to a file there.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzz {

inline const std::filesystem::path& Scratch()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quennary-fuzz-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        if (!made) std::abort();
        return std::filesystem::path(made);
    }();
    return folder;
}

inline std::string WriteInput(const std::string& AName, const uint8_t* AData, size_t ASize)
{
    const std::filesystem::path file = Scratch() / AName;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(AData), ASize);
    return file.string();
}

}  // namespace fuzz
