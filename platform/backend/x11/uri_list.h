#pragma once
// File names carried as a text/uri-list, as drag and drop between programs on the desktop passes them.
#include <string>
#include <string_view>
#include <vector>

namespace x11 {

// The local file paths of a uri-list, decoded to UTF-8 bytes, in order. Comments, other schemes, other hosts
// and entries that do not decode to a clean absolute path (bad escapes, NUL bytes) are left out.
std::vector<std::string> PathsFromUriList(std::string_view AList);
// A file URI for an absolute path, escaping everything but unreserved characters and '/'.
std::string FileUri(std::string_view APath);

}  // namespace x11
