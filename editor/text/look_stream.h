// Gives a long range of a rich edit control its planned looks in one pass:
// the range is streamed in again as RTF that carries only the colours and
// boldness, so the control lays the text out once instead of once per
// coloured span. The caller keeps undo collection and the display paused.
#pragma once
#include <windows.h>

#include <string>

#include "editor/text/look_plan.h"

// True when the range plan.first..plan.End(), whose characters are text,
// now looks as planned with its characters, the caret and the scroll
// position unchanged. False when the range cannot take this road (an
// embedded object, control characters, formats other than colour and
// boldness varying inside it); nothing is changed then.
bool StreamLooks(HWND control, const LookPlan& plan, const std::wstring& text);

// Puts text into the empty control at the caret with the looks of plan
// (plan.first 0); true when the control then holds exactly text. False
// leaves the control with some text: the caller sets it the plain way.
bool StreamNewText(HWND control, const LookPlan& plan, const std::wstring& text);

// Empties the control as setting an empty text does, its long text taken
// out in pieces from the end. The caller keeps the display still
// (load_pause.h).
void EmptyInPieces(HWND control);

// The characters of from..to as the control holds them (a paragraph mark
// is one character); shorter when the control gives them otherwise.
std::wstring RangeText(HWND control, LONG from, LONG to);

// The RTF of text with the looks of plan (its fonts and sizes left to the
// control's format at the insertion point).
std::string LooksRtf(const LookPlan& plan, const std::wstring& text);
// The same for the characters begin..end of text (looks plan.looks[begin..end]).
std::string LooksRtfOf(const LookPlan& plan, const std::wstring& text, size_t begin, size_t end);
