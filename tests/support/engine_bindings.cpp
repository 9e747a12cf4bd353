// engine_bindings.cpp: the record tables and accessors of the hand-written engine test
// classes, written the way generated code writes them.
#include "support/engine_bindings.h"

#include "tessel16/exception.h"

namespace EngineTest {

using namespace Tessel16;
using namespace Tessel16Data;

const char* const kNs = "urn:t";

namespace {

const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const CWhitespaceUtils::WhitespaceRule kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;

CSmartPtr<CXmlObjectBase> CreateClass(int classId, const char* elementName) {
    return CEngineTestClassFactory::CreateClass(classId, elementName);
}

// Extras is no class of the schema, so its member comes from a factory of its own.
CSmartPtr<CXmlObjectBase> CreateExtras(int, const char* elementName) {
    return CSmartPtr<CXmlObjectBase>(new Extras(elementName));
}

}  // namespace

TestObject::TestObject(int memberCount, const char* elementName, const char* namespaceUri)
    : m_members(static_cast<size_t>(memberCount)), m_namespace(namespaceUri) {
    SetElementName(elementName);
}

CAttributeInfo** TestObject::GetClassAttributeInfo() const {
    static CAttributeInfo* none[] = {nullptr};
    return none;
}

CParentElementInfo* NewClassInfo(XmlElementGroupType group, const char* name,
                                 const char* namespaceUri) {
    return new CParentElementInfo(group, XmlElementType_Element, name, namespaceUri, true, false,
                                  -1, ItemType_none, nullptr, false);
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
    m_members[static_cast<size_t>(propertyIndex)] = value;
}

CParentElementInfo* Bag::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Sequence, "bag");
    return info;
}

CElementInfo** Bag::GetClassElementInfo() const {
    static CElementInfo* none[] = {nullptr};
    return none;
}

CstringCol* NewStringCol(const char* elementName, int minOccurs, int maxOccurs) {
    return new CstringCol(elementName, kNs, minOccurs, maxOccurs, "", -1, -1, "", "", "", "", -1,
                          -1, -1, kPreserve, "");
}

ChoiceGroup::ChoiceGroup() : TestObject(MemberCount, "pick") {}

CParentElementInfo* ChoiceGroup::GetClassInfo() const {
    static CParentElementInfo* info = NewClassInfo(XmlElementGroupType_Choice, "pick");
    return info;
}

CElementInfo** ChoiceGroup::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoChoicePrimOpt("a", kNs, A, false, ItemType_string, nullptr, kPreserve,
                                      CPrimitiveRestrictions(), nullptr),
        new CElementInfoChoiceClsOpt("b", kNs, B, XmlElementType_Element, CreateClass,
                                     ClassId_Child),
        new CElementInfoChoiceEnumOpt("c", kNs, C, false, ColorToString, ColorFromString, nullptr),
        nullptr};
    return records;
}

StrictChoice::StrictChoice() : TestObject(MemberCount, "strict") { Init(); }

void StrictChoice::Init() {
    ResetMembers();
    Member(Ones).SetXmlCollection(NewStringCol("one", 1, -1));
    Member(Twos).SetXmlCollection(new CChildCol("two", kNs, 1, -1));
}

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

Extras::Extras(const char* elementName) : TestObject(MemberCount, elementName) {}

CParentElementInfo* Extras::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Pseudo, "extras",
                                   kNs, false, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Extras::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("memo", kNs, Memo_, false, ItemType_string, nullptr, kPreserve,
                                   CPrimitiveRestrictions(), nullptr),
        nullptr};
    return records;
}

CAttributeInfo** Extras::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        new CAttributeInfoPrimitive("flag", "", Flag, true, ItemType_boolean, nullptr, kCollapse,
                                    CPrimitiveRestrictions(), nullptr),
        nullptr};
    return records;
}

Wrap::Wrap() : TestObject(MemberCount, "wrap") { Init(); }

void Wrap::Init() {
    ResetMembers();
    Member(ExtrasMember).SetXmlObject(new Extras());
}

Extras* Wrap::GetExtras() {
    return dynamic_cast<Extras*>(Member(ExtrasMember).GetXmlObject().get());
}

CParentElementInfo* Wrap::GetClassInfo() const {
    // Attributes of the inlined member arrive on this tag, so unknown ones are not an error.
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "wrap",
                                   kNs, false, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Wrap::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("head", kNs, Head, false, ItemType_string, nullptr, kPreserve,
                                   CPrimitiveRestrictions(), nullptr),
        new CElementInfoSeqClsMnd("extras", kNs, ExtrasMember, XmlElementType_Pseudo, CreateExtras,
                                  0, true),
        new CElementInfoSeqPrimOpt("tail", kNs, Tail, false, ItemType_string, nullptr, kPreserve,
                                   CPrimitiveRestrictions(), nullptr),
        nullptr};
    return records;
}

}  // namespace EngineTest
