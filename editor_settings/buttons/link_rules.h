// The rules of the editor's hyperlink control that need no window: the
// browser's link colours, the box of the link text, and what a click on a
// URL does.
#pragma once
#include <windows.h>

#include <string>

namespace qlr_editor {

// "red,green,blue" in decimal; each channel is its number's low byte.
// False (color untouched) for anything else.
bool ParseAnchorColor(const std::wstring& text, COLORREF* color);
// The overrides of the current user's browser settings; a value that is
// missing or does not parse leaves its colour as it is.
void ReadAnchorColors(COLORREF* link, COLORREF* visited);

// The box of a text of the given size inside a static control's client
// rectangle, aligned by the style's low two bits (0 left, 1 centred,
// 2 right) and centred vertically the way the control draws it.
RECT LinkTextBox(const RECT& client, SIZE text, DWORD style);

// "message:%d".
std::wstring MakeMessageLinkText(UINT message);
// True when url is a message link; *message is then the message to send,
// 0 when the number is missing, signed, followed by other text or zero.
bool ParseMessageLink(const std::wstring& url, UINT* message);
// What the shell opens for url: a mail address without a scheme gets
// "mailto:", everything else is opened as it is.
std::wstring LinkShellTarget(const std::wstring& url);

}  // namespace qlr_editor
