// xml_document.h: the parsed element tree that every reader builds (XML text, Fast Infoset,
// JSON through XML) and every FromXml_Int reads. Names and namespace URIs are interned in
// the document, so a node holds pointers to shared strings rather than copies of them; the
// public accessors still hand out plain const std::string references.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tessel16/binary_data.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/types.h"

namespace Tessel16 {

class CExpatReader;
class CFastInfosetReader;

namespace detail {
struct DocumentStore;
class XmlStream;
}

// One attribute of a parsed element: local name, namespace URI and value.
class TESSEL16_API CXmlAttribute : public CInstanceMonitor {
public:
    // Nodes belong to their document; a copy would share (and destroy) what it points to.
    CXmlAttribute(const CXmlAttribute&) = delete;
    CXmlAttribute& operator=(const CXmlAttribute&) = delete;

    const std::string& GetLocalName() const { return *m_localName; }
    // The value as the parser delivered it (entities resolved, attribute values normalised).
    const std::string& GetValue() const { return m_value; }
    // Empty for an attribute without prefix.
    const std::string& GetNamespaceURI() const { return *m_namespaceUri; }
    // True for the infrastructure attributes (xsi:type, xsi:schemaLocation,
    // xsi:noNamespaceSchemaLocation, xmlns) that readers skip when matching the schema.
    bool IsNamespaceAttribute() const;
    // True for xsi:nil.
    bool IsNilAttribute() const;
    // The owner's path, then "/@" and the (prefixed) name, e.g. /order/item[2]/@xsi:type.
    std::string GetXPath() const;

protected:
    // Interns both names in the owner's document.
    CXmlAttribute(const CXmlElement* owner, const std::string& localName, const std::string& value,
                  const std::string& namespaceUri);
    // Only the owning document destroys attributes (they live in its pools).
    virtual ~CXmlAttribute();

private:
    friend class CXmlElement;
    friend struct detail::DocumentStore;
    CXmlAttribute(const CXmlElement* owner, const std::string* localName,
                  const std::string* namespaceUri, const char* value, std::size_t valueLength)
        : CInstanceMonitor("CXmlAttribute"),
          m_owner(owner),
          m_localName(localName),
          m_value(value, valueLength),
          m_namespaceUri(namespaceUri) {}

    const CXmlElement* m_owner;
    const std::string* m_localName;
    std::string m_value;
    const std::string* m_namespaceUri;
};

// One element of the tree: names, attributes, concatenated text (carriage returns removed)
// and the list of child elements in document order.
class TESSEL16_API CXmlElement : public CInstanceMonitor {
public:
    CXmlElement(const CXmlElement&) = delete;
    CXmlElement& operator=(const CXmlElement&) = delete;

    const CXmlDocument* GetDocument() const { return m_document; }
    // Null for the document element.
    const CXmlElement* GetParentElm() const { return m_parent; }
    CXmlElement* GetFirstElement() { return m_firstChild; }
    const CXmlElement* GetFirstElement() const { return m_firstChild; }
    // While a bound read streams the document, the next child of the document element may
    // still have to be parsed: asking for it parses on until it is complete.
    CXmlElement* GetNextSiblingElement() { return m_streamFlags ? StreamNextSibling() : m_nextSibling; }
    const CXmlElement* GetNextSiblingElement() const {
        return m_streamFlags ? StreamNextSibling() : m_nextSibling;
    }
    const std::string& GetLocalName() const { return *m_localName; }
    // Empty when the element is in no namespace.
    const std::string& GetNamespaceURI() const { return *m_namespaceUri; }
    // All character data of the element, in order, without carriage returns.
    const std::string& GetText() const {
        if (m_streamFlags & kStreamRoot) CompleteStreamText();
        return m_text;
    }
    const std::vector<CXmlAttribute*>& GetAttributes() const {
        return m_attributes ? *m_attributes : s_noAttributes;
    }
    // The value of the first attribute with this local name and namespace URI, or a
    // reference to an empty string that lives as long as the process.
    const std::string& GetAttribute(const std::string& localName,
                                    const std::string& namespaceUri) const;
    // The XPath-like location of the element, e.g. /order/item[2]/price.
    std::string GetXPath() const;
    // The line of the element's start tag in the parsed text (from 1); 0 when the tree was
    // not built from XML text.
    std::uint32_t GetLineNumber() const { return m_line; }

protected:
    CXmlElement(const CXmlDocument* document, const CXmlElement* parent);
    // Destroys the attributes and, without recursion, the whole subtree. Only the owning
    // document destroys elements (they live in its pools).
    virtual ~CXmlElement();

    // Creates a child with the same document and appends it to the child list.
    CXmlElement* CreateNewChildElement();
    // Unlinks the last child and hands it to the caller (null when there is none); the
    // caller destroys it through CXmlDocument::DestroyElement.
    CXmlElement* RemoveLastChildElement();
    void SetElementName(const std::string& localName);
    void SetNamespace(const std::string& namespaceUri);
    void AddAttribute(const std::string& localName, const std::string& value,
                      const std::string& namespaceUri);
    void AppendText(const char* text);
    void AppendText(const char* text, int length);

private:
    friend class CXmlDocument;
    friend class CXmlAttribute;
    friend class CExpatReader;
    friend struct detail::DocumentStore;
    friend class detail::XmlStream;

    // Set only while a bound read streams the document (see detail::XmlStream).
    enum : std::uint8_t { kPullNext = 1, kGapAfter = 2, kStreamRoot = 4 };
    // The reader's: a named child, linked in after the parent's other children.
    CXmlElement(CXmlElement* parent, const std::string* localName,
                const std::string* namespaceUri) noexcept
        : CInstanceMonitor("CXmlElement"),
          m_document(parent->m_document),
          m_parent(parent),
          m_localName(localName),
          m_namespaceUri(namespaceUri) {
        (parent->m_lastChild ? parent->m_lastChild->m_nextSibling : parent->m_firstChild) = this;
        parent->m_lastChild = this;
    }
    CXmlElement* StreamNextSibling() const;
    void CompleteStreamText() const;

    std::string GetQName() const;
    std::string GetNameWithPredicate() const;
    // The list every element without attributes shares.
    // What elements without attributes show.
    static const std::vector<CXmlAttribute*> s_noAttributes;
    // Text often arrives from the parser in many small pieces; doubling the capacity keeps
    // the total cost of the appends linear. Inline because the parser calls it per piece.
    void AppendBytes(const char* text, std::size_t length) {
        std::size_t needed = m_text.size() + length;
        if (!m_text.empty() && needed > m_text.capacity())
            m_text.reserve(needed > m_text.capacity() * 2 ? needed : m_text.capacity() * 2);
        m_text.append(text, length);
    }

    const CXmlDocument* m_document;
    CXmlElement* m_parent;
    CXmlElement* m_nextSibling = nullptr;
    CXmlElement* m_firstChild = nullptr;
    CXmlElement* m_lastChild = nullptr;
    // Owned; null while the element has no attributes, which is most of them, so that
    // every other element is a list's worth of bytes smaller.
    std::vector<CXmlAttribute*>* m_attributes = nullptr;
    std::string m_text;
    const std::string* m_localName;
    const std::string* m_namespaceUri;
    std::uint32_t m_line = 0;
    std::uint8_t m_streamFlags = 0;
};

// The root of a parsed tree and the loader's state. A document owns its tree; loading
// again (or destroying the document) destroys the previous tree.
class TESSEL16_API CXmlDocument : public CInstanceMonitor {
public:
    // Called for every element whose end has been parsed, with its complete subtree;
    // returning true removes and destroys the element at once (never the document element).
    using ElementEndCallback = bool (*)(CXmlElement*);

    // Uses the process-wide default context.
    CXmlDocument();
    // Keeps a pointer to the context, which must outlive the document.
    explicit CXmlDocument(const CSerializationContext& context);
    explicit CXmlDocument(ElementEndCallback callback);
    CXmlDocument(ElementEndCallback callback, const CSerializationContext& context);
    virtual ~CXmlDocument();

    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // The root of the tree, null before a successful load.
    CXmlElement* GetDocumentElement() { return m_documentElement; }
    const CXmlElement* GetDocumentElement() const { return m_documentElement; }
    // The URI bound to the prefix anywhere in the document (the last binding wins), or "".
    std::string LookupNamespaceFromAlias(const char* prefix) const;
    // The first prefix, in prefix order, bound to the URI, or "".
    std::string LookupAliasFromNamespace(const char* namespaceUri) const;

    // Loads a file: read whole, or in 128 KiB chunks parsed as they arrive when
    // AsyncFromXmlFile(true). Throws CTsException on file and parse errors.
    void Load(const char* fileName);
    // Parses 8-bit text (its bytes, never decompressed). Throws "XML String is empty!".
    void LoadXml(const char* xml);
    // Parses 16-bit text as UTF-16; the byte-order mark put in front decides the encoding.
    void LoadXml(const unsigned short* xml);
    // Parses a byte block: gzip or zlib data is inflated first. Throws "XML Stream is empty!".
    void LoadXmlStream(unsigned char* const data, std::uint32_t length);
    // The JSON loads map JSON onto XML text and return that text as UTF-8 bytes; the tree
    // stays empty. Files and byte blocks may be gzip or zlib data and may start with a UTF-8
    // byte-order mark. Throw "JSON String is empty!" / "JSON Stream is empty!" for empty
    // input and CTsValidationException for malformed JSON.
    CBinaryData LoadJsonFile(const char* fileName);
    CBinaryData LoadJson(const char* json);
    // 16-bit text is taken as UTF-16.
    CBinaryData LoadJson(const unsigned short* json);
    CBinaryData LoadJsonStream(unsigned char* const data, std::uint32_t length);

protected:
    // Destroys the tree, frees the input and clears the prefix map and the open elements.
    virtual void Cleanup();

private:
    friend class CXmlElement;
    friend class CXmlAttribute;
    friend class CExpatReader;
    friend class CFastInfosetReader;
    friend class CXmlObjectBase;
    friend struct detail::DocumentStore;
    friend class detail::XmlStream;

    CXmlElement* AddDocElement(const char* namespaceUri, const char* localName);
    CXmlElement* AddChildElement(const char* namespaceUri, const char* localName);
    // The same for names already interned in this document (readers that cache them).
    CXmlElement* AddInternedElement(const std::string* namespaceUri, const std::string* localName);
    static void AddElementAttribute(CXmlElement* element, const std::string& localName,
                                    const std::string& value, const std::string& namespaceUri);
    static void AppendTextExcludingCR(CXmlElement* element, const char* text);
    static void AppendTextExcludingCR(CXmlElement* element, const char* text, std::size_t length);
    void EndElement();

    // Destroys an element that is no longer linked into the tree, with its subtree.
    void DestroyElement(CXmlElement* element) const;
    // Throws when the length does not fit the 32 bits a document's input may have.
    static void CheckInputLength(std::size_t length);
    [[noreturn]] void RefuseOutOfMemory();
    void SetInput(std::unique_ptr<unsigned char[]> data, std::size_t length);
    void BorrowInput(const unsigned char* data, std::size_t length);
    void ForgetBorrowedInput();
    void Parse();
    // forcedEncoding overrides the encoding the document declares (null: none).
    void ParseText(const char* forcedEncoding = nullptr);
    void LoadWhole(const char* fileName);
    // Inflates and decodes the input bytes (UTF-8) before mapping them.
    CBinaryData ParseJson();
    void LoadChunked(const char* fileName);

    const std::string* Intern(const char* text, std::size_t length) const;

    CXmlElement* m_documentElement = nullptr;
    std::vector<CXmlElement*> m_openElements;
    std::map<std::string, std::string> m_prefixes;
    // The bytes of the load in progress: either m_input or, for text and byte blocks that
    // need no inflating, the caller's own bytes, borrowed for the length of the call.
    const unsigned char* m_inputData = nullptr;
    std::uint32_t m_inputLength = 0;
    std::unique_ptr<unsigned char[]> m_input;
    std::int32_t m_schemaType = 0;
    ElementEndCallback m_callback = nullptr;
    const CSerializationContext* m_context;
    // Interned names and the node pools. Interning through a const document is not an
    // observable change of it, so the store is reachable from const members.
    std::unique_ptr<detail::DocumentStore> m_store;
    // Set by the bound-object entry points before loading: XML text is then parsed only up
    // to the first child of the document element, and the rest as binding asks for it.
    bool m_streamRequested = false;
    std::unique_ptr<detail::XmlStream> m_stream;
    // The JSON entry points load the mapped XML themselves and want it without indentation:
    // less to write and parse, and no indentation text in untyped content.
    bool m_compactJson = false;
    // The input is the library's own and made again for any second pass: a streamed parse
    // may give the pages it has finished with back to the system.
    bool m_discardInput = false;
};

}  // namespace Tessel16
