#pragma once
// The shell views' icons: one image per TShellIconKind, at the index ShellImageIndex gives, drawn here in code
// (no icon theme is needed). One process-wide list per size: 16 x 16 and 32 x 32.
class TCustomImageList;

TCustomImageList* ShellSystemImages(bool ALarge);
