#pragma once
// A plain-text listing of everything a loaded skin holds: its state, pictures (size and pixel checksum), cursor
// names, and every section as the writer would write it. Two skins that list the same are the same skin.
#include <string>

class TspSkinData;

std::string SkinDataListing(TspSkinData* ASkinData);
