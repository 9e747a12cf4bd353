// fastinfoset_context.h: CFastInfosetContext, the Fast Infoset section of the serialization
// settings: how each kind of value is encoded and which strings enter the indexing tables.
// The serialization context owns one and creates it on first use.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/export.h"
#include "tessel16/fastinfoset_vocabulary.h"
#include "tessel16/types.h"

namespace Tessel16 {

class TESSEL16_API CFastInfosetContext {
public:
    // How a value of one ItemType is encoded: kind 0 literal string, 1 restricted alphabet
    // (index 1 numeric, 2 date and time), 2 encoding algorithm (index 1..10).
    struct EncodedCharacterString {
        std::uint32_t kind = 0;
        std::uint32_t index = 0;
        bool operator==(const EncodedCharacterString& o) const {
            return kind == o.kind && index == o.index;
        }
        bool operator!=(const EncodedCharacterString& o) const { return !(*this == o); }
    };

    // One entry per ItemType value 0..28.
    static constexpr int kEncodingCount = 29;
    // The external vocabulary written when none is set.
    static constexpr const char* kDefaultExternalVocabularyURI =
        "urn:tessel16:fastinfoset:generated-vocabulary";

    CFastInfosetContext() = default;
    CFastInfosetContext(const CFastInfosetContext& other) = default;
    CFastInfosetContext& operator=(const CFastInfosetContext& other) = default;
    virtual ~CFastInfosetContext();

    // 0 UTF-8, 1 UTF-16BE for literal character strings.
    std::uint8_t GetDefaultStringEncoding() const { return m_defaultStringEncoding; }
    // The encoding of `type`; throws CTsException "Index %d is out of range, use 0 - %d"
    // for a value outside 0..28.
    EncodedCharacterString GetEncoding(int type) const;
    void SetEncoding(int type, const EncodedCharacterString& encoding);
    // Attribute values shorter than this enter the attribute-value table.
    std::uint32_t GetAttributeMaxAddLength() const { return m_attributeMaxAddLength; }
    void SetAttributeMaxAddLength(std::uint32_t length) { m_attributeMaxAddLength = length; }
    // Character chunks shorter than this enter the character-chunk table.
    std::uint32_t GetElementMaxAddLength() const { return m_elementMaxAddLength; }
    void SetElementMaxAddLength(std::uint32_t length) { m_elementMaxAddLength = length; }
    bool GetUseGeneratedVocabulary() const { return m_useGeneratedVocabulary; }
    void SetUseGeneratedVocabulary(bool use) { m_useGeneratedVocabulary = use; }
    // The vocabulary generated code fills; writers and readers start from a copy of it when
    // the generated vocabulary is in use.
    CFIVocabulary* GetVocabulary() { return &m_vocabulary; }
    const CFIVocabulary* GetVocabulary() const { return &m_vocabulary; }
    // Empty: the library's own URI is written (see kDefaultExternalVocabularyURI).
    std::string GetExternalVocabularyURI() const { return m_externalVocabularyUri; }
    void SetExternalVocabularyURI(const char* uri) { m_externalVocabularyUri = uri ? uri : ""; }
    // Binary encodings for numbers, booleans and binary data, restricted alphabets for
    // dates, times and decimals; everything else literal.
    void SetSuggestedValues();

private:
    std::uint8_t m_defaultStringEncoding = 0;
    EncodedCharacterString m_encodings[kEncodingCount] = {};
    std::uint32_t m_attributeMaxAddLength = 6;
    std::uint32_t m_elementMaxAddLength = 6;
    bool m_useGeneratedVocabulary = false;
    CFIVocabulary m_vocabulary;
    std::string m_externalVocabularyUri;
};

}  // namespace Tessel16
