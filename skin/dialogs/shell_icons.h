#pragma once
// The pictures of the shell views: one image per icon kind of the namespace (a file, folders, home, computer,
// desktop, volumes, media and text files), at the index the namespace gives, in a small (16) and a large (32)
// list shared by every view of the process.
class TCustomImageList;

TCustomImageList* ShellImages(bool ALarge);
