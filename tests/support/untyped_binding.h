// untyped_binding.h: test classes in the form a schema compiler emits for schemas with
// wildcard and repeated simple content: bound members beside an xs:any collection, a named
// untyped element, an xs:anyAttribute collection, primitive collections, a nested class whose
// content is a single mandatory wildcard, a choice between a simple member and a wildcard, and
// a sequence that ends in a wildcard.
#pragma once

#include "support/engine_bindings.h"
#include "tessel16/attribute.h"
#include "tessel16/element.h"
#include "tessel16/primitive_collections.h"

namespace UntypedTest {

extern const char* const kNs;  // "urn:env", the target namespace of these classes

enum ClassId { ClassId_Inner = 1 };
Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> CreateClass(int classId, const char* elementName);

// <inner><xs:any namespace="##any"/></inner>
class Inner : public EngineTest::TestObject {
public:
    enum { Any, MemberCount };
    explicit Inner(const char* elementName = "inner");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16::CElement* GetAny();
};

// <envelope id="1" [anyAttribute ##other]>
//   <title/> <score/>{1,3} (i4, at most 100) <when/>* (date) <xs:any ##other/>*
//   <inner/>? <note/>? (untyped, ##targetNamespace) <tag/>* (string, [a-z]+)
// </envelope>
class Envelope : public EngineTest::TestObject {
public:
    enum {
        Title,
        Scores,
        Dates,
        Extras,
        InnerMember,
        Note,
        Tags,
        Id,
        OtherAttributes,
        MemberCount
    };
    Envelope();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;

    Tessel16::Ci4Col* GetScores();
    Tessel16::CdateCol* GetDates();
    Tessel16::CElementCol* GetExtras();
    Tessel16::CstringCol* GetTags();
    Tessel16::CAttributeCol* GetOtherAttributes();
};

// <pick> choice of <code/> (i4) or one unqualified element of any name </pick>
class Pick : public EngineTest::TestObject {
public:
    enum { Code, Local, MemberCount };
    Pick();
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// <bag> all of <size/>? (i4) and <memo/>? (untyped, any namespace), in either order </bag>
class Bag : public EngineTest::TestObject {
public:
    enum { Size, Memo, MemberCount };
    Bag();
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// <lines> <line/>* (untyped elements of that one name, any content) <end/>? (string) </lines>
class Lines : public EngineTest::TestObject {
public:
    enum { LineMember, End, MemberCount };
    Lines();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// <tail> <a/> (string) <xs:any ##other/>* </tail>
class Tail : public EngineTest::TestObject {
public:
    enum { A, Any, MemberCount };
    Tail();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

}  // namespace UntypedTest
