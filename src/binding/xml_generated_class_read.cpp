// xml_generated_class_read.cpp: the reading half of the generated-class engine. An object
// fills itself from one parsed element: reset, take the element's name, the attributes (with
// xsi:nil), then the children by content model, then simple content. Each group decides what
// a missing, surplus or out-of-order child means under the context's ignore settings.
#include <strings.h>

#include <memory>
#include <vector>

#include "binding/engine_messages.h"
#include "binding/nillable.h"
#include "binding/strict_reading.h"
#include "tessel16/attribute_info.h"
#include "tessel16/element_info.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"
#include "xml/xml_stream.h"

namespace Tessel16 {

using namespace Tessel16Data;
using namespace Tessel16::detail;

namespace {

bool EqualsNoCase(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// A repeated untyped member (a wildcard collection among them) gathers elements by its
// namespace constraint rather than by name. Single untyped members are not in this: asked
// again, they would replace what they already hold.
bool IsUntypedCollectionRecord(const CElementInfo* record) {
    return dynamic_cast<const CElementInfoSeqUntpdCol*>(record) != nullptr;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\r") == std::string::npos;
}

// The stray text as a message shows it: without the blanks around it and, when long, cut
// to its start, so a message stays one readable line.
std::string StrayExcerpt(const std::string& text) {
    constexpr std::size_t kMaxShown = 40;
    const std::size_t first = text.find_first_not_of(" \t\n\r");
    const std::size_t last = text.find_last_not_of(" \t\n\r");
    std::string shown = text.substr(first, last - first + 1);
    if (shown.size() > kMaxShown) shown = shown.substr(0, kMaxShown) + "...";
    return shown;
}

// xsi:nil on the object's element sets or clears the object's nil state.
void ReadNilAttribute(const CXmlGeneratedClass* object, CXmlElement* element,
                      CXmlAttribute* attribute) {
    INillable* nillable = const_cast<INillable*>(AsNillable(object));
    if (!nillable) throw CTsValidationException(kMsgNilOnNonNillable, element->GetXPath());
    const std::string& value = attribute->GetValue();
    if (EqualsNoCase(value, "true") || value == "1") {
        nillable->SetNil(true);
    } else if (EqualsNoCase(value, "false") || value == "0") {
        nillable->SetNil(false);
    } else {
        throw CTsValidationException(FormatString(kMsgUnexpectedNilValue, value.c_str()),
                                     attribute->GetXPath());
    }
}

[[noreturn]] void ThrowElementsRemain(CXmlElement* element, CXmlElement* cursor) {
    throw CTsValidationException(FormatString(kMsgElementsRemain, element->GetLocalName().c_str(),
                                              cursor->GetLocalName().c_str()),
                                 element->GetXPath());
}

}  // namespace

CXmlElement* CXmlGeneratedClass::FromXml_Int(CXmlElement* element, CXmlElement* cursor,
                                             const CSerializationContext& context, bool inChoice) {
    if (!context.GetStrictReading()) return ReadElement(element, cursor, context, inChoice);
    try {
        return ReadElement(element, cursor, context, inChoice);
    } catch (const CTsException& error) {
        if (NamesLine(error)) throw;
        // The innermost object whose element the failure concerns gives it a place: its own
        // path, one of its attributes, or a child whose record had no line to give.
        const std::string path = element->GetXPath();
        const std::string& raised = error.GetPath();
        if (raised.empty() || raised == path) {
            const bool contentError = dynamic_cast<const CTsValidationException*>(&error) &&
                                      !dynamic_cast<const CTsInvalidValueException*>(&error);
            RethrowAt(error, *element, path,
                      contentError ? NamespaceMismatchNote(context, *element, GetClassElementInfo())
                                   : std::string());
        }
        if (raised.compare(0, path.size() + 2, path + "/@") == 0)
            RethrowAt(error, *element, raised);
        for (CXmlElement* child = element->GetFirstElement(); child;
             child = child->GetNextSiblingElement()) {
            if (child->GetXPath() == raised) RethrowAt(error, *child, raised);
        }
        throw;
    }
}

CXmlElement* CXmlGeneratedClass::ReadElement(CXmlElement* element, CXmlElement* cursor,
                                             const CSerializationContext& context, bool inChoice) {
    Init();
    const CParentElementInfo* info = GetClassInfo();
    if (info->GetElementType() == XmlElementType_Element) {
        SetElementName(element->GetLocalName().c_str());
    }
    ProcessAttributesFromXml(context, element, info->GetFromXmlFailIfAttributeUnknown());

    const INillable* nillable = AsNillable(this);
    if (nillable && nillable->IsNil()) return cursor;

    const XmlElementType readMode = info->GetElementType();
    switch (info->GetElementGroupType()) {
        case XmlElementGroupType_Sequence:
            cursor = ProcessElementSeqFromXml(context, element, cursor, readMode);
            break;
        case XmlElementGroupType_Choice:
            cursor = ProcessElementChoiceFromXml(context, element, cursor, readMode, inChoice);
            break;
        case XmlElementGroupType_All:
            cursor = ProcessElementAllFromXml(context, element, cursor, readMode);
            break;
        default:
            throw CTsException(kMsgUnknownGroupType);
    }

    const int valueIndex = info->GetPrimitiveValuePropertyIndex();
    const bool simpleContent = valueIndex != -1 && info->GetPrimitiveDataType() != ItemType_none;
    if (!simpleContent && context.GetStrictReading() && readMode == XmlElementType_Element &&
        !IsBlank(element->GetText())) {
        throw CTsValidationException(FormatString(kMsgStrayText, element->GetLocalName().c_str(),
                                                  StrayExcerpt(element->GetText()).c_str()),
                                     element->GetXPath());
    }
    if (simpleContent) {
        TsVariant value;
        if (info->GetOutputPrimitiveClassAsTextProperty()) {
            value.SetString(element->GetText());
        } else {
            value.FromString(element->GetText(), info->GetPrimitiveDataType(),
                             CWhitespaceUtils::WhitespaceRule_None, context.GetStrictReading());
        }
        value.SetDisposable();
        InvokeProperty(valueIndex, false, value);
    }
    return cursor;
}

void CXmlGeneratedClass::ProcessAttributesFromXml(const CSerializationContext& context,
                                                  CXmlElement* element, bool failIfUnknown) {
    CAttributeInfo** records = GetClassAttributeInfo();
    std::size_t recordCount = 0;
    if (records) {
        while (records[recordCount]) ++recordCount;
    }
    // A class without attribute records (a choice or sequence read as a pseudo element sees
    // its parent's attributes on every read) has only xsi:nil to look for, unless an unknown
    // attribute is an error.
    if (recordCount == 0 && (!failIfUnknown || context.GetIgnoreUnknownAttributes())) {
        for (CXmlAttribute* attribute : element->GetAttributes()) {
            if (attribute->IsNilAttribute() && !attribute->IsNamespaceAttribute())
                ReadNilAttribute(this, element, attribute);
        }
        return;
    }
    // Read once per element: the flags stay on the stack unless a class has very many
    // attributes.
    bool local[32] = {};
    std::unique_ptr<bool[]> spill(recordCount > 32 ? new bool[recordCount]() : nullptr);
    bool* const flags = spill ? spill.get() : local;
    auto found = [&](std::size_t i) -> bool { return flags[i]; };
    auto setFound = [&](std::size_t i) { flags[i] = true; };

    for (CXmlAttribute* attribute : element->GetAttributes()) {
        if (attribute->IsNamespaceAttribute()) continue;
        if (attribute->IsNilAttribute()) {
            ReadNilAttribute(this, element, attribute);
            continue;
        }
        bool taken = false;
        for (std::size_t i = 0; i < recordCount && !taken; ++i) {
            try {
                taken = records[i]->AttributeFromXml(context, this, attribute);
            } catch (const CTsException& error) {
                if (!context.GetStrictReading() || NamesLine(error)) throw;
                RethrowAt(error, *element, attribute->GetXPath());
            }
            if (taken) setFound(i);
        }
        if (!taken && failIfUnknown && !context.GetIgnoreUnknownAttributes()) {
            throw CTsValidationException(kMsgUnexpectedAttribute, attribute->GetXPath());
        }
    }

    for (std::size_t i = 0; i < recordCount; ++i) records[i]->Validate(context, found(i));
}

CXmlElement* CXmlGeneratedClass::SkipSurplusElements(const CSerializationContext& context,
                                                     CXmlElement* element, CXmlElement* cursor,
                                                     int recordCount, XmlElementType readMode) {
    CElementInfo** records = GetClassElementInfo();
    const std::string parentNamespace = GetNamespace();
    while (readMode == XmlElementType_Element && cursor) {
        if (!context.GetIgnoreUnknownElements()) ThrowElementsRemain(element, cursor);
        // The surplus element is passed over; the last member may still take a later element
        // (a repeated member split by unknown ones). A simple or class member is asked only
        // about an element that is its own, so that a mandatory last member does not hunt
        // through the surplus and report itself missing; a wildcard or untyped member judges
        // by its namespace constraint, so a repeated one is asked about every element.
        cursor = cursor->GetNextSiblingElement();
        if (cursor && recordCount > 0 &&
            (IsUntypedCollectionRecord(records[recordCount - 1]) ||
             records[recordCount - 1]->IsThisElement(context, cursor))) {
            records[recordCount - 1]->ElementFromXml(context, this, element, &cursor,
                                                     parentNamespace.c_str(), readMode);
        }
    }
    return cursor;
}

CXmlElement* CXmlGeneratedClass::ProcessElementSeqFromXml(const CSerializationContext& context,
                                                          CXmlElement* element, CXmlElement* cursor,
                                                          XmlElementType readMode) {
    // The record table ends in a null entry: walking to it counts the records on the way.
    CElementInfo** records = GetClassElementInfo();
    const std::string parentNamespace = GetNamespace();
    CXmlElement* const start = cursor;
    // The group may give up and hand back where it started.
    StreamPin pinStart(element, start);
    int count = 0;
    for (int i = 0; records && records[i]; count = ++i) {
        bool accepted = records[i]->ElementFromXml(context, this, element, &cursor,
                                                   parentNamespace.c_str(), readMode);
        while (!accepted) {
            // Without the ignore setting a record that does not fit means the sequence as a
            // whole does not match here: nothing counts as read.
            if (!context.GetIgnoreUnknownElements() || !cursor) return start;
            cursor = cursor->GetNextSiblingElement();
            accepted = records[i]->ElementFromXml(context, this, element, &cursor,
                                                  parentNamespace.c_str(), readMode);
        }
    }
    return SkipSurplusElements(context, element, cursor, count, readMode);
}

CXmlElement* CXmlGeneratedClass::ProcessElementAllFromXml(const CSerializationContext& context,
                                                          CXmlElement* element, CXmlElement* cursor,
                                                          XmlElementType readMode) {
    CElementInfo** records = GetClassElementInfo();
    const int count = GetClassElementInfoCount();
    const std::string parentNamespace = GetNamespace();
    CXmlElement* const start = cursor;
    StreamPin pinStart(element, start);
    std::vector<bool> found(static_cast<std::size_t>(count), false);

    // Members of an all group come in any order: offer the cursor to every record still
    // missing, and repeat while a pass made progress.
    bool moved = true;
    while (cursor && moved) {
        CXmlElement* before = cursor;
        StreamPin pinBefore(element, before);
        for (int i = 0; i < count; ++i) {
            if (found[static_cast<std::size_t>(i)]) continue;
            found[static_cast<std::size_t>(i)] = records[i]->ElementFromXml(
                context, this, element, &cursor, parentNamespace.c_str(), readMode);
        }
        moved = cursor != before;
    }

    for (int i = 0; i < count; ++i) {
        if (!records[i]->Validate(context, this, found[static_cast<std::size_t>(i)],
                                  readMode == XmlElementType_Element)) {
            return start;
        }
    }
    if (readMode == XmlElementType_Element && cursor) {
        // Unlike a sequence, surplus elements are left unread rather than skipped.
        if (context.GetIgnoreUnknownElements()) return cursor;
        ThrowElementsRemain(element, cursor);
    }
    return cursor;
}

CXmlElement* CXmlGeneratedClass::ProcessElementChoiceFromXml(const CSerializationContext& context,
                                                             CXmlElement* element,
                                                             CXmlElement* cursor,
                                                             XmlElementType readMode,
                                                             bool inChoice) {
    CElementInfo** records = GetClassElementInfo();
    const std::string parentNamespace = GetNamespace();
    CXmlElement* const start = cursor;
    StreamPin pinStart(element, start);

    bool found = false;
    for (;;) {
        for (int i = 0; records && records[i] && !found; ++i) {
            found = records[i]->ElementFromXml(context, this, element, &cursor,
                                               parentNamespace.c_str(), readMode);
        }
        if (found || readMode != XmlElementType_Element || !context.GetIgnoreUnknownElements() ||
            !cursor) {
            break;
        }
        cursor = cursor->GetNextSiblingElement();
        if (!cursor) break;
    }

    auto finish = [&]() -> CXmlElement* {
        if (readMode != XmlElementType_Element || !cursor) return cursor;
        if (context.GetIgnoreUnknownElements()) return cursor;
        ThrowElementsRemain(element, cursor);
    };

    if (found || inChoice) return finish();
    if (readMode == XmlElementType_Pseudo) {
        return context.GetIgnoreUnknownElements() ? start : cursor;
    }
    if (readMode == XmlElementType_Element) {
        if (DoesElementContainOptionalElements() || context.GetIgnoreMissingChoice()) {
            return finish();
        }
        throw CTsValidationException(
            FormatString(kMsgChoiceNothingRead, element->GetLocalName().c_str()),
            element->GetXPath());
    }
    return cursor;
}

}  // namespace Tessel16
