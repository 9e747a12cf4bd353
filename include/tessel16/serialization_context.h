// serialization_context.h: CSerializationContext, the settings passed by const reference to
// every read and write: leniency of reading, what writing adds, and the JSON and Fast
// Infoset sub-settings, created on first use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/namespace_alias_map.h"
#include "tessel16/smart_ptr.h"

namespace Tessel16 {

// Only SchemaType_NoNamespaces (2) is treated specially: names match by local name alone.
enum SchemaType : std::int32_t {
    SchemaType_Default = 0,
    SchemaType_Xsd = 1,
    SchemaType_NoNamespaces = 2
};

class TESSEL16_API CSerializationContext {
public:
    CSerializationContext();
    // Copies every setting; the additional root attributes are shared, not copied. Created
    // JSON and Fast Infoset sub-contexts are copied too, so each context owns its own.
    CSerializationContext(const CSerializationContext& other);
    CSerializationContext& operator=(const CSerializationContext& other);
    virtual ~CSerializationContext();

    // The Fast Infoset and JSON settings, created with their defaults on the first call and
    // kept; change them through the returned reference.
    CFastInfosetContext& GetFIContext() const;
    CJsonContext& GetJsonContext() const;

    std::string GetDefaultNamespaceURI() const { return m_defaultNamespaceUri; }
    void SetDefaultNamespaceURI(const char* uri) { m_defaultNamespaceUri = uri ? uri : ""; }
    bool GetWriteTypeAttribute() const { return m_writeTypeAttribute; }
    void SetWriteTypeAttribute(bool write) { m_writeTypeAttribute = write; }
    CNamespaceAliasMap& GetNamespaceAliases() { return m_namespaceAliases; }
    const CNamespaceAliasMap& GetNamespaceAliases() const { return m_namespaceAliases; }
    // Attributes written on the root element; the collection accepts any namespace and is
    // created on the first call. Writers see the context as const, so the const form creates
    // the collection too, like the lazy sub-contexts.
    CSmartPtr<CAttributeCol> GetAdditionalRootAttributes();
    CSmartPtr<CAttributeCol> GetAdditionalRootAttributes() const;
    // Complete processing instructions (delimiters included) written ahead of the root.
    std::vector<std::string>& GetProcessingInstructions() { return m_processingInstructions; }
    const std::vector<std::string>& GetProcessingInstructions() const {
        return m_processingInstructions;
    }
    std::string GetInLineSchema() const { return m_inLineSchema; }
    void SetInLineSchema(const char* schema) { m_inLineSchema = schema ? schema : ""; }

    bool GetIgnoreInvalidCollectionCounts() const { return m_ignoreInvalidCollectionCounts; }
    void SetIgnoreInvalidCollectionCounts(bool ignore) { m_ignoreInvalidCollectionCounts = ignore; }
    bool GetIgnoreMissingChoice() const { return m_ignoreMissingChoice; }
    void SetIgnoreMissingChoice(bool ignore) { m_ignoreMissingChoice = ignore; }
    bool GetIgnoreMissingMandatoryElements() const { return m_ignoreMissingMandatoryElements; }
    // Throws CTsInvalidStateException when turned on while unknown elements are ignored.
    void SetIgnoreMissingMandatoryElements(bool ignore);
    bool GetIgnoreUnknownElements() const { return m_ignoreUnknownElements; }
    // Throws CTsInvalidStateException when turned on while missing mandatory elements are
    // ignored.
    void SetIgnoreUnknownElements(bool ignore);
    bool GetIgnoreUnknownAttributes() const { return m_ignoreUnknownAttributes; }
    void SetIgnoreUnknownAttributes(bool ignore) { m_ignoreUnknownAttributes = ignore; }
    // True when the switch is on or the schema type is SchemaType_NoNamespaces.
    bool GetIgnoreNamespaces() const {
        return m_ignoreNamespaces || m_schemaType == SchemaType_NoNamespaces;
    }
    void SetIgnoreNamespaces(bool ignore) { m_ignoreNamespaces = ignore; }
    // Strict reading (off by default): readers enforce the schema instead of the lenient
    // rules: facets, enumeration text, the root element's name and namespace, stray text in
    // element-only content, and exactly the XSD lexical space of each value kind.
    bool GetStrictReading() const { return m_strictReading; }
    void SetStrictReading(bool strict) { m_strictReading = strict; }
    SchemaType GetSchemaType() const { return m_schemaType; }
    void SetSchemaType(SchemaType type) { m_schemaType = type; }
    bool GetNoOptionalAttributeDefaultOutput() const { return m_noOptionalAttributeDefaultOutput; }
    void SetNoOptionalAttributeDefaultOutput(bool off) { m_noOptionalAttributeDefaultOutput = off; }
    bool GetWriteDefaultElementValues() const { return m_writeDefaultElementValues; }
    void SetWriteDefaultElementValues(bool write) { m_writeDefaultElementValues = write; }
    bool GetStripCDATA() const { return m_stripCData; }
    void SetStripCDATA(bool strip) { m_stripCData = strip; }
    std::string GetIndentChars() const { return m_indentChars; }
    // Null sets no indentation; anything but blanks and tabs throws
    // CTsInvalidParamException and keeps the previous value.
    void SetIndentChars(const char* indent);

    // Input limits. Every reader refuses input beyond them with a CTsException that names
    // the limit and the setter that raises it, so a hostile document costs bounded stack,
    // memory and time. The defaults suit ordinary documents; raise them for unusual ones.
    //
    // Compressed input may inflate to at most GetMaxInflateRatio() times its compressed size
    // (never less than 4 MiB) and never beyond GetMaxInflatedSize() bytes.
    std::uint64_t GetMaxInflatedSize() const { return m_maxInflatedSize; }
    void SetMaxInflatedSize(std::uint64_t bytes) { m_maxInflatedSize = bytes; }
    std::uint32_t GetMaxInflateRatio() const { return m_maxInflateRatio; }
    void SetMaxInflateRatio(std::uint32_t ratio) { m_maxInflateRatio = ratio; }
    // The deepest element nesting a parsed tree may have (the document element is level 1).
    std::uint32_t GetMaxDepth() const { return m_maxDepth; }
    void SetMaxDepth(std::uint32_t depth) { m_maxDepth = depth; }
    // How many times its own size a document may grow through entity references.
    float GetMaxEntityAmplification() const { return m_maxEntityAmplification; }
    // Values below 1 throw CTsInvalidParamException and keep the previous value.
    void SetMaxEntityAmplification(float factor);

    static constexpr std::uint64_t kDefaultMaxInflatedSize = std::uint64_t{1} << 30;
    static constexpr std::uint32_t kDefaultMaxInflateRatio = 200;
    static constexpr std::uint32_t kDefaultMaxDepth = 10000;
    static constexpr float kDefaultMaxEntityAmplification = 10.0f;

    // The process-wide default; changing it changes every later call that uses it.
    static CSerializationContext& GetDefaultContext();

private:
    void CopySettings(const CSerializationContext& other);

    mutable CFastInfosetContext* m_fiContext = nullptr;
    mutable CJsonContext* m_jsonContext = nullptr;
    std::string m_defaultNamespaceUri;
    bool m_writeTypeAttribute = true;
    CNamespaceAliasMap m_namespaceAliases;
    // Always a CAttributeCol; held through its base so this header needs no untyped types.
    mutable CXmlObjectBase* m_additionalRootAttributes = nullptr;
    std::vector<std::string> m_processingInstructions;
    std::string m_inLineSchema;
    bool m_ignoreInvalidCollectionCounts = false;
    bool m_ignoreMissingChoice = false;
    bool m_ignoreMissingMandatoryElements = false;
    bool m_ignoreUnknownElements = false;
    bool m_ignoreUnknownAttributes = false;
    bool m_ignoreNamespaces = false;
    bool m_strictReading = false;
    SchemaType m_schemaType = SchemaType_Default;
    bool m_noOptionalAttributeDefaultOutput = false;
    bool m_writeDefaultElementValues = false;
    bool m_stripCData = true;
    std::string m_indentChars = "\t";
    std::uint64_t m_maxInflatedSize = kDefaultMaxInflatedSize;
    std::uint32_t m_maxInflateRatio = kDefaultMaxInflateRatio;
    std::uint32_t m_maxDepth = kDefaultMaxDepth;
    float m_maxEntityAmplification = kDefaultMaxEntityAmplification;

    static CSerializationContext m_defaultContext;
};

}  // namespace Tessel16
