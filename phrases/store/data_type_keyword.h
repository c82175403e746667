// The word a phrase file uses for a data type, under the name the editor's
// views ask for it by.
#pragma once
#include <cstdint>
#include <string>

#include "phrases/store/phrase_file.h"

// "TEXT", "RTF" or "EXEC"; any unknown number gives "TEXT".
inline std::wstring DataTypeKeyword(std::uint32_t dataType) { return DataTypeToText(dataType); }
