// fastinfoset_reader.h: CFastInfosetReader builds a document's element tree from Fast Infoset
// bytes held in memory. It keeps names, attributes and text and reads past everything else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/fastinfoset_context.h"
#include "tessel16/fwd.h"

namespace Tessel16 {

class CFastInfosetReader {
public:
    CFastInfosetReader(const CFastInfosetContext& context, CXmlDocument* document);
    CFastInfosetReader(const CFastInfosetReader&) = delete;
    CFastInfosetReader& operator=(const CFastInfosetReader&) = delete;

    // False, touching nothing, when the document's input does not start like Fast Infoset;
    // true once the whole document is in the tree. Throws CTsException on malformed input.
    bool Parse();
    // True when `data` starts with the identification (optionally behind one of the nine
    // XML declarations) and at least one octet follows; `offset` is where it starts.
    static bool Recognise(const unsigned char* data, std::size_t length, std::size_t& offset);

private:
    struct QName {
        std::uint32_t prefix, namespaceName, localName;
        // The names interned in the document, filled when an element first uses the entry.
        const std::string* internedNamespace = nullptr;
        const std::string* internedLocal = nullptr;
    };
    // The dynamic tables, as strings; what the reader's vocabulary holds.
    struct Tables {
        std::vector<std::string> prefixes, namespaces, localNames, attributeValues, chunks;
        std::vector<QName> elementNames, attributeNames;
        std::uint32_t otherNCNames = 0, otherUris = 0, otherStrings = 0;
    };

    unsigned char Next();
    void Need(std::uint64_t count) const;
    const unsigned char* Take(std::uint64_t count);
    std::uint64_t LengthBit2(unsigned char b);
    std::uint64_t LengthBit5(unsigned char b);
    std::uint64_t LengthBit7(unsigned char b);
    std::uint32_t IndexBit2(unsigned char b, const char* message);
    std::uint32_t IndexBit3(unsigned char b);
    std::uint32_t IndexBit4(unsigned char b);
    std::uint32_t SequenceCount();

    void ReadOptionalComponents();
    void ReadInitialVocabulary();
    // Identifying string or index: a literal is appended to `table` (or, when the table is
    // full, kept in `spill`); `index` is its index, 0 for a spilled literal.
    const std::string& ReadIdentifying(std::vector<std::string>& table, std::string& spill,
                                       std::uint32_t& index, const char* name);
    void SkipIdentifying(std::uint32_t& counter);
    void SkipOctetStringBit2();
    // Non-identifying string starting on the first bit into `out` (OTHER STRING when
    // `table` is null).
    void ReadNonIdentifying(std::vector<std::string>* table, std::string& out);
    void ReadEncodedBit3(unsigned char b, std::string& out);
    void ReadEncodedBit5(unsigned char b, std::string& out);
    void Decode(int discriminant, std::uint32_t index, const unsigned char* data,
                std::uint64_t length, std::string& out, const char* badIndexMessage);
    void DecodeUtf8(const unsigned char* data, std::size_t length, std::string& out);
    void SkipProcessingInstruction();
    void SkipComment();
    // Returns true when the octet that ended the declaration also ended the document.
    bool SkipDocumentType(unsigned char b);
    void SkipEntityReference(unsigned char b);
    // Reads one element subtree starting at octet `b`; true when its last terminator also
    // ended the document.
    bool ReadElementTree(unsigned char b);
    // Reads an element's header and attributes; true when the attribute list ended the
    // element as well.
    bool StartElement(unsigned char b);
    struct NameRef {
        const std::string* namespaceName;
        const std::string* localName;
        QName* entry;  // the table entry when read by index, else null
    };
    // A qualified name whose first octet is `b`: literal when (b & literalMask) == literalMask.
    NameRef ReadQName(unsigned char b, std::vector<QName>& table, bool isElement);
    void ReadChunk(unsigned char b);
    const std::string& Lookup(const std::vector<std::string>& table, std::uint32_t index,
                              const char* name) const;

    const CFastInfosetContext& m_context;
    CXmlDocument* m_document;
    const unsigned char* m_p = nullptr;
    const unsigned char* m_end = nullptr;
    Tables m_tables;
    std::string m_value;
    std::string m_text;
    std::string m_spill[3];
    bool m_localIsUtf8 = true;
    bool m_hasRoot = false;
};

}  // namespace Tessel16
