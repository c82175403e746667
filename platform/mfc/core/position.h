// POSITION: an opaque place in one of the framework's lists (templates,
// documents, views). Null ends an iteration.
#pragma once
#include <cstddef>

struct QlrListPosition;
typedef QlrListPosition* POSITION;

// Places are indexes + 1, so that index 0 is not null.
inline POSITION QlrPositionOf(size_t index) { return reinterpret_cast<POSITION>(index + 1); }
inline size_t QlrIndexOf(POSITION pos) { return reinterpret_cast<size_t>(pos) - 1; }
