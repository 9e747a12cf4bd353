// engine_bindings.h: the classes the binding-engine tests drive. Most are generated at build
// time from tests/data/schemas/engine.xsd (engine_binding.h); what stays here by hand is what
// a schema cannot express: a variant-backed base for tests that build their own record tables,
// classes whose element is itself a choice group, a pseudo member carrying an attribute, and a
// wrapper that hands the engine a nil value or a refusal the generated accessors never give.
#pragma once

#include <string>
#include <vector>

#include "engine_binding.h"
#include "tessel16/attribute_info.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/generated_support.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/variant.h"
#include "tessel16/xml_generated_class.h"

namespace EngineTest {

extern const char* const kNs;  // "urn:t", the target namespace of every test class

using CChildCol = Tessel16::CObjectCol<CChild>;

// A generated class whose accessor hands out a nil value for one property and refuses to set
// another, so tests reach the engine's handling of both.
template <class T>
class Twisted : public T {
public:
    using T::T;
    int nilOn = -1;
    int rejectOn = -1;
    void InvokeProperty(int index, bool get, Tessel16::TsVariant& value) override {
        if (get && index == nilOn) {
            value.SetNil();
            return;
        }
        if (!get && index == rejectOn) throw Tessel16::CTsInvalidParamException("value refused");
        T::InvokeProperty(index, get, value);
    }
};

// Members held as variants behind the indexed accessor, for classes whose record tables the
// tests write themselves. Generated code holds typed fields instead; the records cannot tell.
class TestObject : public Tessel16::CXmlGeneratedClass {
public:
    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return m_namespace; }
    std::string GetTargetNamespace() const override { return m_namespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    void Init() override { ResetMembers(); }
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;

    Tessel16::TsVariant& Member(int index) { return m_members.at(static_cast<size_t>(index)); }
    std::string Name() const { return GetElementName(); }

protected:
    TestObject(int memberCount, const char* elementName, const char* namespaceUri = kNs);
    void ResetMembers();

private:
    std::vector<Tessel16::TsVariant> m_members;
    std::string m_namespace;
};

// A class record in the test namespace (unless given) that refuses unknown attributes.
Tessel16Data::CParentElementInfo* NewClassInfo(Tessel16Data::XmlElementGroupType group,
                                               const char* name, const char* namespaceUri = kNs);

// A class of `memberCount` variant members and no records, for tests that hand a record an
// object of their own.
class Bag : public TestObject {
public:
    explicit Bag(int memberCount = 1) : TestObject(memberCount, "bag") {}
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// A collection of strings in the test namespace.
Tessel16::CstringCol* NewStringCol(const char* elementName, int minOccurs, int maxOccurs);

// <pick>: a choice of a (string), b (Child), c (Color), all optional. A schema wraps a choice
// in a class of its own, so a class that is itself the choice is written by hand.
class ChoiceGroup : public TestObject {
public:
    enum { A, B, C, MemberCount };
    ChoiceGroup();
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// <strict>: a choice of one{1,} (strings) or two{1,} (Child): no member is optional.
class StrictChoice : public TestObject {
public:
    enum { Ones, Twos, MemberCount };
    StrictChoice();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// A pseudo element: no tag of its own; its attribute lands on the parent's tag.
class Extras : public TestObject {
public:
    enum { Memo_, Flag, MemberCount };
    explicit Extras(const char* elementName = "extras");
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
};

// <wrap flag="true"><head/><memo/><tail/>?</wrap>, memo and flag coming from Extras.
class Wrap : public TestObject {
public:
    enum { Head, ExtrasMember, Tail, MemberCount };
    Wrap();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Extras* GetExtras();
};

}  // namespace EngineTest
