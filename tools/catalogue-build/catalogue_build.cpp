// Builds the shipped preset catalogue from its readable sources:
//   catalogue-build <source folder> <output folder>
// reads formats.txt, Profiles.dat and icons.txt of the source folder and writes Profiles.dat, Formats.dat (every
// byte complemented) and Icons/*.png into the output folder. Fails, naming the line, on anything inconsistent, so a
// broken catalogue never reaches a build.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "catalogue_format_source.h"
#include "icon_painter.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& APath)
{
    std::ifstream in(APath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + APath.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& APath, const std::string& AText)
{
    std::ofstream out(APath, std::ios::binary | std::ios::trunc);
    if (!(out << AText) || !out.flush())
        throw std::runtime_error("cannot write " + APath.string());
}

std::string AttributeOf(const std::string& ALine, const std::string& AKey)
{
    const std::string marker = AKey + "=\"";
    const auto start = ALine.find(marker);
    if (start == std::string::npos)
        return {};
    const auto end = ALine.find('"', start + marker.size());
    return ALine.substr(start + marker.size(), end - start - marker.size());
}

struct TCategories {
    std::set<std::string> Ids, Icons;
};

TCategories ReadCategories(const std::string& AProfilesText)
{
    TCategories categories;
    std::istringstream in(AProfilesText);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("<category id=\"") == std::string::npos)
            continue;
        categories.Ids.insert(AttributeOf(line, "id"));
        categories.Icons.insert(AttributeOf(line, "icon"));
    }
    return categories;
}

struct TIconSource {
    std::string Label;
    uint32_t Rgb = 0;
};

std::map<std::string, TIconSource> ReadIconSource(const std::string& AText)
{
    std::map<std::string, TIconSource> icons;
    std::istringstream in(AText);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, label, colour;
        if (!(fields >> name >> label >> colour) || colour.size() != 6 || label.size() > 3)
            throw std::runtime_error("icons source, line " + std::to_string(number) + ": expected name LABEL RRGGBB");
        icons[name] = {label, static_cast<uint32_t>(std::stoul(colour, nullptr, 16))};
    }
    return icons;
}

void CheckReferences(const std::vector<TFormatSource>& AFormats, const TCategories& ACategories,
                     const std::map<std::string, TIconSource>& AIcons)
{
    auto need_icon = [&](const std::string& AName, const std::string& AWho) {
        if (!AIcons.contains(AName))
            throw std::runtime_error(AWho + " names the icon \"" + AName + "\", which icons.txt does not draw");
    };
    need_icon("menuall", "\"All Profiles\"");
    for (const auto& icon : ACategories.Icons)
        need_icon(icon, "Profiles.dat");
    for (const auto& format : AFormats) {
        const std::string who = "format \"" + format.at("name") + "\"";
        if (!ACategories.Ids.contains(format.at("id")))
            throw std::runtime_error(who + " belongs to no category of Profiles.dat");
        if (format.contains("icon"))
            need_icon(format.at("icon"), who);
    }
}

void Build(const fs::path& ASource, const fs::path& AOutput)
{
    const auto formats = ParseFormatSource(ReadFile(ASource / "formats.txt"));
    const std::string profiles = ReadFile(ASource / "Profiles.dat");
    const auto icons = ReadIconSource(ReadFile(ASource / "icons.txt"));
    CheckReferences(formats, ReadCategories(profiles), icons);

    fs::create_directories(AOutput / "Icons");
    WriteFile(AOutput / "Profiles.dat", profiles);
    WriteFile(AOutput / "Formats.dat", Complemented(FormatsFileText(formats)));
    for (const auto& entry : fs::directory_iterator(AOutput / "Icons"))
        if (entry.path().extension() == ".png" && !icons.contains(entry.path().stem().string()))
            fs::remove(entry.path());
    for (const auto& [name, icon] : icons)
        WriteIcon((AOutput / "Icons" / (name + ".png")).string(), icon.Label, icon.Rgb);
    std::cout << "catalogue: " << formats.size() << " formats, " << icons.size() << " icons in " << AOutput.string()
              << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: catalogue-build <source folder> <output folder>\n";
        return 2;
    }
    try {
        Build(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "catalogue-build: " << e.what() << "\n";
        return 1;
    }
}
