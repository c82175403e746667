// The actions one phrase insertion runs against the target window: typing or
// pasting a text, pasting rich text in several formats, asking the user for
// a text, and running a command.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "phrases/insertion/clipboard_ops.h"

// How plain text reaches the target: the user's paste-method settings.
struct CQLRPasteMethod {
  int textPasteMethod = 0;  // 0 type, 2 type below the threshold, else paste
  unsigned printLTChars = 100;
};

bool ShouldTypeText(const std::wstring& text, const CQLRPasteMethod& method);

// Gives the window the keyboard focus from another thread; false when its
// thread is unknown or cannot be attached to.
bool FocusWindowOfOtherThread(HWND window);

class CQLRActionBase {
 public:
  explicit CQLRActionBase(std::wstring text) : m_text(std::move(text)) {}
  virtual ~CQLRActionBase() = default;
  virtual int Execute(HWND target) = 0;
  const std::wstring& GetText() const { return m_text; }

 protected:
  std::wstring m_text;
};

class CQLRAction_Exec : public CQLRActionBase {
 public:
  using CQLRActionBase::CQLRActionBase;
  int Execute(HWND target) override;
};

class CQLRAction_TextCommon : public CQLRActionBase {
 public:
  CQLRAction_TextCommon(std::wstring text, int caretSteps, LCID locale)
      : CQLRActionBase(std::move(text)), m_caretSteps(caretSteps), m_locale(locale) {}
  int GetCaretSteps() const { return m_caretSteps; }

  // Puts the text on the clipboard (as text only, or as RTF with its plain
  // text and locale) and, with paste, pastes it into the focused window and
  // moves the caret left by caretSteps.
  static bool MutiCopy_Impl(bool textOnly, const std::wstring& text, int caretSteps, LCID locale,
                            bool paste);

 protected:
  int m_caretSteps;
  LCID m_locale;
};

class CQLRAction_Text : public CQLRAction_TextCommon {
 public:
  CQLRAction_Text(std::wstring text, int caretSteps, LCID locale, const CQLRPasteMethod& method)
      : CQLRAction_TextCommon(std::move(text), caretSteps, locale), m_method(method) {}
  int Execute(HWND target) override;

 protected:
  int InsertText(HWND target, const std::wstring& text, int caretSteps);
  CQLRPasteMethod m_method;
};

// Asks for a text (the action's text is the question's initial answer) and
// inserts the answer like a text action; a cancelled or empty answer
// inserts nothing.
class CQLRAction_Prompt : public CQLRAction_Text {
 public:
  CQLRAction_Prompt(std::wstring argument, LCID locale, std::wstring selectedText,
                    const CQLRPasteMethod& method)
      : CQLRAction_Text(std::move(argument), 0, locale, method),
        m_selectedText(std::move(selectedText)) {}
  int Execute(HWND target) override;

 private:
  std::wstring m_selectedText;
  int m_flag = 0;
};

// Pastes a rich text in several formats at once.
class CQLRAction_Rtf : public CQLRAction_TextCommon {
 public:
  using CQLRAction_TextCommon::CQLRAction_TextCommon;
  int Execute(HWND target) override;
};

class CQLRActionList {
 public:
  void Add(std::unique_ptr<CQLRActionBase> action) { m_actions.push_back(std::move(action)); }
  void Clear() { m_actions.clear(); }
  bool Empty() const { return m_actions.empty(); }
  size_t Size() const { return m_actions.size(); }
  CQLRActionBase* At(size_t i) const { return m_actions[i].get(); }
  // The texts of all actions in list order.
  std::wstring JoinTexts() const;

 private:
  std::vector<std::unique_ptr<CQLRActionBase>> m_actions;
};

// The clipboard formats of a rich text: "Rich Text Format" as the RTF's
// 8-bit bytes with a terminating NUL (RTF is an 8-bit format, and readers
// stop at the NUL), CF_UNICODETEXT with its plain text unless that is empty,
// and CF_LOCALE unless the locale is 0.
ClipboardFormatTable BuildRtfFormatTable(const std::wstring& rtf, const std::wstring& plainText,
                                         LCID locale);
UINT GetRtfClipboardFormat();

// Inserts a clipboard-history text: onto the clipboard and pasted.
bool PasteTextViaClipboard(bool textOnly, const std::wstring& text, int caretSteps);
