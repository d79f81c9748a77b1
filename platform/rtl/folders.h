#pragma once
// Per-user folders: home, configuration, the desktop's special folders (XDG user dirs) and the private
// temporary folder. Paths come back without a trailing "/".
#include <map>
#include <string>

enum TSpecialFolder { sfDesktop, sfDocuments, sfDownload, sfMusic, sfPictures, sfVideos, sfTemplates, sfPublicShare };

// $HOME, else the password database.
std::string GetHomeFolder();
// $XDG_CONFIG_HOME when absolute, else ~/.config.
std::string GetConfigFolder();
// From $XDG_CONFIG_HOME/user-dirs.dirs; a missing file or entry gives the usual English default (~/Documents,
// ~/Videos, ~/Desktop...). The folder need not exist.
std::string GetSpecialFolder(TSpecialFolder AFolder);

// Reads the text of a user-dirs.dirs file: XDG_xxx_DIR="$HOME/yyy" or "/abs/path", comments with "#", shell
// backslash escapes inside the quotes. Entries of another form are skipped. Keys stay as written
// ("XDG_VIDEOS_DIR").
std::map<std::string, std::string> ParseUserDirs(const std::string& AText, const std::string& AHome);

// The private per-user temporary folder, "quennary-<uid>" under $TMPDIR (when absolute) or /tmp, created with
// mode 0700. An existing one is used only when it is a real directory (not a link), owned by this user, with no
// access for group or others. Otherwise it is refused, and this process uses a fresh folder of its own instead
// (made by mkdtemp beside it, also 0700), so a folder planted by someone else is never written into. Raises
// EOSError when no folder can be made.
std::string GetPrivateTempFolder();

// Creates a new empty file with a unique name in the private temporary folder and returns its path, so the name
// cannot be taken by anyone else before the caller uses it. Raises EOSError on failure.
std::string CreateUniqueTempFile(const std::string& APrefix = "tmp", const std::string& ASuffix = "");
