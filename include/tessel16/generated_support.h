// generated_support.h: the pieces every binding made by tessel16-xsd shares, so the generated
// files hold only what is particular to a schema: the typed collection of generated objects,
// the collection of enumeration values, the record tables of a class and the enumeration text
// lookups. Everything here is header-only on top of the exported bases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tessel16/attribute_info.h"
#include "tessel16/class_factory.h"
#include "tessel16/element_info.h"
#include "tessel16/exception.h"
#include "tessel16/smart_ptr.h"
#include "tessel16/variant.h"
#include "tessel16/whitespace_utils.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"
#include "tessel16/xml_type_collection.h"
#include "tessel16/xml_writer.h"

namespace Tessel16 {

// The three record tables of one generated class. A function-local static of this type is
// built exactly once even when the first objects are used on several threads at once; the
// tables go away when the program ends.
struct CGeneratedMetaData {
    using Cleaner = void (*)(Tessel16Data::CParentElementInfo*&, Tessel16Data::CElementInfo**&,
                             Tessel16Data::CAttributeInfo**&);
    CGeneratedMetaData(Tessel16Data::CParentElementInfo* info,
                       Tessel16Data::CElementInfo** elementTable,
                       Tessel16Data::CAttributeInfo** attributeTable, Cleaner clean)
        : classInfo(info), elements(elementTable), attributes(attributeTable), cleaner(clean) {}
    CGeneratedMetaData(const CGeneratedMetaData&) = delete;
    CGeneratedMetaData& operator=(const CGeneratedMetaData&) = delete;
    ~CGeneratedMetaData() { cleaner(classInfo, elements, attributes); }

    Tessel16Data::CParentElementInfo* classInfo;
    Tessel16Data::CElementInfo** elements;
    Tessel16Data::CAttributeInfo** attributes;
    Cleaner cleaner;
};

namespace generated {

// A null-ended table on the heap, as CleanMetaData expects to free it.
template <class Record>
Record** Table(std::initializer_list<Record*> records) {
    Record** table = new Record*[records.size() + 1];
    std::size_t i = 0;
    for (Record* record : records) table[i++] = record;
    table[i] = nullptr;
    return table;
}

// Enumeration texts: an unknown value maps to "", unknown text to -1.
template <std::size_t N>
const char* EnumToText(const char* const (&texts)[N], int value) {
    return value >= 0 && static_cast<std::size_t>(value) < N ? texts[value] : "";
}

template <std::size_t N>
int EnumFromText(const char* const (&texts)[N], const char* text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (std::strcmp(texts[i], text) == 0) return static_cast<int>(i);
    }
    return -1;
}

// The object a record stores, checked against the member's class.
template <class T>
T* ObjectOf(const TsVariant& value, const char* member) {
    CSmartPtr<CXmlObjectBase> object = value.GetXmlObject();
    if (!object) return nullptr;
    T* typed = dynamic_cast<T*>(object.get());
    if (!typed) {
        throw CTsInvalidParamException(
            FormatString("The object given for [%s] is of another class", member));
    }
    return typed;
}

template <class T>
T* CollectionOf(const TsVariant& value, const char* member) {
    CSmartPtr<CXmlCollectionBase> collection = value.GetXmlCollection();
    if (!collection) return nullptr;
    T* typed = dynamic_cast<T*>(collection.get());
    if (!typed) {
        throw CTsInvalidParamException(
            FormatString("The collection given for [%s] is of another class", member));
    }
    return typed;
}

// A member that holds no value reads as an empty variant, so an optional member is left out
// and a mandatory one is refused; an empty variant stored marks it unset.
inline bool IsSetBy(const TsVariant& value) { return value.IsValid() && !value.IsNil(); }

[[noreturn]] inline void ThrowNoSuchProperty(int propertyIndex) {
    throw CTsInvalidParamException(FormatString("No property with index %d", propertyIndex));
}

// A factory's view of an element's xsi:type (the helpers of the base are protected).
class CTypeOfElement : public CClassfactoryBase {
public:
    static std::string Name(CXmlElement* element) { return GetElementType(element); }
    static std::string Namespace(CXmlElement* element) {
        return GetElementTypeNamespaceUri(element);
    }
};

}  // namespace generated

// A repeated member of a generated class T. The list of the base holds the references; the
// typed face casts a node's item back to T. With an element factory the class of each item is
// picked from its element (substitution groups, xsi:type). Items of a repeated group without
// a tag (pseudo items) read the parent's children for as long as the next one can start an
// item, which the generated class's start test tells.
template <class T>
class CObjectCol : public CXmlCollection {
public:
    using ElementFactory = CSmartPtr<CXmlObjectBase> (*)(CXmlElement*);

    using StartTest = bool (*)(const CXmlElement*);

    CObjectCol(const char* elementName, const char* namespaceUri, int minOccurs, int maxOccurs,
               ElementFactory factory = nullptr, StartTest pseudoStart = nullptr)
        : CXmlCollection(elementName, namespaceUri, minOccurs, maxOccurs),
          m_factory(factory),
          m_pseudoStart(pseudoStart) {}
    CXmlObjectBase* GetBase() override { return this; }

    // Appends a new item (the collection takes a reference) and returns it.
    T* Add() {
        T* item = new T("");
        ShareElementName(item, *this);
        AppendItem(item);
        return item;
    }
    void Add(T* item) { AppendItem(item); }
    T* Item(int index) const { return Cast(GetNodeAtIndex(index)); }

    class const_iterator {
    public:
        explicit const_iterator(CNode* node) : m_node(node) {}
        T* operator*() const { return Cast(m_node); }
        const_iterator& operator++() {
            m_node = m_node->GetNext();
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_node != other.m_node; }

    private:
        CNode* m_node;
    };
    const_iterator begin() const { return const_iterator(GetHead()); }
    const_iterator end() const { return const_iterator(nullptr); }

protected:
    // Every item writes its own element (or, pseudo, its content) under the record's namespace.
    void ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override {
        for (CNode* node = GetHead(); node; node = node->GetNext()) {
            CXmlObjectBase::ToXml_Int(node->GetItem(), writer, false, namespaceUri, context,
                                      inChoice);
        }
    }

    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor,
                             const CSerializationContext& context, bool inChoice) override {
        (void)inChoice;
        if (m_pseudoStart) return ReadPseudoItems(parent, cursor, context);
        const std::string name = GetElementName();
        const std::string namespaceUri = GetNamespace();
        while (cursor && DoesElementNameMatch(context, cursor, name.c_str(), namespaceUri.c_str())) {
            CSmartPtr<CXmlObjectBase> created;
            T* item = nullptr;
            if (m_factory) {
                created = m_factory(cursor);
                item = dynamic_cast<T*>(created.get());
                if (!item) break;
                AppendItem(item);
            } else {
                item = Add();  // owned by the list before it reads, so a throw cannot leak it
            }
            CXmlObjectBase::FromXml_Int(item, cursor, cursor->GetFirstElement(), context);
            cursor = cursor->GetNextSiblingElement();
        }
        return cursor;
    }

private:
    static T* Cast(CNode* node) { return static_cast<T*>(node->GetItemPtr().get()); }

    CXmlElement* ReadPseudoItems(CXmlElement* parent, CXmlElement* cursor,
                                 const CSerializationContext& context) {
        while (cursor && m_pseudoStart(cursor)) {
            CSmartPtr<T> item(new T(""));
            ShareElementName(item.get(), *this);
            CXmlElement* next = CXmlObjectBase::FromXml_Int(item.get(), parent, cursor, context);
            if (next == cursor) break;
            AppendItem(item.get());
            cursor = next;
        }
        return cursor;
    }

    ElementFactory m_factory;
    StartTest m_pseudoStart;
};

// A repeated member of an enumerated type E, one element per value.
template <class E>
class CEnumCol : public CXmlTypeCollection {
public:
    using ToText = const char* (*)(int);
    using FromText = int (*)(const char*);

    CEnumCol(const char* elementName, const char* namespaceUri, int minOccurs, int maxOccurs,
             ToText toText, FromText fromText)
        : CXmlTypeCollection(ItemType_string, elementName, namespaceUri, minOccurs, maxOccurs, "",
                             -1, -1, "", "", "", "", -1, -1, -1,
                             CWhitespaceUtils::WhitespaceRule_Collapse, ""),
          m_toText(toText),
          m_fromText(fromText) {}
    CXmlObjectBase* GetBase() override { return this; }
    int GetCount() const override { return static_cast<int>(m_values.size()); }
    void Clear() override {
        while (!m_values.empty()) Remove(0);
    }
    void Remove(int index) override {
        CheckIndex(index);
        FireOnCollectionRemove(index);
        m_values.erase(m_values.begin() + index);
        FireOnCollectionRemoveComplete(index);
        FireOnCollectionChange();
    }
    void Add(E value) {
        FireOnCollectionAdd(nullptr);
        m_values.push_back(value);
        FireOnCollectionAddComplete(&m_values.back());
        FireOnCollectionChange();
    }
    E Item(int index) const {
        CheckIndex(index);
        return m_values[static_cast<std::size_t>(index)];
    }
    typename std::vector<E>::const_iterator begin() const { return m_values.begin(); }
    typename std::vector<E>::const_iterator end() const { return m_values.end(); }

protected:
    void AddFromString(std::string text) override {
        const int value = m_fromText(CWhitespaceUtils::Collapse(text).c_str());
        if (value < 0) {
            throw CTsInvalidValueException(
                FormatString("[%s] is not a value of [%s]", text.c_str(),
                             GetElementName().c_str()));
        }
        m_values.push_back(static_cast<E>(value));
    }
    void ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                   const CSerializationContext&, bool) const override {
        for (E value : m_values) {
            writer->StartElement(GetElementName(), namespaceUri ? namespaceUri : "");
            writer->WriteText(m_toText(value), ItemType_string, false);
            writer->EndElement();
        }
    }

private:
    void CheckIndex(int index) const {
        if (index < 0 || index >= GetCount()) {
            throw CTsInvalidParamException(
                FormatString("Index %d is out of range, use 0 - %d", index, GetCount() - 1));
        }
    }

    ToText m_toText;
    FromText m_fromText;
    std::vector<E> m_values;
};

}  // namespace Tessel16
