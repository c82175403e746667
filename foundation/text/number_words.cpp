#include "foundation/text/number_words.h"

namespace {

// Every word carries its leading blank; 11-19 and some tens and hundreds are
// stems that a completing piece finishes.
const wchar_t* const kUnits[20] = {
    L"",        L" один",  L" два",   L" три",   L" четыре", L" пять",  L" шесть",
    L" семь",   L" восемь", L" девять", L" десять", L" один",   L" две",   L" три",
    L" четыр",  L" пят",   L" шест",  L" сем",   L" восем",  L" девят"};
const wchar_t* const kFeminine[3] = {L"", L" одна", L" две"};
const wchar_t* const kTens[10] = {L"",     L"",     L" двадцать", L" тридцать", L" сорок",
                                  L" пят", L" шест", L" сем",      L" восем",    L" девяносто"};
const wchar_t* const kHundreds[10] = {L"",    L"сто",  L"двести", L"триста", L"четыреста",
                                      L"пят", L"шест", L"сем",    L"восем",  L"девят"};
const wchar_t* const kScale[4] = {L"", L" тысяч", L" миллион", L" миллиард"};
const wchar_t* const kThousandEnding[3] = {L"а", L"и", L""};
const wchar_t* const kScaleEnding[3] = {L"", L"а", L"ов"};

int FormOf(unsigned k) {
  unsigned r = k % 100;
  if (r >= 5 && r <= 19) return 2;
  unsigned d = r % 10;
  if (d == 1) return 0;
  if (d >= 2 && d <= 4) return 1;
  return 2;
}

void AppendGroup(uint32_t n, int scale, std::wstring& out) {
  unsigned g = n % 1000;
  if (n / 1000 != 0) AppendGroup(n / 1000, scale + 1, out);
  if (g == 0) return;

  unsigned h = g / 100;
  if (h > 0) {
    out += L' ';
    out += kHundreds[h];
    if (h >= 5) out += L"ьсот";
  }
  unsigned r = g % 100;
  unsigned t = r / 10;
  if (t >= 2) {
    out += kTens[t];
    if (t >= 5 && t <= 8) out += L"ьдесят";
    r %= 10;
  }
  int form = FormOf(r);
  out += (scale == 1 && (r == 1 || r == 2)) ? kFeminine[r] : kUnits[r];
  if (r > 10) out += L"надцать";
  if (scale >= 1) {
    out += kScale[scale];
    if (scale == 1)
      out += kThousandEnding[form];
    else if (form > 0)
      out += kScaleEnding[form];
  }
}

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Decimal value of a digit run; false when it exceeds 32 bits.
bool ParseRun(const std::wstring& digits, uint32_t& value) {
  uint64_t v = 0;
  for (wchar_t c : digits) {
    v = v * 10 + static_cast<unsigned>(c - L'0');
    if (v > UINT32_MAX) return false;
  }
  value = static_cast<uint32_t>(v);
  return true;
}

}  // namespace

std::wstring NumberToWords(uint32_t n) {
  if (n == 0) return L"ноль";
  std::wstring work;
  work.reserve(500);
  AppendGroup(n, 0, work);
  size_t first = work.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  size_t last = work.find_last_not_of(L' ');
  return work.substr(first, last - first + 1);
}

size_t SplitDigitRuns(const std::wstring& text, std::vector<DigitRun>& runs) {
  runs.clear();
  // Only ASCII digits: the C library also classes other scripts' digits as
  // digits, which have no decimal value to read.
  for (wchar_t c : text) {
    bool digit = IsAsciiDigit(c);
    if (runs.empty() || runs.back().first != digit) runs.emplace_back(digit, std::wstring());
    runs.back().second += c;
  }
  return runs.size();
}

std::wstring NumbersToWords(const std::wstring& text) {
  std::vector<DigitRun> runs;
  if (SplitDigitRuns(text, runs) == 0) return std::wstring();
  std::wstring out;
  for (const DigitRun& run : runs) {
    uint32_t value = 0;
    if (run.first && ParseRun(run.second, value))
      out += NumberToWords(value);
    else
      out += run.second;
  }
  return out;
}
