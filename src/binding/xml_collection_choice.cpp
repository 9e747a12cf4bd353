// xml_collection_choice.cpp: reading a collection member of a choice group from generated
// code. Kept with the collections because it is the collection's reading and count check
// that decide whether the choice member was present.
#include "tessel16/xml_collection.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

void CXmlObjectBase::Choice_Read_Collection(CXmlCollectionBase* collection, CXmlElement* element,
                                            CXmlElement*& cursor, std::int32_t& count,
                                            const CSerializationContext& context) {
    // A choice holds one member; once one was read, further calls leave the cursor alone.
    if (count > 0) return;
    CXmlElement* next = CXmlObjectBase::FromXml_Int(collection, element, cursor, context);
    if (next != cursor) {
        cursor = next;
        collection->ValidateCount(context);
        ++count;
    }
}

}  // namespace Tessel16
