// Small helpers of the editor's windows: the file-type image list, keys,
// the phrase edit control's look, icons, the frame's status-text message,
// the language binding and tree scrolling.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

class CImageList;

// Process-wide, 18 x 18: closed folder, open folder, rich-text document,
// plain-text document, the program's icon 144. A missing icon leaves an
// empty image in its place, so the indices hold.
CImageList* GetFileTypeImageList();
enum FileTypeImage { kImageFolder, kImageFolderOpen, kImageRichText, kImagePlainText, kImageApp };
// Makes the list, asking the shell for its icons, on a thread of its own,
// so that the first GetFileTypeImageList finds it ready instead of waiting
// for the shell's first answers. Calls after the first do nothing.
void StartAskingForFileTypeIcons();
// Never waits for that thread: the list when it is made (or made here when
// no thread was started). While the thread still asks the shell, an empty
// list of the same image size, so rows keep their height and width when the
// icons come, and the window is posted GetFileTypeImagesReadyMessage() once
// the list is made; it then takes the list with GetFileTypeImageList.
CImageList* GetFileTypeImageListOrLater(HWND window);
UINT GetFileTypeImagesReadyMessage();
// The list's thread, once started, waits for the event before it asks the
// shell (the editor holds it while its frame is made). A caller of
// GetFileTypeImageList lets it go on at once.
void HoldFileTypeImagesUntil(HANDLE released);
// Adds the icon (null allowed; destroyed here) or, when it cannot be added,
// an image of the list's background, so later indices hold. Answers the
// index of the new image (-1 when not even that could be added).
int AddIconOrEmpty(CImageList& list, HICON icon);
// One fully transparent image of the list's size: its index, or -1.
int AddEmptyImage(CImageList& list);

// The key is held down (its toggle state aside).
bool IsKeyDown(int virtualKey);
// Font, options, margins and a top gap of the phrase text control.
void SetupPhraseEditControl(HWND richEdit);
// A 16 x 16 icon resource of the program (owned by the caller).
HICON LoadSmallAppIcon(UINT id);
// The plain text of RTF (plain text comes back as it was).
std::wstring RtfStringToPlainText(const std::wstring& text);
HINSTANCE GetAppInstanceHandle();

// "{3875692C-ED88-4395-98D9-42698D67B08A}": the main frame's status text.
UINT GetFrameNotifyMessage();
// Sends the status-text message to the main window; 0 without one.
LRESULT SendFrameNotify(LPARAM lParam);

// Binds the language file for every later string lookup of the process
// (missing texts written back) with the suffix on the string section.
bool BindLanguageFile(const std::wstring& lngPath, const std::wstring& sectionSuffix);

// Scrolls the item into view without moving the tree sideways.
void TreeEnsureVisibleKeepHScroll(HWND tree, HTREEITEM item);
