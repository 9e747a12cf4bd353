// element_info_col.cpp: the records of repeated members. The collection writes and reads
// its items itself; the record decides when the count is checked: sequences on writing and
// reading, all groups only on writing, choices only on reading.
#include "metadata/object_bridge.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_generated_class.h"

namespace Tessel16Data {

using namespace Tessel16;
using namespace Tessel16::detail;

CElementInfoSeqCol::CElementInfoSeqCol(const char* elementName, const char* namespaceUri,
                                       int propertyIndex)
    : CElementInfo(elementName, namespaceUri, propertyIndex) {}

bool CElementInfoSeqCol::ElementToXml(const CSerializationContext& context,
                                      const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    if (!context.GetIgnoreInvalidCollectionCounts()) {
        TsVariant holder;
        CXmlCollectionBase* collection = GetMemberCollection(object, holder);
        if (collection) collection->ValidateCount(context);
    }
    return ElementToXmlCol(context, object, writer);
}

bool CElementInfoSeqCol::ElementFromXml(const CSerializationContext& context,
                                        CXmlGeneratedClass* object, CXmlElement* parent,
                                        CXmlElement** cursor, const char*,
                                        XmlElementType readMode) {
    return ReadCollectionMember(context, object, parent, cursor, readMode, true);
}

CElementInfoAllCol::CElementInfoAllCol(const char* elementName, const char* namespaceUri,
                                       int propertyIndex)
    : CElementInfo(elementName, namespaceUri, propertyIndex) {}

bool CElementInfoAllCol::ElementToXml(const CSerializationContext& context,
                                      const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    if (!context.GetIgnoreInvalidCollectionCounts()) {
        TsVariant holder;
        CXmlCollectionBase* collection = GetMemberCollection(object, holder);
        if (collection) collection->ValidateCount(context);
    }
    return ElementToXmlCol(context, object, writer);
}

bool CElementInfoAllCol::ElementFromXml(const CSerializationContext& context,
                                        CXmlGeneratedClass* object, CXmlElement* parent,
                                        CXmlElement** cursor, const char*,
                                        XmlElementType readMode) {
    // Reports false so that later passes over the all group offer it further items.
    return ReadCollectionMember(context, object, parent, cursor, readMode, false);
}

bool CElementInfoAllCol::Validate(const CSerializationContext& context,
                                  const CXmlGeneratedClass* object, bool, bool required) const {
    // The record never reports itself found, so its answer is the count of what the passes
    // collected: a bad count fails an ordinary element and rejects the group in a pseudo one.
    TsVariant holder;
    CXmlCollectionBase* collection = GetMemberCollection(object, holder);
    if (!collection) return true;
    if (required) {
        collection->ValidateCount(context);
        return true;
    }
    return collection->IsValidCount(context);
}

CElementInfoChoiceCol::CElementInfoChoiceCol(const char* elementName, const char* namespaceUri,
                                             int propertyIndex)
    : CElementInfo(elementName, namespaceUri, propertyIndex) {}

bool CElementInfoChoiceCol::ElementToXml(const CSerializationContext& context,
                                         const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    return ElementToXmlCol(context, object, writer);
}

bool CElementInfoChoiceCol::ElementFromXml(const CSerializationContext& context,
                                           CXmlGeneratedClass* object, CXmlElement* parent,
                                           CXmlElement** cursor, const char*,
                                           XmlElementType readMode) {
    // A choice offers the cursor to its members in turn, so a collection member that took
    // nothing is simply not the one chosen: its count is checked only once it took an item
    // (as CXmlObjectBase::Choice_Read_Collection does), or every later member would be
    // unreachable behind a collection whose minimum is 1.
    CXmlElement* const start = *cursor;
    TsVariant holder;
    ReadProperty(object, holder);
    CXmlCollectionBase* collection = RawPtr(holder.GetXmlCollection());
    if (!collection) return false;
    *cursor = FromXml_Int(collection, parent, *cursor, context, false);
    if (*cursor == start) return false;
    if (readMode == XmlElementType_Element) {
        collection->ValidateCount(context);
        return true;
    }
    return collection->IsValidCount(context);
}

#define TESSEL16_COLLECTION_KIND(Name, Base)                                         \
    Name::Name(const char* elementName, const char* namespaceUri, int propertyIndex) \
        : Base(elementName, namespaceUri, propertyIndex) {}

TESSEL16_COLLECTION_KIND(CElementInfoSeqEnumCol, CElementInfoSeqCol)
TESSEL16_COLLECTION_KIND(CElementInfoSeqPrimCol, CElementInfoSeqCol)
TESSEL16_COLLECTION_KIND(CElementInfoAllEnumCol, CElementInfoAllCol)
TESSEL16_COLLECTION_KIND(CElementInfoAllPrimCol, CElementInfoAllCol)
TESSEL16_COLLECTION_KIND(CElementInfoChoiceEnumCol, CElementInfoChoiceCol)
TESSEL16_COLLECTION_KIND(CElementInfoChoicePrimCol, CElementInfoChoiceCol)
#undef TESSEL16_COLLECTION_KIND

// The class collections differ only in their element type, which decides whether the items'
// attributes go onto the parent's tag.
#define TESSEL16_CLASS_COLLECTION(Name, Base)                                                  \
    Name::Name(const char* elementName, const char* namespaceUri, int propertyIndex,           \
               XmlElementType elementType)                                                     \
        : Base(elementName, namespaceUri, propertyIndex), m_elementType(elementType) {}        \
    void Name::PseudoChildAttributeToXml(const CSerializationContext& context,                 \
                                         const CXmlGeneratedClass* object, CXmlWriter* writer) \
        const {                                                                                \
        if (m_elementType == XmlElementType_Pseudo)                                            \
            MemberAttributesToXml(context, object, writer);                                    \
    }

TESSEL16_CLASS_COLLECTION(CElementInfoSeqAbsClsCol, CElementInfoSeqCol)
TESSEL16_CLASS_COLLECTION(CElementInfoSeqClsCol, CElementInfoSeqCol)
TESSEL16_CLASS_COLLECTION(CElementInfoAllAbsClsCol, CElementInfoAllCol)
TESSEL16_CLASS_COLLECTION(CElementInfoAllClsCol, CElementInfoAllCol)
TESSEL16_CLASS_COLLECTION(CElementInfoChoiceAbsClsCol, CElementInfoChoiceCol)
TESSEL16_CLASS_COLLECTION(CElementInfoChoiceClsCol, CElementInfoChoiceCol)
#undef TESSEL16_CLASS_COLLECTION

}  // namespace Tessel16Data
