#include "foundation/text/xml_reader.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// TinyXML's own readers of names, blanks and prefixes.
class XmlLexer : public TiXmlBase {
 public:
  using TiXmlBase::IsAlpha;
  using TiXmlBase::ReadName;
  using TiXmlBase::SkipWhiteSpace;
  using TiXmlBase::StringEqual;
};

bool IsBlankText(const std::string& text) {
  for (char c : text) {
    if (!isspace(static_cast<unsigned char>(c)) && c != '\n' && c != '\r') return false;
  }
  return true;
}

// The node a "<" that opens no element starts, as TinyXML tells them apart.
TiXmlNode* NewFlatNode(const char* p, TiXmlEncoding encoding) {
  if (XmlLexer::StringEqual(p, "<?xml", true, encoding)) return new TiXmlDeclaration();
  if (XmlLexer::StringEqual(p, "<!--", false, encoding)) return new TiXmlComment();
  if (XmlLexer::StringEqual(p, "<![CDATA[", false, encoding)) {
    TiXmlText* text = new TiXmlText("");
    text->SetCDATA(true);
    return text;
  }
  return new TiXmlUnknown();
}

bool OpensElement(const char* p, TiXmlEncoding encoding) {
  if (XmlLexer::StringEqual(p, "<?xml", true, encoding) || XmlLexer::StringEqual(p, "<!", false, encoding))
    return false;
  return XmlLexer::IsAlpha(static_cast<unsigned char>(p[1]), encoding) || p[1] == '_';
}

class BoundedXmlReader {
 public:
  BoundedXmlReader(TiXmlDocument& document, TiXmlEncoding encoding, int maxDepth)
      : m_doc(document), m_encoding(encoding), m_maxDepth(maxDepth) {}

  bool Run(const char* text) {
    m_doc.Clear();
    m_doc.ClearError();
    if (!text || !*text) return Fail(TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY, nullptr);
    const unsigned char* u = reinterpret_cast<const unsigned char*>(text);
    if (m_encoding == TIXML_ENCODING_UNKNOWN && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF)
      m_encoding = TIXML_ENCODING_UTF8;
    const char* withBlanks = text;
    const char* p = XmlLexer::SkipWhiteSpace(text, m_encoding);
    while (p && *p) {
      if (*p != '<') {
        if (m_open.empty()) break;  // text after the last element ends the document
        p = ReadText(TiXmlBase::IsWhiteSpaceCondensed() ? p : withBlanks);
      } else if (!m_open.empty() && XmlLexer::StringEqual(p, "</", false, m_encoding)) {
        p = ReadEndTag(p);
      } else if (OpensElement(p, m_encoding)) {
        p = ReadStartTag(p);
      } else {
        p = ReadFlatNode(p);
      }
      if (!p) {
        // TinyXML ends a document quietly where a node at its top fails.
        if (m_open.empty()) break;
        return false;
      }
      withBlanks = p;
      p = XmlLexer::SkipWhiteSpace(p, m_encoding);
    }
    if (!m_open.empty()) return Fail(TiXmlBase::TIXML_ERROR_READING_END_TAG, p);
    if (!m_doc.FirstChild()) return Fail(TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY, nullptr);
    return !m_doc.Error();
  }

 private:
  TiXmlNode* Parent() { return m_open.empty() ? static_cast<TiXmlNode*>(&m_doc) : m_open.back(); }

  bool Fail(int code, const char* at) {
    m_doc.SetError(code, at, nullptr, m_encoding);
    return false;
  }

  const char* ReadText(const char* p) {
    TiXmlText* text = new TiXmlText("");
    p = text->Parse(p, nullptr, m_encoding);
    if (IsBlankText(text->ValueStr())) delete text;
    else Parent()->LinkEndChild(text);
    if (!p) Fail(TiXmlBase::TIXML_ERROR_READING_END_TAG, nullptr);
    return p;
  }

  const char* ReadEndTag(const char* p) {
    const std::string endTag = "</" + m_open.back()->ValueStr();
    if (!XmlLexer::StringEqual(p, endTag.c_str(), false, m_encoding)) {
      Fail(TiXmlBase::TIXML_ERROR_READING_END_TAG, p);
      return nullptr;
    }
    p = XmlLexer::SkipWhiteSpace(p + endTag.size(), m_encoding);
    if (!p || *p != '>') {
      Fail(TiXmlBase::TIXML_ERROR_READING_END_TAG, p);
      return nullptr;
    }
    m_open.pop_back();
    return p + 1;
  }

  // The element's name and attributes; it is open afterwards unless it
  // closed itself ("/>").
  const char* ReadStartTag(const char* p) {
    if (static_cast<int>(m_open.size()) >= m_maxDepth) {
      m_doc.Clear();
      Fail(TiXmlBase::TIXML_ERROR_PARSING_ELEMENT, p);
      return nullptr;
    }
    std::string name;
    p = XmlLexer::ReadName(XmlLexer::SkipWhiteSpace(p + 1, m_encoding), &name, m_encoding);
    if (!p || !*p) {
      Fail(TiXmlBase::TIXML_ERROR_FAILED_TO_READ_ELEMENT_NAME, p);
      return nullptr;
    }
    TiXmlElement* element = new TiXmlElement(name.c_str());
    Parent()->LinkEndChild(element);
    for (;;) {
      p = XmlLexer::SkipWhiteSpace(p, m_encoding);
      if (!p || !*p) {
        Fail(TiXmlBase::TIXML_ERROR_READING_ATTRIBUTES, p);
        return nullptr;
      }
      if (*p == '/') {
        if (p[1] != '>') {
          Fail(TiXmlBase::TIXML_ERROR_PARSING_EMPTY, p);
          return nullptr;
        }
        return p + 2;
      }
      if (*p == '>') {
        m_open.push_back(element);
        return p + 1;
      }
      TiXmlAttribute attribute;
      attribute.SetDocument(&m_doc);
      const char* at = p;
      p = attribute.Parse(p, nullptr, m_encoding);
      if (!p || !*p || element->Attribute(attribute.Name())) {
        Fail(TiXmlBase::TIXML_ERROR_PARSING_ELEMENT, at);
        return nullptr;
      }
      element->SetAttribute(attribute.NameTStr(), attribute.ValueStr());
    }
  }

  // Declarations, comments, CDATA and anything else TinyXML keeps unread.
  const char* ReadFlatNode(const char* p) {
    TiXmlNode* node = NewFlatNode(p, m_encoding);
    Parent()->LinkEndChild(node);  // first, so that the node reports its own faults
    p = node->Parse(p, nullptr, m_encoding);
    if (!p) {
      if (!m_open.empty()) Fail(TiXmlBase::TIXML_ERROR_READING_END_TAG, nullptr);
      return nullptr;
    }
    if (m_open.empty() && m_encoding == TIXML_ENCODING_UNKNOWN && node->ToDeclaration()) {
      const char* declared = node->ToDeclaration()->Encoding();
      const bool utf8 = !*declared || XmlLexer::StringEqual(declared, "UTF-8", true, TIXML_ENCODING_UNKNOWN) ||
                        XmlLexer::StringEqual(declared, "UTF8", true, TIXML_ENCODING_UNKNOWN);
      m_encoding = utf8 ? TIXML_ENCODING_UTF8 : TIXML_ENCODING_LEGACY;
    }
    return p;
  }

  TiXmlDocument& m_doc;
  TiXmlEncoding m_encoding;
  const int m_maxDepth;
  std::vector<TiXmlElement*> m_open;  // elements whose end tag is due
};

}  // namespace

bool ParseXmlBounded(TiXmlDocument& document, const char* text, TiXmlEncoding encoding, int maxDepth) {
  return BoundedXmlReader(document, encoding, maxDepth).Run(text);
}
