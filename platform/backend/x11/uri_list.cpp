#include "platform/backend/x11/uri_list.h"

#include <cctype>
#include <optional>

namespace x11 {

namespace {

int HexValue(char AChar)
{
    if (AChar >= '0' && AChar <= '9')
        return AChar - '0';
    if (AChar >= 'a' && AChar <= 'f')
        return AChar - 'a' + 10;
    if (AChar >= 'A' && AChar <= 'F')
        return AChar - 'A' + 10;
    return -1;
}

std::optional<std::string> PercentDecoded(std::string_view AText)
{
    std::string result;
    for (size_t i = 0; i < AText.size(); ++i) {
        if (AText[i] != '%') {
            result += AText[i];
            continue;
        }
        int high = i + 1 < AText.size() ? HexValue(AText[i + 1]) : -1;
        int low = i + 2 < AText.size() ? HexValue(AText[i + 2]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        result += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (result.find('\0') != std::string::npos)
        return std::nullopt;
    return result;
}

bool IsLocalHost(std::string_view AHost) { return AHost.empty() || AHost == "localhost"; }

std::optional<std::string> PathOfUri(std::string_view AUri)
{
    constexpr std::string_view scheme = "file:";
    if (AUri.size() < scheme.size())
        return std::nullopt;
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(AUri[i])) != scheme[i])
            return std::nullopt;
    std::string_view rest = AUri.substr(scheme.size());
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        if (slash == std::string_view::npos || !IsLocalHost(rest.substr(0, slash)))
            return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/')
        return std::nullopt;
    return PercentDecoded(rest);
}

}  // namespace

std::vector<std::string> PathsFromUriList(std::string_view AList)
{
    std::vector<std::string> result;
    while (!AList.empty()) {
        size_t end = AList.find('\n');
        std::string_view line = AList.substr(0, end);
        AList = end == std::string_view::npos ? std::string_view() : AList.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\0'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        if (auto path = PathOfUri(line))
            result.push_back(std::move(*path));
    }
    return result;
}

std::string FileUri(std::string_view APath)
{
    static const char* digits = "0123456789ABCDEF";
    std::string result = "file://";
    for (char c : APath) {
        auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) && byte < 0x80) {
            result += c;
        } else if (c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            result += c;
        } else {
            result += '%';
            result += digits[byte >> 4];
            result += digits[byte & 15];
        }
    }
    return result;
}

}  // namespace x11
