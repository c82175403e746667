#include "htmldraw/named_colors.h"

#include <algorithm>
#include <cwchar>

namespace {

struct StandardColor {
  const wchar_t* name;
  COLORREF color;
};

// Light grey is spelled with "e" only; the other greys with "a" only.
const StandardColor kStandardColors[] = {
  {L"aqua", RGB(0, 255, 255)}, {L"black", RGB(0, 0, 0)}, {L"blue", RGB(0, 0, 255)},
  {L"brown", RGB(165, 42, 42)}, {L"cyan", RGB(0, 255, 255)}, {L"gold", RGB(255, 215, 0)},
  {L"gray", RGB(128, 128, 128)}, {L"green", RGB(0, 128, 0)}, {L"magenta", RGB(255, 0, 255)},
  {L"maroon", RGB(128, 0, 0)}, {L"navy", RGB(0, 0, 128)}, {L"olive", RGB(128, 128, 0)},
  {L"orange", RGB(255, 165, 0)}, {L"pink", RGB(255, 192, 203)}, {L"purple", RGB(128, 0, 128)},
  {L"red", RGB(255, 0, 0)}, {L"silver", RGB(192, 192, 192)}, {L"snow", RGB(255, 250, 250)},
  {L"violet", RGB(238, 130, 238)}, {L"white", RGB(255, 255, 255)}, {L"yellow", RGB(255, 255, 0)},
  {L"aliceblue", RGB(240, 248, 255)}, {L"antiquewhite", RGB(250, 235, 215)},
  {L"aquamarine", RGB(127, 255, 212)}, {L"azure", RGB(240, 255, 255)},
  {L"beige", RGB(245, 245, 220)}, {L"bisque", RGB(255, 228, 196)},
  {L"blanchedalmond", RGB(255, 235, 205)}, {L"blueviolet", RGB(138, 43, 226)},
  {L"burlywood", RGB(222, 184, 135)}, {L"cadetblue", RGB(95, 158, 160)},
  {L"chartreuse", RGB(127, 255, 0)}, {L"chocolate", RGB(210, 105, 30)},
  {L"coral", RGB(255, 127, 80)}, {L"cornflowerblue", RGB(100, 149, 237)},
  {L"cornsilk", RGB(255, 248, 220)}, {L"crimson", RGB(220, 20, 60)}, {L"darkblue", RGB(0, 0, 139)},
  {L"darkcyan", RGB(0, 139, 139)}, {L"darkgoldenrod", RGB(184, 134, 11)},
  {L"darkgray", RGB(169, 169, 169)}, {L"darkgreen", RGB(0, 100, 0)},
  {L"darkkhaki", RGB(189, 183, 107)}, {L"darkmagenta", RGB(139, 0, 139)},
  {L"darkolivegreen", RGB(85, 107, 47)}, {L"darkorange", RGB(255, 140, 0)},
  {L"darkorchid", RGB(153, 50, 204)}, {L"darkred", RGB(139, 0, 0)},
  {L"darksalmon", RGB(233, 150, 122)}, {L"darkseagreen", RGB(143, 188, 143)},
  {L"darkslateblue", RGB(72, 61, 139)}, {L"darkslategray", RGB(47, 79, 79)},
  {L"darkturquoise", RGB(0, 206, 209)}, {L"darkviolet", RGB(148, 0, 211)},
  {L"deeppink", RGB(255, 20, 147)}, {L"deepskyblue", RGB(0, 191, 255)},
  {L"dimgray", RGB(105, 105, 105)}, {L"dodgerblue", RGB(30, 144, 255)},
  {L"firebrick", RGB(178, 34, 34)}, {L"floralwhite", RGB(255, 250, 240)},
  {L"forestgreen", RGB(34, 139, 34)}, {L"fuchsia", RGB(255, 0, 255)},
  {L"gainsboro", RGB(220, 220, 220)}, {L"ghostwhite", RGB(248, 248, 255)},
  {L"goldenrod", RGB(218, 165, 32)}, {L"greenyellow", RGB(173, 255, 47)},
  {L"honeydew", RGB(240, 255, 240)}, {L"hotpink", RGB(255, 105, 180)},
  {L"indianred", RGB(205, 92, 92)}, {L"indigo", RGB(75, 0, 130)}, {L"ivory", RGB(255, 255, 240)},
  {L"khaki", RGB(240, 230, 140)}, {L"lavender", RGB(230, 230, 250)},
  {L"lavenderblush", RGB(255, 240, 245)}, {L"lawngreen", RGB(124, 252, 0)},
  {L"lemonchiffon", RGB(255, 250, 205)}, {L"lightblue", RGB(173, 216, 230)},
  {L"lightcoral", RGB(240, 128, 128)}, {L"lightcyan", RGB(224, 255, 255)},
  {L"lightgoldenrodyellow", RGB(250, 250, 210)}, {L"lightgreen", RGB(144, 238, 144)},
  {L"lightgrey", RGB(211, 211, 211)}, {L"lightpink", RGB(255, 182, 193)},
  {L"lightsalmon", RGB(255, 160, 122)}, {L"lightseagreen", RGB(32, 178, 170)},
  {L"lightskyblue", RGB(135, 206, 250)}, {L"lightslategray", RGB(119, 136, 153)},
  {L"lightsteelblue", RGB(176, 196, 222)}, {L"lightyellow", RGB(255, 255, 224)},
  {L"lime", RGB(0, 255, 0)}, {L"limegreen", RGB(50, 205, 50)}, {L"linen", RGB(250, 240, 230)},
  {L"mediumaquamarine", RGB(102, 205, 170)}, {L"mediumblue", RGB(0, 0, 205)},
  {L"mediumorchid", RGB(186, 85, 211)}, {L"mediumpurple", RGB(147, 112, 219)},
  {L"mediumseagreen", RGB(60, 179, 113)}, {L"mediumslateblue", RGB(123, 104, 238)},
  {L"mediumspringgreen", RGB(0, 250, 154)}, {L"mediumturquoise", RGB(72, 209, 204)},
  {L"mediumvioletred", RGB(199, 21, 133)}, {L"midnightblue", RGB(25, 25, 112)},
  {L"mintcream", RGB(245, 255, 250)}, {L"mistyrose", RGB(255, 228, 225)},
  {L"moccasin", RGB(255, 228, 181)}, {L"navajowhite", RGB(255, 222, 173)},
  {L"oldlace", RGB(253, 245, 230)}, {L"olivedrab", RGB(107, 142, 35)},
  {L"orangered", RGB(255, 69, 0)}, {L"orchid", RGB(218, 112, 214)},
  {L"palegoldenrod", RGB(238, 232, 170)}, {L"palegreen", RGB(152, 251, 152)},
  {L"paleturquoise", RGB(175, 238, 238)}, {L"palevioletred", RGB(219, 112, 147)},
  {L"papayawhip", RGB(255, 239, 213)}, {L"peachpuff", RGB(255, 218, 185)},
  {L"peru", RGB(205, 133, 63)}, {L"plum", RGB(221, 160, 221)}, {L"powderblue", RGB(176, 224, 230)},
  {L"rosybrown", RGB(188, 143, 143)}, {L"royalblue", RGB(65, 105, 225)},
  {L"saddlebrown", RGB(139, 69, 19)}, {L"salmon", RGB(250, 128, 114)},
  {L"sandybrown", RGB(244, 164, 96)}, {L"seagreen", RGB(46, 139, 87)},
  {L"seashell", RGB(255, 245, 238)}, {L"sienna", RGB(160, 82, 45)},
  {L"skyblue", RGB(135, 206, 235)}, {L"slateblue", RGB(106, 90, 205)},
  {L"slategray", RGB(112, 128, 144)}, {L"springgreen", RGB(0, 255, 127)},
  {L"steelblue", RGB(70, 130, 180)}, {L"tan", RGB(210, 180, 140)}, {L"teal", RGB(0, 128, 128)},
  {L"thistle", RGB(216, 191, 216)}, {L"turquoise", RGB(64, 224, 208)},
  {L"wheat", RGB(245, 222, 179)}, {L"whitesmoke", RGB(245, 245, 245)},
  {L"yellowgreen", RGB(154, 205, 50)},
};

struct SystemColor {
  const wchar_t* name;
  int index;
};

const SystemColor kSystemColors[] = {
    {L"activeborder", COLOR_ACTIVEBORDER},       {L"activecaption", COLOR_ACTIVECAPTION},
    {L"appworkspace", COLOR_APPWORKSPACE},       {L"background", COLOR_BACKGROUND},
    {L"buttonface", COLOR_BTNFACE},              {L"buttonhighlight", COLOR_BTNHIGHLIGHT},
    {L"buttonshadow", COLOR_BTNSHADOW},          {L"buttontext", COLOR_BTNTEXT},
    {L"captiontext", COLOR_CAPTIONTEXT},         {L"graytext", COLOR_GRAYTEXT},
    {L"highlight", COLOR_HIGHLIGHT},             {L"highlighttext", COLOR_HIGHLIGHTTEXT},
    {L"inactiveborder", COLOR_INACTIVEBORDER},   {L"windowframe", COLOR_WINDOWFRAME},
    {L"inactivecaption", COLOR_INACTIVECAPTION}, {L"inactivecaptiontext", COLOR_INACTIVECAPTIONTEXT},
    {L"infobackground", COLOR_INFOBK},           {L"infotext", COLOR_INFOTEXT},
    {L"menu", COLOR_MENU},                       {L"menutext", COLOR_MENUTEXT},
    {L"scrollbar", COLOR_SCROLLBAR},             {L"threeddarkshadow", COLOR_3DDKSHADOW},
    {L"threedface", COLOR_3DFACE},               {L"threedhighlight", COLOR_3DHIGHLIGHT},
    {L"threedlightshadow", COLOR_3DLIGHT},       {L"threedshadow", COLOR_3DSHADOW},
    {L"window", COLOR_WINDOW},                   {L"windowtext", COLOR_WINDOWTEXT},
};

bool NameLess(const std::pair<const wchar_t*, COLORREF>& a, const std::pair<const wchar_t*, COLORREF>& b) {
  return wcscmp(a.first, b.first) < 0;
}

}  // namespace

NamedColorTable::NamedColorTable() {
  m_colors.reserve(sizeof(kStandardColors) / sizeof(kStandardColors[0]) +
                   sizeof(kSystemColors) / sizeof(kSystemColors[0]));
  for (const StandardColor& c : kStandardColors) m_colors.emplace_back(c.name, c.color);
  for (const SystemColor& c : kSystemColors) m_colors.emplace_back(c.name, GetSysColor(c.index));
  std::sort(m_colors.begin(), m_colors.end(), NameLess);
}

bool NamedColorTable::Find(const std::wstring& name, COLORREF& color) const {
  std::pair<const wchar_t*, COLORREF> key(name.c_str(), 0);
  auto it = std::lower_bound(m_colors.begin(), m_colors.end(), key, NameLess);
  if (it == m_colors.end() || wcscmp(it->first, name.c_str()) != 0 || wcslen(it->first) != name.size())
    return false;
  color = it->second;
  return true;
}
