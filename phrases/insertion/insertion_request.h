// One phrase insertion: the state of the target at the time of the request,
// and the running of the phrase's actions against it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "phrases/insertion/insertion_actions.h"

// One piece of a phrase: plain text, or the argument of a prompt macro.
struct CQLRPhrasePiece {
  bool prompt = false;
  std::wstring text;
};
// Expands the macros of one plain piece for the request's data type; sets
// the caret steps (from the end of the result) when the piece asks for them.
using CQLRPieceExpander = std::function<std::wstring(const std::wstring& piece, int* caretSteps)>;

class CQLRInsertRequest {
 public:
  enum DataType { kText = 0, kRtf = 1, kExec = 2 };

  CQLRInsertRequest(HWND target, LCID locale, std::wstring clipboardText, std::wstring selectedText,
                    int dataType)
      : m_target(target),
        m_clipboardText(std::move(clipboardText)),
        m_selectedText(std::move(selectedText)),
        m_dataType(dataType),
        m_locale(locale) {}

  // Cuts the phrase data at its prompt macros and builds the actions of the
  // pieces, their macros expanded for this request (RTF in the hidden rich
  // edit; command lines in the language of the target's keyboard layout).
  bool BuildActions(CQLRActionList& list, const std::wstring& data) const;

  // One action per piece, in order: a prompt for a prompt argument, else an
  // action of the data type on the expanded text. False (and no actions)
  // for an unknown data type.
  bool BuildActionsFromPieces(CQLRActionList& list, const std::vector<CQLRPhrasePiece>& pieces,
                              const CQLRPieceExpander& expand) const;

  // Runs every action in order against the target (null when it is no longer
  // a window: the text then goes to whatever has the focus). False for an
  // empty list.
  bool RunActions(CQLRActionList& list) const;

  // The user's paste-method settings; the program fills them in.
  CQLRPasteMethod pasteMethod;

  HWND GetTarget() const { return m_target; }
  const std::wstring& GetClipboardText() const { return m_clipboardText; }
  const std::wstring& GetSelectedText() const { return m_selectedText; }
  int GetDataType() const { return m_dataType; }
  LCID GetLocale() const { return m_locale; }

 private:
  HWND m_target;
  std::wstring m_clipboardText;
  std::wstring m_selectedText;
  int m_dataType;
  LCID m_locale;
};
