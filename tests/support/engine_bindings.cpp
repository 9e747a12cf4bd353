// engine_bindings.cpp: the metadata tables and accessors of the engine test classes, written
// the way generated code writes them.
#include "support/engine_bindings.h"

#include <cstring>

#include "metadata/object_bridge.h"
#include "tessel16/exception.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_writer.h"

namespace EngineTest {

using namespace Tessel16;
using namespace Tessel16Data;

const char* const kNs = "urn:t";

namespace {

const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const CWhitespaceUtils::WhitespaceRule kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;

CPrimitiveRestrictions NoFacets() { return CPrimitiveRestrictions(); }

CPrimitiveRestrictions MaxLength(int length) {
    return CPrimitiveRestrictions("", -1, length, "", "", "", "", -1, -1, -1);
}

template <class T>
T* MemberAs(TestObject* object, int index) {
    return dynamic_cast<T*>(detail::RawPtr(object->Member(index).GetXmlObject()));
}

template <class T>
T* CollectionAs(TestObject* object, int index) {
    return dynamic_cast<T*>(detail::RawPtr(object->Member(index).GetXmlCollection()));
}

}  // namespace

const char* ColorToString(int value) {
    switch (value) {
        case Color_red:
            return "red";
        case Color_green:
            return "green";
        case Color_blue:
            return "blue";
        default:
            return "";
    }
}

int ColorFromString(const char* text) {
    if (std::strcmp(text, "green") == 0) return Color_green;
    if (std::strcmp(text, "blue") == 0) return Color_blue;
    return Color_red;
}

TestObject::TestObject(int memberCount, const char* elementName, const char* namespaceUri)
    : m_members(static_cast<size_t>(memberCount)), m_namespace(namespaceUri) {
    SetElementName(elementName);
}

CAttributeInfo** TestObject::GetClassAttributeInfo() const {
    static CAttributeInfo* none[] = {nullptr};
    return none;
}

CParentElementInfo* NewClassInfo(XmlElementGroupType group, const char* name, bool hasBaseClasses,
                                 int valueIndex, ItemType valueType) {
    return new CParentElementInfo(group, XmlElementType_Element, name, kNs, true, hasBaseClasses,
                                  valueIndex, valueType, nullptr, false);
}

void TestObject::ResetMembers() {
    for (TsVariant& member : m_members) member.Clear();
}

void TestObject::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    if (propertyIndex < 0 || propertyIndex >= static_cast<int>(m_members.size())) {
        throw CTsException("no such property");
    }
    if (get) {
        value = m_members[static_cast<size_t>(propertyIndex)];
        return;
    }
    if (propertyIndex == m_rejectSet) throw CTsInvalidParamException("value refused");
    m_members[static_cast<size_t>(propertyIndex)] = value;
}

CSmartPtr<CXmlObjectBase> CreateClass(int classId, const char* elementName) {
    switch (classId) {
        case ClassId_Child:
            return CSmartPtr<CXmlObjectBase>(new Child(elementName));
        case ClassId_Circle:
            return CSmartPtr<CXmlObjectBase>(new Circle(elementName));
        case ClassId_Square:
            return CSmartPtr<CXmlObjectBase>(new Square(elementName));
        case ClassId_NilNote:
            return CSmartPtr<CXmlObjectBase>(new NilNote(elementName));
        case ClassId_Extras:
            return CSmartPtr<CXmlObjectBase>(new Extras(elementName));
        default:
            return CSmartPtr<CXmlObjectBase>();
    }
}

SimpleSeq::SimpleSeq() : TestObject(MemberCount, "item") {}

CParentElementInfo* SimpleSeq::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "item");
    return info;
}

CElementInfo** SimpleSeq::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("count", kNs, Count, false, ItemType_i4, nullptr, kCollapse,
                                   NoFacets(), nullptr),
        new CElementInfoSeqPrimOpt("note", kNs, Note, false, ItemType_string, nullptr, kPreserve,
                                   MaxLength(5), nullptr),
        new CElementInfoSeqEnumMnd("color", kNs, Colour, false, ColorToString, ColorFromString,
                                   nullptr),
        new CElementInfoSeqPrimOpt("flag", kNs, Flag, false, ItemType_boolean, nullptr, kCollapse,
                                   NoFacets(), "true"),
        new CElementInfoSeqPrimOpt("size", kNs, Size, true, ItemType_i4, nullptr, kCollapse,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

CAttributeInfo** SimpleSeq::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        new CAttributeInfoPrimitive("id", "", Id, false, ItemType_i4, nullptr, kCollapse,
                                    NoFacets(), nullptr),
        new CAttributeInfoPrimitive("label", "", Label, true, ItemType_string, nullptr, kPreserve,
                                    MaxLength(8), "none"),
        new CAttributeInfoEnum("tone", "", Tone, true, ColorToString, ColorFromString, "red"),
        nullptr};
    return records;
}

Child::Child(const char* elementName) : TestObject(MemberCount, elementName) {}

CParentElementInfo* Child::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "child");
    return info;
}

CElementInfo** Child::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("name", kNs, Name_, false, ItemType_string, nullptr, kPreserve,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

CAttributeInfo** Child::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        new CAttributeInfoPrimitive("code", "", Code, true, ItemType_string, nullptr, kPreserve,
                                    NoFacets(), nullptr),
        nullptr};
    return records;
}

StringCol::StringCol(const char* elementName, int minOccurs, int maxOccurs,
                     const char* namespaceUri)
    : CXmlTypeCollection(ItemType_string, elementName, namespaceUri, minOccurs, maxOccurs, "", -1,
                         -1, "", "", "", "", -1, -1, -1, kPreserve, "") {}

void StringCol::Remove(int index) {
    if (index < 0 || index >= GetCount()) throw CTsInvalidParamException("Index out of range");
    m_values.erase(m_values.begin() + index);
}

void StringCol::ToXml_Int(CXmlWriter* writer, bool, const char*,
                          const CSerializationContext& context, bool) const {
    ValidateCount(context);
    for (const std::string& value : m_values) {
        writer->StartElement(GetElementName(), GetNamespace());
        writer->WriteText(value, ItemType_string, false);
        writer->EndElement();
    }
}

Holder::Holder() : TestObject(MemberCount, "holder") { Init(); }

void Holder::Init() {
    ResetMembers();
    Member(First).SetXmlObject(new Child("first"));
    Member(Kids).SetXmlCollection(new ChildCol("kid", 1, 3));
    Member(Tags).SetXmlCollection(new StringCol("tag", 0, 2));
}

Child* Holder::GetFirst() { return MemberAs<Child>(this, First); }
ChildCol* Holder::GetKids() { return CollectionAs<ChildCol>(this, Kids); }
StringCol* Holder::GetTags() { return CollectionAs<StringCol>(this, Tags); }

CParentElementInfo* Holder::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "holder");
    return info;
}

CElementInfo** Holder::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqClsMnd("first", kNs, First, XmlElementType_Element, CreateClass,
                                  ClassId_Child, false),
        new CElementInfoSeqClsOpt("second", kNs, Second, XmlElementType_Element, CreateClass,
                                  ClassId_Child),
        new CElementInfoSeqClsCol("kid", kNs, Kids, XmlElementType_Element),
        new CElementInfoSeqPrimCol("tag", kNs, Tags),
        new CElementInfoSeqPrimOpt("tail", kNs, Tail, false, ItemType_string, nullptr, kPreserve,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

AllGroup::AllGroup() : TestObject(MemberCount, "allGroup") { Init(); }

void AllGroup::Init() {
    ResetMembers();
    Member(Z).SetXmlObject(new Child("z"));
}

CParentElementInfo* AllGroup::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_All, "allGroup");
    return info;
}

CElementInfo** AllGroup::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoAllPrimMnd("x", kNs, X, false, ItemType_i4, nullptr, kCollapse, NoFacets(),
                                   nullptr),
        new CElementInfoAllPrimOpt("y", kNs, Y, false, ItemType_string, nullptr, kPreserve,
                                   NoFacets(), nullptr),
        new CElementInfoAllClsMnd("z", kNs, Z, XmlElementType_Element, CreateClass, ClassId_Child,
                                  true),
        new CElementInfoAllEnumOpt("w", kNs, W, false, ColorToString, ColorFromString, nullptr),
        nullptr};
    return records;
}

ChoiceGroup::ChoiceGroup() : TestObject(MemberCount, "pick") {}

CParentElementInfo* ChoiceGroup::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Choice, "pick");
    return info;
}

CElementInfo** ChoiceGroup::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoChoicePrimOpt("a", kNs, A, false, ItemType_string, nullptr, kPreserve,
                                      NoFacets(), nullptr),
        new CElementInfoChoiceClsOpt("b", kNs, B, XmlElementType_Element, CreateClass,
                                     ClassId_Child),
        new CElementInfoChoiceEnumOpt("c", kNs, C, false, ColorToString, ColorFromString, nullptr),
        nullptr};
    return records;
}

StrictChoice::StrictChoice() : TestObject(MemberCount, "strict") { Init(); }

void StrictChoice::Init() {
    ResetMembers();
    Member(Ones).SetXmlCollection(new StringCol("one", 1, -1));
    Member(Twos).SetXmlCollection(new ChildCol("two", 1, -1));
}

StringCol* StrictChoice::GetOnes() { return CollectionAs<StringCol>(this, Ones); }

CParentElementInfo* StrictChoice::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Choice, "strict");
    return info;
}

CElementInfo** StrictChoice::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoChoicePrimCol("one", kNs, Ones),
        new CElementInfoChoiceClsCol("two", kNs, Twos, XmlElementType_Element), nullptr};
    return records;
}

Circle::Circle(const char* elementName) : TestObject(MemberCount, elementName) {}

CParentElementInfo* Circle::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "Circle", true);
    return info;
}

CElementInfo** Circle::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("radius", kNs, Radius, false, ItemType_i4, nullptr, kCollapse,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

Square::Square(const char* elementName) : TestObject(MemberCount, elementName) {}

CParentElementInfo* Square::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "Square", true);
    return info;
}

CElementInfo** Square::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("side", kNs, Side, false, ItemType_i4, nullptr, kCollapse,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

CSmartPtr<CXmlObjectBase> ShapeFactory::Create(CXmlElement* element) {
    const std::string type = GetElementType(element);
    if (GetElementTypeNamespaceUri(element) != kNs) return CSmartPtr<CXmlObjectBase>();
    const char* name = element->GetLocalName().c_str();
    if (type == "Circle") return CSmartPtr<CXmlObjectBase>(new Circle(name));
    if (type == "Square") return CSmartPtr<CXmlObjectBase>(new Square(name));
    return CSmartPtr<CXmlObjectBase>();
}

Drawing::Drawing() : TestObject(MemberCount, "drawing") {}

CParentElementInfo* Drawing::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "drawing");
    return info;
}

CElementInfo** Drawing::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqAbsClsMnd("shape", kNs, Shape, XmlElementType_Element,
                                     ShapeFactory::Create),
        new CElementInfoSeqAbsClsOpt("extra", kNs, Extra, XmlElementType_Element,
                                     ShapeFactory::Create),
        nullptr};
    return records;
}

NilNote::NilNote(const char* elementName) : TestObject(MemberCount, elementName) {}

void NilNote::Init() {
    ResetMembers();
    m_nil = false;
}

CParentElementInfo* NilNote::GetClassInfo() const {
    static CParentElementInfo* info =
        NewClassInfo(XmlElementGroupType_Sequence, "note", false, Value, ItemType_string);
    return info;
}

CElementInfo** NilNote::GetClassElementInfo() const {
    static CElementInfo* records[] = {nullptr};
    return records;
}

CAttributeInfo** NilNote::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        new CAttributeInfoPrimitive("lang", "", Lang, true, ItemType_string, nullptr, kPreserve,
                                    NoFacets(), nullptr),
        nullptr};
    return records;
}

Memo::Memo() : TestObject(MemberCount, "memo") {}

CParentElementInfo* Memo::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "memo");
    return info;
}

CElementInfo** Memo::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqClsOpt("note", kNs, Note, XmlElementType_Element, CreateClass,
                                  ClassId_NilNote),
        new CElementInfoSeqPrimOpt("count", kNs, Count, true, ItemType_i4, nullptr, kCollapse,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

Extras::Extras(const char* elementName) : TestObject(MemberCount, elementName) {}

CParentElementInfo* Extras::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Pseudo, "extras",
                                   kNs, false, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Extras::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("memo", kNs, Memo_, false, ItemType_string, nullptr, kPreserve,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

CAttributeInfo** Extras::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        new CAttributeInfoPrimitive("flag", "", Flag, true, ItemType_boolean, nullptr, kCollapse,
                                    NoFacets(), nullptr),
        nullptr};
    return records;
}

Wrap::Wrap() : TestObject(MemberCount, "wrap") { Init(); }

void Wrap::Init() {
    ResetMembers();
    Member(ExtrasMember).SetXmlObject(new Extras());
}

Extras* Wrap::GetExtras() { return MemberAs<Extras>(this, ExtrasMember); }

CParentElementInfo* Wrap::GetClassInfo() const {
    // Attributes of the inlined member arrive on this tag, so unknown ones are not an error.
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "wrap",
                                   kNs, false, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Wrap::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("head", kNs, Head, false, ItemType_string, nullptr, kPreserve,
                                   NoFacets(), nullptr),
        new CElementInfoSeqClsMnd("extras", kNs, ExtrasMember, XmlElementType_Pseudo, CreateClass,
                                  ClassId_Extras, true),
        new CElementInfoSeqPrimOpt("tail", kNs, Tail, false, ItemType_string, nullptr, kPreserve,
                                   NoFacets(), nullptr),
        nullptr};
    return records;
}

}  // namespace EngineTest
