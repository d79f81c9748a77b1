#pragma once
// The hidden files a conversion writes before its outputs take their final names. Each is created here, marked as
// this program's (an extended attribute) and locked for as long as its run holds it, so that one a killed run
// left behind is told from one a running conversion writes, and from any file of the user's.
#include <string>

// Creates APath, which must not exist yet, marks and locks it. Answers the descriptor that holds the lock (close
// it once the file is settled), or -1 when the file exists or cannot be created.
int CreatePartialFile(const std::string& APath);

// Takes the mark off the file of ALock and closes it, before the file takes its final name or is removed.
void ClosePartialFile(int ALock);

// Removes the partial files in AFolder that this program made and no running conversion holds. Entries of
// other names, files without the mark and anything that is not a regular file stay. Never fails.
void RemoveStalePartialFiles(const std::string& AFolder);
