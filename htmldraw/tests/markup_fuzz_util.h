// Random and mutated markup for the fuzz tests: pieces of the dialect, any
// UTF-16 unit, cuts, copies and overwritten characters.
#pragma once
#include <random>
#include <string>

namespace markupfuzz {

inline const wchar_t* const kPieces[] = {
    L"<", L">", L"<<", L"</", L"=", L"\"", L"'", L" ", L"\t", L"\r\n", L"\n", L"&", L";", L"{", L"}", L":", L",",
    L"&amp;", L"&lt;", L"&gt;", L"&amp;lt;", L"&nbsp;", L"&iquest;", L"&pound;", L"&quot;", L"&bogus;",
    L"<b>", L"</b>", L"<i>", L"</i>", L"<em>", L"<u>", L"</u>", L"<s>", L"<strike>", L"</strike>", L"<bottom>",
    L"</vcenter>", L"<middle>", L"<center>", L"</center>", L"<justify>", L"<top>", L"<h1>", L"</h1>", L"<pre>",
    L"<sub>", L"<sup>", L"<big>", L"<small>", L"</small>", L"<body>", L"<code>", L"<br>", L"<br=", L"<t=", L"<hr ",
    L"<bmp index=", L"<icon ", L"<ilst speed=", L"<string idres=", L"<table>", L"<td colspan=", L"<p>", L"<font ",
    L"</font>", L"<span class=", L"</span>", L"<a href=", L"<a msg=", L"</a>", L"<a>", L"color=", L"size=", L"face=",
    L"style=", L"weight=", L"bkgnd=", L"class=", L"b-i", L"+u-s", L"#00ff00", L"#0f0", L"#zzzzzz", L"red", L"0x",
    L"0777", L"255", L"99999999999", L"-2147483649", L"4294967296", L"2147483648px", L"99999999em", L"2000000000",
    L"1in", L"10pt", L"1cm", L"5mm", L"2pc", L"3ex", L"65%", L"99999999999%", L"-12px", L"+", L"-", L"%", L"px",
    L"font-size", L"font-family", L"font-weight", L"font-style", L"text-align", L"text-transform", L"color",
    L"background-color", L"text-decoration", L"vertical-align", L"border-color", L"border-width", L"size",
    L"border-style", L"margin", L"padding", L"thin", L"thick", L"medium", L"dotted", L"none", L"double", L"italic",
    L"bolder", L"capitalize", L"transparent", L"underline,overline", L"h1", L".a", L".b", L"a:hover", L"a:link",
    L"\x00E9", L"\xD800", L"\xFFFF", L"x", L"word ",
    // The drawer's objects and image sources.
    L"<hr width=", L"<ilst cx=", L"<bmp file=", L"srcdll=", L"iddll=", L"idres=", L"handle=", L"width=", L"height=",
    L"cx=", L"cy=", L"index=", L"hotstyle=", L"gdls", L"50%", L"1000%", L"<t>", L"-.,!:;)}]?", L"wwwwwwwwwwww",
};
constexpr size_t kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);

inline std::wstring RandomText(std::mt19937& rng, size_t pieces) {
  std::wstring text;
  for (size_t i = 0; i < pieces; ++i) {
    if (rng() % 8 == 0) {
      text += static_cast<wchar_t>(rng() % 0x10000);  // any UTF-16 unit, lone surrogates and NUL too
    } else {
      text += kPieces[rng() % kPieceCount];
    }
  }
  return text;
}

inline std::wstring Mutate(std::wstring text, std::mt19937& rng) {
  auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(rng() % n); };
  int steps = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < steps; ++i) {
    switch (rng() % 5) {
      case 0: text.resize(pick(text.size() + 1)); break;
      case 1: text.insert(pick(text.size() + 1), kPieces[rng() % kPieceCount]); break;
      case 2: text.erase(pick(text.size() + 1), pick(12)); break;
      case 3: {
        size_t at = pick(text.size() + 1);
        text.insert(pick(text.size() + 1), text.substr(at, pick(40)));
        break;
      }
      default:
        for (int k = 0; k < 3 && !text.empty(); ++k) text[pick(text.size())] = static_cast<wchar_t>(rng() % 0x80);
    }
  }
  return text;
}

}  // namespace markupfuzz
