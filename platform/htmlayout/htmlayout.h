// The C interface of HTMLayout.dll: an HTML view window that holds one
// document, and the calls that find, read and change the document's elements.
//
// Element handles (HELEMENT) are borrowed: they stay valid while their
// document is loaded. A caller that keeps a handle across a reload takes a
// reference with HTMLayout_UseElement and gives it back with
// HTMLayout_UnuseElement; such a handle then reports HLDOM_PASSIVE_HANDLE
// (a detached element) instead of pointing at freed memory. A handle of an
// element that no longer exists reports HLDOM_INVALID_HANDLE.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* HELEMENT;
typedef const BYTE* HL_LPCBYTE;  // mingw has no LPCBYTE

// Results of the element calls.
typedef int HLDOM_RESULT;
#define HLDOM_OK 0
#define HLDOM_INVALID_HWND 1
#define HLDOM_INVALID_HANDLE 2
#define HLDOM_PASSIVE_HANDLE 3
#define HLDOM_INVALID_PARAMETER 4
#define HLDOM_OPERATION_FAILED 5

// Element state bits.
#define STATE_CHECKED 0x40
#define STATE_DISABLED 0x80

// Control types (HTMLayoutControlGetType).
#define CTL_NO 0
#define CTL_UNKNOWN 1
#define CTL_EDIT 2
#define CTL_NUMERIC 3
#define CTL_BUTTON 4
#define CTL_CHECKBOX 5
#define CTL_RADIO 6
#define CTL_HYPERLINK 7
#define CTL_PASSWORD 8
#define CTL_TEXTAREA 9

// A value read from a control. For T_STRING, d holds a pointer to a
// null-terminated wide string owned by the value: free it with ValueClear.
typedef struct VALUE {
  UINT t;
  UINT u;
  UINT64 d;
} VALUE;
#define T_UNDEFINED 0
#define T_NULL 1
#define T_BOOL 2
#define T_INT 3
#define T_STRING 5

// Notifications to the HTMLayoutSetCallback callback: uMsg is WM_NOTIFY,
// wParam the view's control id, lParam the notification record.
#define HLN_LOAD_DATA 0xB01
#define HLRT_DATA_HTML 0
#define HLRT_DATA_IMAGE 1
#define HLRT_DATA_STYLE 2
// What the callback answers to HLN_LOAD_DATA.
#define LOAD_OK 0
#define LOAD_DISCARD 1

typedef struct NMHL_LOAD_DATA {
  NMHDR hdr;           // hwndFrom = the view, code = HLN_LOAD_DATA
  LPCWSTR uri;         // resolved against the base URL; valid during the call
  LPVOID outData;      // the callback may point these at the data at once,
  DWORD outDataSize;   // or hand it over later with HTMLayoutDataReady
  UINT dataType;       // HLRT_DATA_*
  HELEMENT principal;  // the element that asks (the link element)
} NMHL_LOAD_DATA;

typedef LRESULT(CALLBACK* LPHTMLAYOUT_NOTIFY)(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                              LPVOID param);

// Event groups of HTMLayoutWindowAttachEventHandler and of the event procedure.
#define HANDLE_INITIALIZATION 0x0000
#define HANDLE_MOUSE 0x0001
#define HANDLE_KEY 0x0002
#define HANDLE_FOCUS 0x0004
#define HANDLE_SCROLL 0x0008
#define HANDLE_TIMER 0x0010
#define HANDLE_SIZE 0x0020
#define HANDLE_BEHAVIOR_EVENT 0x0100
#define HANDLE_ALL 0xFFFF

// Phase flags carried in the cmd of mouse and behaviour events.
#define SINKING 0x8000
#define HANDLED 0x10000

// Mouse events.
#define MOUSE_ENTER 0
#define MOUSE_LEAVE 1
#define MOUSE_MOVE 2
#define MOUSE_UP 3
#define MOUSE_DOWN 4
#define MOUSE_DCLICK 5
#define MOUSE_WHEEL 6
#define MAIN_MOUSE_BUTTON 1
#define PROP_MOUSE_BUTTON 2
#define MIDDLE_MOUSE_BUTTON 4

typedef struct MOUSE_PARAMS {
  UINT cmd;          // MOUSE_*, possibly with SINKING or HANDLED
  HELEMENT target;   // the element under the mouse
  POINT pos;         // in the target's coordinates
  POINT pos_document;
  UINT button_state; // *_MOUSE_BUTTON bits
  UINT alt_state;    // MK_CONTROL/MK_SHIFT style bits
} MOUSE_PARAMS;

// Behaviour events.
#define BUTTON_CLICK 0
#define BUTTON_PRESS 1
#define BUTTON_STATE_CHANGED 2
#define EDIT_VALUE_CHANGED 4
#define HYPERLINK_CLICK 0x80

typedef struct BEHAVIOR_EVENT_PARAMS {
  UINT cmd;           // the event, possibly with SINKING or HANDLED
  HELEMENT heTarget;  // the element that caused it
  HELEMENT he;        // the element that reports it
  UINT_PTR reason;
} BEHAVIOR_EVENT_PARAMS;

typedef struct KEY_PARAMS {
  UINT cmd;
  HELEMENT target;
  UINT key_code;
  UINT alt_state;
} KEY_PARAMS;

typedef struct FOCUS_PARAMS {
  UINT cmd;
  HELEMENT target;
  BOOL by_mouse_click;
  BOOL cancel;
} FOCUS_PARAMS;

#define BEHAVIOR_DETACH 0
#define BEHAVIOR_ATTACH 1
typedef struct INITIALIZATION_PARAMS {
  UINT cmd;
} INITIALIZATION_PARAMS;

// The event procedure: tag is the registration's tag, group one HANDLE_*
// group, params the group's record. TRUE means handled.
typedef BOOL(CALLBACK* LPELEMENT_EVENT_PROC)(LPVOID tag, HELEMENT he, UINT group, LPVOID params);

// Called for each element HTMLayoutVisitElements finds; TRUE stops the visit.
typedef BOOL(CALLBACK* HTMLayoutElementCallback)(HELEMENT he, LPVOID param);

LPCWSTR WINAPI HTMLayoutClassNameW(void);
BOOL WINAPI HTMLayoutLoadHtml(HWND hwnd, HL_LPCBYTE html, UINT size);
BOOL WINAPI HTMLayoutLoadHtmlEx(HWND hwnd, HL_LPCBYTE html, UINT size, LPCWSTR baseUrl);
VOID WINAPI HTMLayoutSetCallback(HWND hwnd, LPHTMLAYOUT_NOTIFY callback, LPVOID param);
BOOL WINAPI HTMLayoutDataReady(HWND hwnd, LPCWSTR uri, LPBYTE data, DWORD size);
HLDOM_RESULT WINAPI HTMLayoutWindowAttachEventHandler(HWND hwnd, LPELEMENT_EVENT_PROC proc,
                                                      LPVOID tag, UINT groups);

HLDOM_RESULT WINAPI HTMLayoutGetRootElement(HWND hwnd, HELEMENT* root);
// Visits he and its descendants down to depth levels (0: all) whose tag is
// tagName (null: any) and that carry attribute attrName (null: any element)
// with the value attrValue (null: any value).
HLDOM_RESULT WINAPI HTMLayoutVisitElements(HELEMENT he, LPCSTR tagName, LPCSTR attrName,
                                           LPCWSTR attrValue, HTMLayoutElementCallback callback,
                                           LPVOID param, DWORD depth);
HLDOM_RESULT WINAPI HTMLayoutGetElementState(HELEMENT he, UINT* state);
HLDOM_RESULT WINAPI HTMLayoutSetElementState(HELEMENT he, UINT bitsToSet, UINT bitsToClear,
                                             BOOL updateView);
// A null name clears every run-time style of the element; a null value
// removes one.
HLDOM_RESULT WINAPI HTMLayoutSetStyleAttribute(HELEMENT he, LPCSTR name, LPCWSTR value);
// *value is null when the attribute is absent; the text stays valid until
// the attribute changes or the element goes.
HLDOM_RESULT WINAPI HTMLayoutGetAttributeByName(HELEMENT he, LPCSTR name, LPCWSTR* value);
// A null value removes the attribute.
HLDOM_RESULT WINAPI HTMLayoutSetAttributeByName(HELEMENT he, LPCSTR name, LPCWSTR value);
HLDOM_RESULT WINAPI HTMLayoutControlGetType(HELEMENT he, UINT* type);
// *value is overwritten: clear one that holds a string first.
HLDOM_RESULT WINAPI HTMLayoutControlGetValue(HELEMENT he, VALUE* value);
HLDOM_RESULT WINAPI HTMLayout_UseElement(HELEMENT he);
HLDOM_RESULT WINAPI HTMLayout_UnuseElement(HELEMENT he);

UINT WINAPI ValueInit(VALUE* value);
UINT WINAPI ValueClear(VALUE* value);
UINT WINAPI ValueCopy(VALUE* dst, const VALUE* src);

#ifdef __cplusplus
}
#endif
