#pragma once
// Start-up services for a main window loaded headless from the build tree's skin and catalogue, with every
// message and error report kept in AShown and the user's folders under ARoot.
#include <filesystem>
#include <string>
#include <vector>

#include "app/ui/startup_sequence.h"

inline TStartupServices BuildTreeStartupServices(const std::filesystem::path& ARoot, std::vector<std::string>& AShown)
{
    TStartupServices services;
    services.ExeFolder = std::string(QUENNARY_BINARY_DIR) + "/app/";
    services.DocumentsFolder = (ARoot / "documents").string();
    services.ReportError = [&AShown](const std::string& AText, const std::string&) { AShown.push_back(AText); };
    services.ShowPlainMessage = [&AShown](const std::string& AText) { AShown.push_back(AText); };
    services.TempFolder = [ARoot] { return (ARoot / "tmp").string(); };
    return services;
}
