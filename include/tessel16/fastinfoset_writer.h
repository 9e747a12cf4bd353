// fastinfoset_writer.h: CFastInfosetWriter, the writer that produces a Fast Infoset (binary
// XML) document through the same operations the binding code uses for XML text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/export.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/fastinfoset_vocabulary.h"
#include "tessel16/xml_writer.h"

namespace Tessel16 {

class CBinaryStream;

class TESSEL16_API CFastInfosetWriter : public CXmlWriter {
public:
    // Neither the context nor the stream is owned; both must outlive the writer.
    CFastInfosetWriter(const CFastInfosetContext& context, CBinaryStream* stream);
    ~CFastInfosetWriter() override;

    // The optional XML declaration (0 none, 1..9), the identification and version octets and
    // the optional-components octet (with the external vocabulary when it is in use).
    void WriteHeader(FInfoDecl declaration);
    // Closes the document: FF when an element end is still pending, else F0.
    void WriteDocumentTerminator();

    void StartDocument() override;
    void EndDocument() override;
    void WriteComment(const std::string& text) override;
    void WriteProcessingInstruction(const std::string& text) override;
    void WriteInLineSchema(const std::string& text) override;
    void StartElement(const std::string& localName, const std::string& namespaceUri) override;
    void WriteText(const std::string& text, ItemType type, bool isDefaultValue) override;
    void EndElement() override;
    void AddAttribute(const std::string& localName, const std::string& namespaceUri,
                      const std::string& value, ItemType type) override;
    void AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                    ItemType type) override;
    void AddXsiNil() override;
    // The same octets as the three calls, without opening a context for the element, when
    // the element declares nothing; otherwise the three calls.
    void WriteSimpleElement(const std::string& localName, const std::string& namespaceUri,
                            const std::string& text, ItemType type, bool isDefaultValue) override;

    // The declaration text of `declaration` (1..9), or "" for 0 and other values.
    static const char* GetDeclaration(int declaration);

private:
    // Recently written qualified names and their indices, looked up by comparison before the
    // vocabulary's hash map: documents repeat a few names over and over.
    struct CachedName {
        std::string prefix, namespaceUri, localName;
        std::uint32_t index = 0;
    };
    static constexpr std::size_t kNameCacheSize = 64;
    struct PendingAttribute {
        std::string localName, namespaceUri, value;
        ItemType type;
    };

    void Put(unsigned char octet) { m_out.push_back(static_cast<char>(octet)); }
    void FlushOutput();
    void WritePendingTerminator();
    // Writes the pending element's header with the attributes collected for it.
    void Flush();
    void CloseStartTag();
    void QueueAttribute(const std::string& localName, const std::string& namespaceUri,
                        const std::string& value, ItemType type);
    const std::string& PrefixFor(const std::string& namespaceUri);
    void WriteIdentifying(const std::string& s, bool isPrefix);
    // One part of a literal qualified name (table 0 prefix, 1 namespace, 2 local name);
    // returns its index.
    std::uint32_t WriteNamePart(const std::string& s, int table);
    void WriteElementName(const std::string& prefix, const std::string& namespaceUri,
                          const std::string& localName, unsigned char firstBits);
    void WriteAttribute(const PendingAttribute& attribute);
    static CachedName& CacheSlot(CachedName* cache, const std::string& namespaceUri,
                                 const std::string& localName);
    void WriteAttributeValue(const std::string& value, ItemType type);
    void WriteChunk(const std::string& text, ItemType type);
    // The encoded character string after a first octet whose bits 1-2 (third-bit position)
    // or 1-4 (fifth-bit position) are given.
    void WriteEncoded(const std::string& text, ItemType type, unsigned char first, bool onBit5);
    void WriteOctets(const unsigned char* data, std::size_t length, unsigned char first,
                     bool onBit5);

    const CFastInfosetContext& m_context;
    CBinaryStream* m_stream;
    CFIVocabulary m_vocabulary;
    std::string m_out;
    bool m_pending = false;
    bool m_pendingTerminator = false;
    bool m_localIsUtf8 = true;
    // Per open element: whether its header carries attributes; index = depth.
    std::vector<char> m_hasAttributes;
    std::vector<PendingAttribute> m_attributes;
    std::size_t m_attributeCount = 0;
    // Bindings made for the pending element, declared on it: (prefix, namespace).
    std::vector<std::pair<std::string, std::string>> m_declarations;
    CachedName m_elementNameCache[kNameCacheSize];
    CachedName m_attributeNameCache[kNameCacheSize];
    std::string m_key;
    std::string m_scratch;
};

}  // namespace Tessel16
