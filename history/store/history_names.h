// Names of the clipboard history: its folder, files, descriptor keys and
// the watcher's window class and message. No other code spells them.
#pragma once

namespace history_names {

constexpr wchar_t kFolderName[] = L"ClipboardHistory";
constexpr wchar_t kDescriptorBase[] = L"quillora_cb";
constexpr wchar_t kDescriptorExtension[] = L".info";
constexpr wchar_t kDataBase[] = L"clipboard_history";
constexpr wchar_t kUnicodePrefix[] = L"Unicode_";

constexpr wchar_t kSection[] = L"Files";
constexpr wchar_t kKeyDataType[] = L"DataType";
constexpr wchar_t kKeyProtected[] = L"Protected";
constexpr wchar_t kKeyFile[] = L"File";  // followed by the index, from 0
// The capture time as a FILETIME in decimal: the files' creation time is not
// kept everywhere, so the loader prefers this key.
constexpr wchar_t kKeyCaptureTime[] = L"CaptureTime";

constexpr wchar_t kSpyWindowClass[] = L"ClipboardSpyWndHidden";
constexpr wchar_t kSpyNotifyMessage[] = L"{CC278AD4-3207-4aeb-B6BC-0342A5E6815D}";
constexpr unsigned kSpyTimerId = 101;

}  // namespace history_names

namespace history_names {

// Clipboard formats the history captures besides the standard ones.
constexpr wchar_t kBrindleFormat[] = L"Brindle Format";
constexpr wchar_t kRtfFormat[] = L"Rich Text Format";
constexpr wchar_t kHtmlFormat[] = L"HTML Format";
constexpr char kSourceUrlTag[] = "SourceURL:";

constexpr wchar_t kSaveLoadEvent[] = L"Local\\Quillora_SaveLoad_CH";
// Registered messages of the handler window: an item written by the save
// thread, the queue read by the load thread.
constexpr wchar_t kItemSavedMessage[] = L"{F762C94C-9D69-4a96-B8FD-7F53F4157D13}";
constexpr wchar_t kHistoryLoadedMessage[] = L"{278BB95C-BECC-4945-9CDF-98E5CDC69FEF}";

}  // namespace history_names
