#pragma once
// The file types the add-files dialog offers, as the dialog's filter text: pairs of a caption and its patterns,
// each part ended by "|" (the last one not), the patterns of one choice separated by ";".
#include <string>

std::string OpenDialogFilter();
