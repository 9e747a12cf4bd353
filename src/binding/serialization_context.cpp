// serialization_context.cpp: the settings object: its two consistency rules, the indent
// check, the lazily created JSON and Fast Infoset sections, and the process-wide default.
#include "tessel16/serialization_context.h"

#include "binding/binding_messages.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/json_context.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

// Built when the library loads; it uses nothing that needs the version check.
CSerializationContext CSerializationContext::m_defaultContext;

CSerializationContext::CSerializationContext() = default;

CSerializationContext::CSerializationContext(const CSerializationContext& other) {
    CopySettings(other);
}

CSerializationContext& CSerializationContext::operator=(const CSerializationContext& other) {
    if (this != &other) CopySettings(other);
    return *this;
}

CSerializationContext::~CSerializationContext() {
    delete m_fiContext;
    delete m_jsonContext;
    if (m_additionalRootAttributes) m_additionalRootAttributes->Release();
}

// A copy gets sub-contexts of its own with the same settings (rather than fresh defaults),
// so copying a configured context keeps its JSON and Fast Infoset choices.
void CSerializationContext::CopySettings(const CSerializationContext& other) {
    CFastInfosetContext* fi =
        other.m_fiContext ? new CFastInfosetContext(*other.m_fiContext) : nullptr;
    CJsonContext* json = nullptr;
    try {
        json = other.m_jsonContext ? new CJsonContext(*other.m_jsonContext) : nullptr;
    } catch (...) {
        delete fi;
        throw;
    }
    delete m_fiContext;
    m_fiContext = fi;
    delete m_jsonContext;
    m_jsonContext = json;

    m_defaultNamespaceUri = other.m_defaultNamespaceUri;
    m_writeTypeAttribute = other.m_writeTypeAttribute;
    m_namespaceAliases = other.m_namespaceAliases;
    if (other.m_additionalRootAttributes) other.m_additionalRootAttributes->AddRef();
    if (m_additionalRootAttributes) m_additionalRootAttributes->Release();
    m_additionalRootAttributes = other.m_additionalRootAttributes;
    m_processingInstructions = other.m_processingInstructions;
    m_inLineSchema = other.m_inLineSchema;
    m_ignoreInvalidCollectionCounts = other.m_ignoreInvalidCollectionCounts;
    m_ignoreMissingChoice = other.m_ignoreMissingChoice;
    m_ignoreMissingMandatoryElements = other.m_ignoreMissingMandatoryElements;
    m_ignoreUnknownElements = other.m_ignoreUnknownElements;
    m_ignoreUnknownAttributes = other.m_ignoreUnknownAttributes;
    m_ignoreNamespaces = other.m_ignoreNamespaces;
    m_strictReading = other.m_strictReading;
    m_schemaType = other.m_schemaType;
    m_noOptionalAttributeDefaultOutput = other.m_noOptionalAttributeDefaultOutput;
    m_writeDefaultElementValues = other.m_writeDefaultElementValues;
    m_stripCData = other.m_stripCData;
    m_indentChars = other.m_indentChars;
    m_maxInflatedSize = other.m_maxInflatedSize;
    m_maxInflateRatio = other.m_maxInflateRatio;
    m_maxDepth = other.m_maxDepth;
    m_maxEntityAmplification = other.m_maxEntityAmplification;
}

void CSerializationContext::SetMaxEntityAmplification(float factor) {
    // expat itself refuses factors below 1; NaN fails the comparison too.
    if (!(factor >= 1.0f))
        throw CTsInvalidParamException(
            FormatString(detail::kMsgInvalidAmplification, static_cast<double>(factor)));
    m_maxEntityAmplification = factor;
}

CFastInfosetContext& CSerializationContext::GetFIContext() const {
    if (!m_fiContext) m_fiContext = new CFastInfosetContext;
    return *m_fiContext;
}

CJsonContext& CSerializationContext::GetJsonContext() const {
    if (!m_jsonContext) m_jsonContext = new CJsonContext;
    return *m_jsonContext;
}

void CSerializationContext::SetIgnoreMissingMandatoryElements(bool ignore) {
    if (ignore && m_ignoreUnknownElements)
        throw CTsInvalidStateException(detail::kMsgIgnoreMissingMandatory);
    m_ignoreMissingMandatoryElements = ignore;
}

void CSerializationContext::SetIgnoreUnknownElements(bool ignore) {
    if (ignore && m_ignoreMissingMandatoryElements)
        throw CTsInvalidStateException(detail::kMsgIgnoreUnknownElements);
    m_ignoreUnknownElements = ignore;
}

void CSerializationContext::SetIndentChars(const char* indent) {
    if (!indent) {
        m_indentChars.clear();
        return;
    }
    for (const char* p = indent; *p; ++p) {
        if (*p != ' ' && *p != '\t') throw CTsInvalidParamException(detail::kMsgIndentChars);
    }
    m_indentChars = indent;
}

CSerializationContext& CSerializationContext::GetDefaultContext() { return m_defaultContext; }

}  // namespace Tessel16
