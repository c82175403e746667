#include "phrases/insertion/insertion_request.h"

#include "foundation/ui/rich_edit_convert.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/macros/macro_rich.h"
#include "phrases/macros/macro_segments.h"

bool CQLRInsertRequest::BuildActions(CQLRActionList& list, const std::wstring& data) const {
  std::vector<CPhraseSegment> segments;
  SplitPhraseSegments(data, m_dataType != kRtf, segments);
  std::vector<CQLRPhrasePiece> pieces;
  pieces.reserve(segments.size());
  for (const CPhraseSegment& segment : segments)
    pieces.push_back({segment.kind == CPhraseSegment::kArgument, segment.text});

  const CQLRPieceExpander expand = [this](const std::wstring& piece, int* caretSteps) {
    std::wstring text = piece;
    if (m_dataType == kExec) return ExpandTextForWindow(m_target, text, m_selectedText, m_clipboardText);
    if (m_dataType == kRtf) {
      ExpandMacrosInRichEdit(text, m_selectedText, m_clipboardText, caretSteps, nullptr, m_locale,
                             GetHiddenRichEdit());
    } else {
      ExpandPhraseMacros(text, m_selectedText, m_clipboardText, caretSteps, nullptr, m_locale);
    }
    return text;
  };
  return BuildActionsFromPieces(list, pieces, expand);
}

bool CQLRInsertRequest::RunActions(CQLRActionList& list) const {
  if (list.Empty()) return false;
  HWND target = IsWindow(m_target) ? m_target : nullptr;
  // Each action reports its own failures; the others still run.
  for (size_t i = 0; i < list.Size(); ++i) list.At(i)->Execute(target);
  return true;
}

bool CQLRInsertRequest::BuildActionsFromPieces(CQLRActionList& list,
                                               const std::vector<CQLRPhrasePiece>& pieces,
                                               const CQLRPieceExpander& expand) const {
  if (m_dataType != kText && m_dataType != kRtf && m_dataType != kExec) return false;
  for (const CQLRPhrasePiece& piece : pieces) {
    if (piece.prompt) {
      list.Add(std::make_unique<CQLRAction_Prompt>(piece.text, m_locale, m_selectedText, pasteMethod));
      continue;
    }
    int caretSteps = 0;
    std::wstring text = expand(piece.text, &caretSteps);
    if (m_dataType == kExec) {
      list.Add(std::make_unique<CQLRAction_Exec>(std::move(text)));
    } else if (m_dataType == kRtf) {
      list.Add(std::make_unique<CQLRAction_Rtf>(std::move(text), caretSteps, m_locale));
    } else {
      list.Add(std::make_unique<CQLRAction_Text>(std::move(text), caretSteps, m_locale, pasteMethod));
    }
  }
  return true;
}
