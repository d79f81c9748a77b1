#pragma once
// The item pictures of the drive, directory and file list controls, drawn in code at the sizes the lists expect:
// drives 16 x 16 (the RAM disk 16 x 11), folders 16 x 15. Each has a key-colour background in its bottom-left
// pixel (magenta, light pink for the floppy and disc drives) and is marked transparent, so drawing it leaves the
// row behind showing.
#include <memory>

class TBitmap;

enum class TFileControlPicture { Floppy, Hard, Network, CDROM, RAM, OpenFolder, ClosedFolder, CurrentFolder };

std::unique_ptr<TBitmap> MakeFileControlPicture(TFileControlPicture AKind);
