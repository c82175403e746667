// Keys, values and texts of the editor's link and button controls.
#pragma once

namespace qlr_editor {

// The browser's link colours, "red,green,blue" in decimal.
constexpr const wchar_t* kAnchorColorKey = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr const wchar_t* kAnchorColorValue = L"Anchor Color";
constexpr const wchar_t* kAnchorColorVisitedValue = L"Anchor Color Visited";
constexpr size_t kAnchorColorMaxChars = 12;

constexpr const wchar_t* kMessageLinkPrefix = L"message:";
constexpr const wchar_t* kMailtoPrefix = L"mailto:";
constexpr const wchar_t* kCannotOpenLinkFormat = L"Cannot open [%s]\r\n%s";
constexpr const wchar_t* kEditorBoxCaption = L"Quillora : PhraseEditor";

// The hover-link button's notification to its parent (WM_NOTIFY code).
constexpr UINT kHoverLinkClickedCode = 0xB00;

}  // namespace qlr_editor
