// untyped_binding.cpp: the metadata tables and accessors of the untyped test classes, written
// the way generated code writes them.
#include "support/untyped_binding.h"

#include "metadata/object_bridge.h"

namespace UntypedTest {

using namespace Tessel16;
using namespace Tessel16Data;

const char* const kNs = "urn:env";

namespace {

const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const CWhitespaceUtils::WhitespaceRule kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;

CParentElementInfo* ClassInfo(XmlElementGroupType group, const char* name) {
    return EngineTest::NewClassInfo(group, name, kNs);
}

template <class T>
T* MemberAs(EngineTest::TestObject* object, int index) {
    return dynamic_cast<T*>(detail::RawPtr(object->Member(index).GetXmlObject()));
}

template <class T>
T* CollectionAs(EngineTest::TestObject* object, int index) {
    return dynamic_cast<T*>(detail::RawPtr(object->Member(index).GetXmlCollection()));
}

}  // namespace

CSmartPtr<CXmlObjectBase> CreateClass(int classId, const char* elementName) {
    if (classId == ClassId_Inner) return CSmartPtr<CXmlObjectBase>(new Inner(elementName));
    return CSmartPtr<CXmlObjectBase>();
}

Inner::Inner(const char* elementName) : TestObject(MemberCount, elementName, kNs) { Init(); }

void Inner::Init() {
    ResetMembers();
    Member(Any).SetXmlObject(new CElement("AnyElement", "", "##any", kNs));
}

CParentElementInfo* Inner::GetClassInfo() const {
    static CParentElementInfo* info = ClassInfo(XmlElementGroupType_Sequence, "inner");
    return info;
}

CElementInfo** Inner::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqUntpdMnd("AnyElement", kNs, Any, "##any", kNs), nullptr};
    return records;
}

CElement* Inner::GetAny() { return MemberAs<CElement>(this, Any); }

Envelope::Envelope() : TestObject(MemberCount, "envelope", kNs) { Init(); }

void Envelope::Init() {
    ResetMembers();
    Member(Scores).SetXmlCollection(new Ci4Col("score", kNs, 1, 3, nullptr, -1, -1, nullptr, "100",
                                               nullptr, nullptr, -1, -1, -1, kCollapse, nullptr));
    Member(Dates).SetXmlCollection(new CdateCol("when", kNs, 0, -1, nullptr, -1, -1, nullptr,
                                                nullptr, nullptr, nullptr, -1, -1, -1, kCollapse,
                                                nullptr));
    Member(Extras).SetXmlCollection(new CElementCol("", "##other", kNs, 0, -1));
    Member(Tags).SetXmlCollection(new CstringCol("tag", kNs, 0, -1, "[a-z]+", -1, -1, nullptr,
                                                 nullptr, nullptr, nullptr, -1, -1, -1, kPreserve,
                                                 nullptr));
    Member(OtherAttributes).SetXmlCollection(new CAttributeCol("", "##other", kNs));
}

CParentElementInfo* Envelope::GetClassInfo() const {
    static CParentElementInfo* info = ClassInfo(XmlElementGroupType_Sequence, "envelope");
    return info;
}

CElementInfo** Envelope::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("title", kNs, Title, false, ItemType_string, nullptr, kPreserve,
                                   CPrimitiveRestrictions(), nullptr),
        new CElementInfoSeqPrimCol("score", kNs, Scores),
        new CElementInfoSeqPrimCol("when", kNs, Dates),
        new CElementInfoSeqUntpdCol("AnyElement", kNs, Extras),
        new CElementInfoSeqClsOpt("inner", kNs, InnerMember, XmlElementType_Element, CreateClass,
                                  ClassId_Inner),
        new CElementInfoSeqUntpdOpt("note", kNs, Note, "##targetNamespace", kNs),
        new CElementInfoSeqPrimCol("tag", kNs, Tags),
        nullptr};
    return records;
}

CAttributeInfo** Envelope::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        new CAttributeInfoPrimitive("id", "", Id, false, ItemType_i4, nullptr, kCollapse,
                                    CPrimitiveRestrictions(), nullptr),
        new CAttributeInfoAny("AnyAttribute", "", OtherAttributes, true, nullptr, "##other", kNs),
        nullptr};
    return records;
}

Ci4Col* Envelope::GetScores() { return CollectionAs<Ci4Col>(this, Scores); }
CdateCol* Envelope::GetDates() { return CollectionAs<CdateCol>(this, Dates); }
CElementCol* Envelope::GetExtras() { return CollectionAs<CElementCol>(this, Extras); }
CstringCol* Envelope::GetTags() { return CollectionAs<CstringCol>(this, Tags); }
CAttributeCol* Envelope::GetOtherAttributes() {
    return CollectionAs<CAttributeCol>(this, OtherAttributes);
}

Pick::Pick() : TestObject(MemberCount, "pick", kNs) { Init(); }

CParentElementInfo* Pick::GetClassInfo() const {
    static CParentElementInfo* info = ClassInfo(XmlElementGroupType_Choice, "pick");
    return info;
}

CElementInfo** Pick::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoChoicePrimOpt("code", kNs, Code, false, ItemType_i4, nullptr, kCollapse,
                                      CPrimitiveRestrictions(), nullptr),
        new CElementInfoChoiceUntpdOpt("AnyElement", kNs, Local, "##local", kNs), nullptr};
    return records;
}

Bag::Bag() : TestObject(MemberCount, "bag", kNs) { Init(); }

CParentElementInfo* Bag::GetClassInfo() const {
    static CParentElementInfo* info = ClassInfo(XmlElementGroupType_All, "bag");
    return info;
}

CElementInfo** Bag::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoAllPrimOpt("size", kNs, Size, false, ItemType_i4, nullptr, kCollapse,
                                   CPrimitiveRestrictions(), nullptr),
        new CElementInfoAllUntpdOpt("memo", kNs, Memo, "##any", kNs), nullptr};
    return records;
}

Lines::Lines() : TestObject(MemberCount, "lines", kNs) { Init(); }

void Lines::Init() {
    ResetMembers();
    Member(LineMember).SetXmlCollection(new CElementCol(kNs, "##any", kNs, 0, -1));
}

CParentElementInfo* Lines::GetClassInfo() const {
    static CParentElementInfo* info = ClassInfo(XmlElementGroupType_Sequence, "lines");
    return info;
}

CElementInfo** Lines::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqUntpdCol("line", kNs, LineMember),
        new CElementInfoSeqPrimOpt("end", kNs, End, false, ItemType_string, nullptr, kPreserve,
                                   CPrimitiveRestrictions(), nullptr),
        nullptr};
    return records;
}

Tail::Tail() : TestObject(MemberCount, "tail", kNs) { Init(); }

void Tail::Init() {
    ResetMembers();
    Member(Any).SetXmlCollection(new CElementCol("", "##other", kNs, 0, -1));
}

CParentElementInfo* Tail::GetClassInfo() const {
    static CParentElementInfo* info = ClassInfo(XmlElementGroupType_Sequence, "tail");
    return info;
}

CElementInfo** Tail::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqPrimMnd("a", kNs, A, false, ItemType_string, nullptr, kPreserve,
                                   CPrimitiveRestrictions(), nullptr),
        new CElementInfoSeqUntpdCol("AnyElement", kNs, Any), nullptr};
    return records;
}

}  // namespace UntypedTest
