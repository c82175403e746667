// Numbers spelled out in Russian words (cardinal, nominative), as the
// number-words macro inserts them.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The number in words, e.g. 21000 -> "двадцать одна тысяча"; 0 -> "ноль".
std::wstring NumberToWords(uint32_t n);

// The text with every run of ASCII digits replaced by its words, without
// blanks added around them. A run whose value does not fit in 32 bits stays
// as digits.
std::wstring NumbersToWords(const std::wstring& text);

// One run of a text: (true, digits) or (false, other characters).
using DigitRun = std::pair<bool, std::wstring>;
// Splits the text into alternating runs of ASCII digits and other
// characters; returns the number of runs.
size_t SplitDigitRuns(const std::wstring& text, std::vector<DigitRun>& runs);
