// xml_generated_class.cpp: the writing half of the generated-class engine, the class record
// and the metadata helpers generated code calls. Writing walks the class's records: the start
// tag with the root's extras, xsi:type and the attributes, then the members in group order,
// then simple content. Reading lives in xml_generated_class_read.cpp.
#include "tessel16/xml_generated_class.h"

#include <cstddef>
#include <limits>
#include <typeinfo>

#include "binding/engine_messages.h"
#include "binding/nillable.h"
#include "metadata/object_bridge.h"
#include "tessel16/attribute.h"
#include "tessel16/attribute_info.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_writer.h"

namespace Tessel16Data {

CParentElementInfo::CParentElementInfo(XmlElementGroupType groupType, XmlElementType elementType,
                                       const char* elementName, const char* elementNamespace,
                                       bool failIfAttributeUnknown, bool hasBaseClasses,
                                       int primitiveValuePropertyIndex,
                                       Tessel16::ItemType primitiveDataType,
                                       const char* primitiveFormatOverride,
                                       bool outputPrimitiveClassAsTextProperty)
    : m_groupType(groupType),
      m_elementType(elementType),
      m_elementName(elementName ? elementName : ""),
      m_elementNamespace(elementNamespace ? elementNamespace : ""),
      m_failIfAttributeUnknown(failIfAttributeUnknown),
      m_hasBaseClasses(hasBaseClasses),
      m_primitiveValuePropertyIndex(primitiveValuePropertyIndex),
      m_primitiveDataType(primitiveDataType),
      m_primitiveFormatOverride(primitiveFormatOverride ? primitiveFormatOverride : ""),
      m_outputPrimitiveClassAsTextProperty(outputPrimitiveClassAsTextProperty) {}

CParentElementInfo::CParentElementInfo(const CParentElementInfo& other) = default;
CParentElementInfo& CParentElementInfo::operator=(const CParentElementInfo& other) = default;
CParentElementInfo::~CParentElementInfo() = default;

}  // namespace Tessel16Data

namespace Tessel16 {

using namespace Tessel16Data;
using namespace Tessel16::detail;

// The answer depends only on the object's class (and which base subobject `object` is), so
// the last few answers are kept per thread.
const INillable* detail::AsNillable(const CXmlGeneratedClass* object) {
    struct Answer {
        const std::type_info* type;
        std::ptrdiff_t fromTop;  // where `object` sits in the whole object
        std::ptrdiff_t offset;   // from `object` to its INillable part; kNotNillable for none
    };
    constexpr std::ptrdiff_t kNotNillable = std::numeric_limits<std::ptrdiff_t>::min();
    constexpr unsigned kAnswers = 4;
    thread_local Answer answers[kAnswers] = {};
    thread_local unsigned next = 0;
    const auto* self = reinterpret_cast<const char*>(object);
    const std::type_info* type = &typeid(*object);
    const std::ptrdiff_t fromTop =
        self - static_cast<const char*>(dynamic_cast<const void*>(object));
    for (const Answer& answer : answers) {
        if (answer.type != type || answer.fromTop != fromTop) continue;
        if (answer.offset == kNotNillable) return nullptr;
        return reinterpret_cast<const INillable*>(self + answer.offset);
    }
    const INillable* nillable = dynamic_cast<const INillable*>(object);
    answers[next++ % kAnswers] = {
        type, fromTop, nillable ? reinterpret_cast<const char*>(nillable) - self : kNotNillable};
    return nillable;
}

CTSCriticalSection CXmlGeneratedClass::m_csInit;

CXmlGeneratedClass::CXmlGeneratedClass() : CXmlObjectBase() {}
CXmlGeneratedClass::CXmlGeneratedClass(const CXmlGeneratedClass& other) : CXmlObjectBase(other) {}
CXmlGeneratedClass& CXmlGeneratedClass::operator=(const CXmlGeneratedClass& other) {
    CXmlObjectBase::operator=(other);
    return *this;
}
CXmlGeneratedClass::~CXmlGeneratedClass() = default;

void CXmlGeneratedClass::CleanMetaData(CParentElementInfo*& classInfo, CElementInfo**& elements,
                                       CAttributeInfo**& attributes) {
    delete classInfo;
    classInfo = nullptr;
    if (elements) {
        for (CElementInfo** entry = elements; *entry; ++entry) {
            delete *entry;
            *entry = nullptr;
        }
        delete[] elements;
        elements = nullptr;
    }
    if (attributes) {
        for (CAttributeInfo** entry = attributes; *entry; ++entry) {
            delete *entry;
            *entry = nullptr;
        }
        delete[] attributes;
        attributes = nullptr;
    }
}

bool CXmlGeneratedClass::SetMemberFromText(int, const std::string&,
                                           CWhitespaceUtils::WhitespaceRule) {
    return false;
}

void CXmlGeneratedClass::ReadProperty(int propertyIndex, TsVariant& value) const {
    // The accessor serves both directions; a get does not change the object.
    const_cast<CXmlGeneratedClass*>(this)->InvokeProperty(propertyIndex, true, value);
}

bool CXmlGeneratedClass::IsElementInList(const CSerializationContext& context,
                                         CXmlElement* element) const {
    CElementInfo** records = GetClassElementInfo();
    if (!records) return false;
    for (CElementInfo** record = records; *record; ++record) {
        if ((*record)->IsThisElement(context, element)) return true;
    }
    return false;
}

int CXmlGeneratedClass::GetClassElementInfoCount() const {
    CElementInfo** records = GetClassElementInfo();
    int count = 0;
    if (records) {
        while (records[count]) ++count;
    }
    return count;
}

bool CXmlGeneratedClass::DoesElementContainOptionalElements() const {
    CElementInfo** records = GetClassElementInfo();
    if (!records) return false;
    for (CElementInfo** entry = records; *entry; ++entry) {
        const CElementInfo* record = *entry;
        const bool choiceCollection = dynamic_cast<const CElementInfoChoicePrimCol*>(record) ||
                                      dynamic_cast<const CElementInfoChoiceClsCol*>(record) ||
                                      dynamic_cast<const CElementInfoChoiceAbsClsCol*>(record) ||
                                      dynamic_cast<const CElementInfoChoiceEnumCol*>(record) ||
                                      dynamic_cast<const CElementInfoChoiceUntpdCol*>(record);
        if (choiceCollection) {
            TsVariant value;
            ReadProperty(record->GetPropertyIndex(), value);
            CXmlCollectionBase* collection = RawPtr(value.GetXmlCollection());
            if (collection && collection->GetMinOccurs() == 0) return true;
            continue;
        }
        if (dynamic_cast<const CElementInfoChoicePrimOpt*>(record) ||
            dynamic_cast<const CElementInfoChoiceClsOpt*>(record) ||
            dynamic_cast<const CElementInfoChoiceAbsClsOpt*>(record) ||
            dynamic_cast<const CElementInfoChoiceEnumOpt*>(record) ||
            dynamic_cast<const CElementInfoChoiceUntpdOpt*>(record)) {
            return true;
        }
    }
    return false;
}

void CXmlGeneratedClass::ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                                   const CSerializationContext& context, bool inChoice) const {
    const CParentElementInfo* info = GetClassInfo();
    const bool ownTag = info->GetElementType() == XmlElementType_Element;
    if (ownTag) {
        if (isRoot) {
            for (const std::string& instruction : context.GetProcessingInstructions()) {
                writer->WriteProcessingInstruction(instruction);
            }
            const CNamespaceAliasMap& aliases = context.GetNamespaceAliases();
            for (int i = 0; i < aliases.GetNamespaceCount(); ++i) {
                const std::string ns = aliases.GetNamespaceAt(i);
                writer->AddNamespaceAlias(aliases.GetAliasFromNamespace(ns.c_str()), ns);
            }
            const std::string defaultNamespace = context.GetDefaultNamespaceURI();
            if (!defaultNamespace.empty()) writer->SetDefaultNamespace(defaultNamespace);
        }
        writer->StartElement(GetElementName(), namespaceUri ? namespaceUri : "");
        if (isRoot) {
            // The collection is made on first use, like the context's other lazy parts.
            CSmartPtr<CAttributeCol> extra = context.GetAdditionalRootAttributes();
            CXmlObjectBase::ToXml_Int(extra.get(), writer, false, namespaceUri, context, inChoice);
        }
        AttributesToXml_Int(writer, context);
        if (isRoot) {
            const std::string schema = context.GetInLineSchema();
            if (!schema.empty()) writer->WriteInLineSchema(schema);
        }
    }

    const INillable* nillable = AsNillable(this);
    if (nillable && nillable->IsNil()) {
        writer->AddXsiNil();
    } else {
        CElementInfo** records = GetClassElementInfo();
        switch (info->GetElementGroupType()) {
            case XmlElementGroupType_Sequence:
            case XmlElementGroupType_All:
                ProcessElementAllToXml(context, records, writer);
                break;
            case XmlElementGroupType_Choice:
                ProcessElementChoiceToXml(context, records, writer, inChoice);
                break;
            default:
                throw CTsException(kMsgUnknownXmlGroupType);
        }

        if (info->GetPrimitiveValuePropertyIndex() != -1 &&
            info->GetPrimitiveDataType() != ItemType_none) {
            TsVariant value;
            ReadProperty(info->GetPrimitiveValuePropertyIndex(), value);
            if (value.IsNil()) {
                writer->AddXsiNil();
            } else {
                writer->WriteText(value.ToString(info->GetPrimitiveFormatOverride().c_str()),
                                  value.GetTypeAsEnum(), false);
            }
        }
    }

    if (ownTag) writer->EndElement();
}

void CXmlGeneratedClass::AttributesToXml_Int(CXmlWriter* writer,
                                             const CSerializationContext& context) const {
    const CParentElementInfo* info = GetClassInfo();
    // A derived class written under its base's element name says which type it is.
    if (context.GetWriteTypeAttribute() && info->GetHasBaseClasses() &&
        GetElementName() != info->GetElementName()) {
        writer->AddXsiType(info->GetElementNamespace(), info->GetElementName(), ItemType_string);
    }
    ProcessAttributesToXml(context, GetClassElementInfo(), GetClassAttributeInfo(), writer);
}

void CXmlGeneratedClass::ProcessAttributesToXml(const CSerializationContext& context,
                                                CElementInfo** elements,
                                                CAttributeInfo** attributes,
                                                CXmlWriter* writer) const {
    if (attributes) {
        for (CAttributeInfo** record = attributes; *record; ++record) {
            (*record)->AttributeToXml(context, this, writer);
        }
    }
    if (elements) {
        for (CElementInfo** record = elements; *record; ++record) {
            (*record)->PseudoChildAttributeToXml(context, this, writer);
        }
    }
}

void CXmlGeneratedClass::ProcessElementAllToXml(const CSerializationContext& context,
                                                CElementInfo** elements, CXmlWriter* writer) const {
    // An all group is written in schema order, like a sequence.
    if (!elements) return;
    for (CElementInfo** record = elements; *record; ++record) {
        (*record)->ElementToXml(context, this, writer);
    }
}

void CXmlGeneratedClass::ProcessElementChoiceToXml(const CSerializationContext& context,
                                                   CElementInfo** elements, CXmlWriter* writer,
                                                   bool inChoice) const {
    if (elements) {
        for (CElementInfo** record = elements; *record; ++record) {
            if ((*record)->ElementToXml(context, this, writer)) return;
        }
    }
    if (DoesElementContainOptionalElements() || inChoice || context.GetIgnoreMissingChoice()) {
        return;
    }
    throw CTsValidationException(kMsgChoiceNoneSet, "");
}

}  // namespace Tessel16
