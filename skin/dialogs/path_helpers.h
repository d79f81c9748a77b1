#pragma once
// Path helpers of the file-system controls, in POSIX form: "/" separates folders, and a mount point (see
// file_controls_volumes.h) stands where a drive letter would.
#include <string>

class TCanvas;

// True when AName is an existing folder (through symbolic links); never fails.
bool FolderExists(const std::string& AName);
// APath and AName joined by one "/".
std::string AppendPathPart(const std::string& APath, const std::string& AName);
// Drops the first folder of a folder path as FitPathToWidth keeps it ("a/b/", "/.../b/", ".../b/").
void ShortenFirstFolder(std::string& S);
// AFileName narrowed one folder per step, "..." standing for what was dropped, until it fits AMaxLen pixels in the
// canvas's font; the file name itself is never shortened.
std::string FitPathToWidth(const std::string& AFileName, TCanvas* ACanvas, int AMaxLen);
// The label of the volume mounted at AMountPoint framed by "[%s]"; "[]" when it has none or is not mounted.
std::string GetVolumeLabelText(const std::string& AMountPoint);
// The remote name of a network volume (its mount source), else GetVolumeLabelText.
std::string GetNetworkOrVolumeName(const std::string& AMountPoint);

// A folder path typed into a dialog, made absolute: "~" and "~/..." start at the home folder, other relative paths
// at ABase (the folder the dialog shows); "." and ".." parts are resolved in the text and a trailing "/" dropped.
std::string ResolveTypedFolder(const std::string& AText, const std::string& ABase);
// Why APath is no folder one can open, in the system's words ("No such file or directory", "Not a directory");
// empty when it is one.
std::string FolderProblem(const std::string& APath);

// The current directory, and entering a folder; a folder that cannot be entered raises EInOutError.
std::string CurrentFolder();
void EnterFolder(const std::string& AFolder);

struct TEditPathParts {
    std::string Drive;    // the mount point holding the folder
    std::string DirPart;  // the folder, absolute: typed relative paths are resolved in the current folder
    std::string FilePart; // the last part when it names no folder: a file name or a pattern
};
// Splits typed text into folder and file part against the current directory, entering folders to tell them from
// files; the current directory is the same afterwards, also when a folder cannot be entered (EInOutError).
TEditPathParts SplitEditPath(const std::string& AEditText);
