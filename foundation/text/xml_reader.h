// Reading an XML text into a TinyXML document with a bound on how deep
// elements nest. TinyXML's own parser descends once per element level, so a
// text of nothing but opening tags, from the network or from another
// process, would run the stack out. This reader keeps the open elements on a
// stack of its own and lets TinyXML read only the flat pieces (names,
// attributes, text, comments, declarations), so the tree comes out as
// TiXmlDocument::Parse builds it.
#pragma once
#include <tinyxml.h>

constexpr int kMaxXmlDepth = 200;

// Clears the document and reads the text into it. encoding is the one
// TiXmlDocument::Parse takes (TIXML_ENCODING_UNKNOWN: a byte-order mark or
// the declaration tells). False, with the document's error set, when the
// text is empty or malformed; what was read before the fault stays, as with
// TinyXML. An element deeper than maxDepth empties the document.
bool ParseXmlBounded(TiXmlDocument& document, const char* text, TiXmlEncoding encoding,
                     int maxDepth = kMaxXmlDepth);
