// Upper or lower case of RTF, written straight into the RTF: the text
// changes case, colour becomes black and bold, italic, underline,
// strike-out and protection go, everything else stays as it was written.
#pragma once
#include <cstddef>
#include <string>

// False when the RTF reader does not accept the RTF; true with an empty
// result when the RTF holds no text.
bool RtfChangeCaseFast(const char* rtf, size_t size, bool upper, std::string* out);
