// engine_bindings.h: small hand-written classes in the form a schema compiler emits (static
// null-ended record tables, an InvokeProperty accessor, a class factory), one per feature of
// the engine: sequences of simple and class members with attributes, collections, all and
// choice groups, substitution through xsi:type, nil, simple content and pseudo elements.
#pragma once

#include <string>
#include <vector>

#include "tessel16/attribute_info.h"
#include "tessel16/class_factory.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/variant.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"
#include "tessel16/xml_type_collection.h"

namespace EngineTest {

extern const char* const kNs;  // "urn:t", the target namespace of every test class

enum Color { Color_red = 0, Color_green = 1, Color_blue = 2 };
const char* ColorToString(int value);
int ColorFromString(const char* text);

// What every test class shares: members held as variants behind the indexed accessor, and
// the namespace of the test schema. Generated code holds typed fields instead; the records
// cannot tell the difference.
class TestObject : public Tessel16::CXmlGeneratedClass {
public:
    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return m_namespace; }
    std::string GetTargetNamespace() const override { return m_namespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    // Most test classes have nothing but their members to reset and no attributes.
    void Init() override { ResetMembers(); }
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;

    Tessel16::TsVariant& Member(int index) { return m_members.at(static_cast<size_t>(index)); }
    std::string Name() const { return GetElementName(); }
    void SetName(const char* name) { SetElementName(name); }
    // Makes InvokeProperty(set) throw for this index, to test how records report it.
    void RejectSet(int index) { m_rejectSet = index; }

protected:
    TestObject(int memberCount, const char* elementName, const char* namespaceUri = kNs);
    void ResetMembers();

private:
    std::vector<Tessel16::TsVariant> m_members;
    std::string m_namespace;
    int m_rejectSet = -1;
};

// A class record in the test namespace that refuses unknown attributes; a simple-content
// class names the member holding its value and that value's type.
Tessel16Data::CParentElementInfo* NewClassInfo(
    Tessel16Data::XmlElementGroupType group, const char* name, bool hasBaseClasses = false,
    int valueIndex = -1, Tessel16::ItemType valueType = Tessel16::ItemType_none);

// Class ids of the factory.
enum ClassId { ClassId_Child = 1, ClassId_Circle, ClassId_Square, ClassId_NilNote, ClassId_Extras };
Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> CreateClass(int classId, const char* elementName);

// <item id="1" label="x" tone="red"><count/><note/><color/><flag/><size/></item>
class SimpleSeq : public TestObject {
public:
    enum { Count, Note, Colour, Flag, Size, Id, Label, Tone, MemberCount };
    SimpleSeq();
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
};

// <child code="c"><name/></child>
class Child : public TestObject {
public:
    enum { Name_, Code, MemberCount };
    explicit Child(const char* elementName = "child");
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
};

// A generated collection of Child items.
// A generated collection of objects of one class T, constructible from an element name.
template <class T>
class ObjectCol : public Tessel16::CXmlCollection {
public:
    ObjectCol(const char* elementName, int minOccurs, int maxOccurs, const char* namespaceUri = kNs)
        : CXmlCollection(elementName, namespaceUri, minOccurs, maxOccurs) {}
    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    void Add(T* item) { AppendItem(item); }
    T* Item(int index) const { return dynamic_cast<T*>(GetNodeAtIndex(index)->GetItem()); }

protected:
    void ToXml_Int(Tessel16::CXmlWriter* writer, bool, const char* namespaceUri,
                   const Tessel16::CSerializationContext& context, bool inChoice) const override {
        for (CNode* node = GetHead(); node; node = node->GetNext()) {
            CXmlObjectBase::ToXml_Int(node->GetItem(), writer, false, namespaceUri, context,
                                      inChoice);
        }
    }
    Tessel16::CXmlElement* FromXml_Int(Tessel16::CXmlElement*, Tessel16::CXmlElement* cursor,
                                       const Tessel16::CSerializationContext& context,
                                       bool) override {
        const std::string name = GetElementName();
        const std::string ns = GetNamespace();
        while (cursor && DoesElementNameMatch(context, cursor, name.c_str(), ns.c_str())) {
            T* item = new T(name.c_str());
            AppendItem(item);  // owned by the list before it reads, in case reading throws
            CXmlObjectBase::FromXml_Int(item, cursor, cursor->GetFirstElement(), context);
            cursor = cursor->GetNextSiblingElement();
        }
        return cursor;
    }
};

using ChildCol = ObjectCol<Child>;

// A collection of strings, standing in for the primitive collections.
class StringCol : public Tessel16::CXmlTypeCollection {
public:
    StringCol(const char* elementName, int minOccurs, int maxOccurs,
              const char* namespaceUri = kNs);
    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    int GetCount() const override { return static_cast<int>(m_values.size()); }
    void Clear() override { m_values.clear(); }
    void Remove(int index) override;
    void Add(const std::string& value) { m_values.push_back(value); }
    const std::string& Item(int index) const { return m_values.at(static_cast<size_t>(index)); }

protected:
    void AddFromString(std::string text) override { m_values.push_back(text); }
    void ToXml_Int(Tessel16::CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const Tessel16::CSerializationContext& context, bool inChoice) const override;

private:
    std::vector<std::string> m_values;
};

// <holder><first/><second/>?<kid/>{1,3}<tag/>{0,2}<tail/>?</holder>
class Holder : public TestObject {
public:
    enum { First, Second, Kids, Tags, Tail, MemberCount };
    Holder();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Child* GetFirst();
    ChildCol* GetKids();
    StringCol* GetTags();
};

// xs:all of x (int, required), y (string), z (Child, required), w (Color)
class AllGroup : public TestObject {
public:
    enum { X, Y, Z, W, MemberCount };
    AllGroup();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// xs:choice of a (string), b (Child), c (Color)
class ChoiceGroup : public TestObject {
public:
    enum { A, B, C, MemberCount };
    ChoiceGroup();
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// xs:choice of one{1,} (strings) or two{1,} (Child): no member is optional.
class StrictChoice : public TestObject {
public:
    enum { Ones, Twos, MemberCount };
    StrictChoice();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    StringCol* GetOnes();
};

// Circle and Square derive from an abstract Shape; their class records name the types.
class Circle : public TestObject {
public:
    enum { Radius, MemberCount };
    explicit Circle(const char* elementName = "Circle");
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

class Square : public TestObject {
public:
    enum { Side, MemberCount };
    explicit Square(const char* elementName = "Square");
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// Picks Circle or Square from the xsi:type of a shape element.
class ShapeFactory : public Tessel16::CClassfactoryBase {
public:
    static Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> Create(Tessel16::CXmlElement* element);
    static std::string TypeOf(Tessel16::CXmlElement* element) { return GetElementType(element); }
    static std::string TypeNamespaceOf(Tessel16::CXmlElement* element) {
        return GetElementTypeNamespaceUri(element);
    }
};

// <drawing><shape xsi:type="Circle"/><extra/>?</drawing>
class Drawing : public TestObject {
public:
    enum { Shape, Extra, MemberCount };
    Drawing();
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
};

// A nillable element with simple content (a string) and an attribute.
class NilNote : public TestObject, public Tessel16::INillable {
public:
    enum { Value, Lang, MemberCount };
    explicit NilNote(const char* elementName = "note");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    bool IsNil() const override { return m_nil; }
    void SetNil(bool nil) override { m_nil = nil; }

private:
    bool m_nil = false;
};

// <memo><note/>?<count/>?</memo>
class Memo : public TestObject {
public:
    enum { Note, Count, MemberCount };
    Memo();
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
