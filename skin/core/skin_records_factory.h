#pragma once
// Type words of the SKINOBJECTS and SKINCONTROLS lists: the record class a word creates, and the word a record is
// written with. Writing looks at a record's exact class, so a descendant (a main-menu-bar button, a memo) never
// goes out under its base's word.
#include <memory>
#include <string>
#include <vector>

#include "skin/core/control_records.h"
#include "skin/core/skin_records.h"

// Null for a word that is not in the table.
std::unique_ptr<TspDataSkinObject> CreateSkinObject(const std::string& ATypeWord, const std::string& AIDName);
std::unique_ptr<TspDataSkinControl> CreateSkinControl(const std::string& ATypeWord, const std::string& AIDName);

// Empty for a class that has no word of its own (the abstract bases).
std::string SkinObjectTypeWord(const TspDataSkinObject& ARecord);
std::string SkinControlTypeWord(const TspDataSkinControl& ARecord);

// Every word in the reader's test order.
const std::vector<std::string>& SkinObjectTypeWords();
const std::vector<std::string>& SkinControlTypeWords();
