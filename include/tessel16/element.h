// element.h: untyped elements. CElement keeps one element of wildcard content (xs:any, or an
// element declared without a type) as data: name, namespace, text, attributes and children,
// and the namespace constraint it was admitted under. CElementCol is an ordered collection
// of them. Both are bindable objects, so they are written and read like generated classes.
#pragma once

#include <string>

#include "tessel16/attribute.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/smart_ptr.h"
#include "tessel16/ts_iterator.h"
#include "tessel16/types.h"
#include "tessel16/xml_collection.h"

namespace Tessel16 {

class TESSEL16_API CElement : public CXmlObjectBase, public CInstanceMonitor {
public:
    // Any namespace is admitted (restriction "##any"); the element has no namespace.
    explicit CElement(const char* name);
    // The namespace is its own restriction; a wildcard keyword as namespace throws
    // CTsInvalidNamespaceException "Invalid Namespace [...]".
    CElement(const char* name, const char* namespaceUri);
    CElement(const char* name, const char* namespaceUri, const char* restriction,
             const char* targetNamespace);
    // The XML that `object` writes, parsed back into an untyped element. A non-null
    // `defaultNamespace` is declared as the default namespace of the written fragment.
    CElement(CXmlObjectBase* object, const char* defaultNamespace);
    // Copies every field; the attribute and child collections are shared.
    CElement(const CElement& other);
    CElement& operator=(const CElement& other);

    const std::string& GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name ? name : ""; }
    const std::string& GetText() const { return m_text; }
    void SetText(const char* text) { m_text = text ? text : ""; }
    // The setter does not re-check the namespace constraint.
    void SetNamespace(const char* namespaceUri) { m_namespace = namespaceUri ? namespaceUri : ""; }
    const std::string& GetNamespaceRestriction() const { return m_restriction; }
    const std::string& GetRestrictionTargetNamespace() const { return m_targetNamespace; }
    // The value of an xmlns attribute read with the element ("" when none).
    const std::string& GetDefaultNamespaceDeclaration() const { return m_defaultNamespaceDecl; }

    // The collections are created on first use: most elements of a large tree have no
    // attributes and many have no children.
    CSmartPtr<CAttributeCol> GetAttributes() const;
    CSmartPtr<CElementCol> GetChildElements() const;

    // A deep copy: same settings and text, cloned attributes and children.
    CSmartPtr<CElement> Clone() const;

    // Replaces the element by the document element of `xmlText` (parse errors throw).
    void FromXml(const char* xmlText);
    using CXmlObjectBase::FromXml;

    // Re-checks the element and every descendant against a new constraint, then adopts it
    // throughout the subtree. Throws CTsInvalidNamespaceException naming the first child that
    // breaks it.
    void SetNamespaceRestrictions(const char* restriction, const char* targetNamespace);

    using CXmlObjectBase::GetBase;
    CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return m_namespace; }
    std::string GetTargetNamespace() const override { return m_namespace; }

protected:
    ~CElement() override;

    void Init(const char* name, const char* namespaceUri, const char* restriction,
              const char* targetNamespace);
    // Takes name, namespace, text, attributes and the whole subtree from a parsed node.
    void CopyXmlElement(const CXmlElement* source);

    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;
    // Reads `element` itself (`child` names it): returns it untouched when its namespace is
    // not admitted, else its next sibling.
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* element,
                             const CSerializationContext& context, bool inChoice) override;
    // Every XML entry point reads the document element itself, with its whole subtree, so
    // one document gives the same element whichever of them reads it.
    void ReadDocumentElement(CXmlElement* root, const CSerializationContext& context) override;

private:
    friend class CElementCol;

    // A copy with cloned attributes and an empty child collection of the same settings.
    CSmartPtr<CElement> CloneShallow() const;
    CAttributeCol& Attributes() const;
    CElementCol& Children() const;

    std::string m_name;
    std::string m_text;
    std::string m_namespace;
    std::string m_restriction;
    std::string m_targetNamespace;
    // Null until first used; created with the namespace and target namespace the element
    // was made with, as if they had been created then.
    mutable CSmartPtr<CAttributeCol> m_attributes;
    mutable CSmartPtr<CElementCol> m_children;
    std::string m_defaultNamespaceDecl;
    std::string m_collectionNamespace;
    std::string m_collectionTargetNamespace;
};

class TESSEL16_API CElementCol : public CXmlCollection, public CInstanceMonitor {
public:
    // Checks `namespaceUri` against the constraint. Items are admitted by "##any" whatever
    // restriction is given (the constraint belongs to the record that reads the wildcard).
    CElementCol(const char* namespaceUri, const char* restriction, const char* targetNamespace,
                int minOccurs, int maxOccurs);
    // Copies the settings; the copy holds references to the same elements.
    CElementCol(const CElementCol& other);
    CElementCol& operator=(const CElementCol& other);

    // A new element in the collection's namespace; throws CTsInvalidStateException when the
    // collection has none.
    CElement* Add(const char* name);
    CElement* Add(const char* name, const char* namespaceUri);
    CElement* Add(CElement* element);
    CElement* AddAfter(const CElement* existing, CElement* element);
    CElement* AddBefore(const CElement* existing, CElement* element);

    CElement* Item(int index) const;
    CTsIterator<CElement> begin() const { return CTsIterator<CElement>(GetHead()); }
    CTsIterator<CElement> end() const { return CTsIterator<CElement>(); }

    const std::string& GetItemRestriction() const { return m_itemRestriction; }

    // Same settings, a clone of every element in order.
    CSmartPtr<CElementCol> Clone() const;

    std::string GetNamespace() const override { return m_targetNamespace; }
    std::string GetTargetNamespace() const override { return m_targetNamespace; }

    // Reads consecutive elements named `name` in `namespaceUri` (any namespace admitted) from
    // `cursor`; returns the first element it did not take.
    CXmlElement* FromXmlLockElementName_Int(const char* name, const char* namespaceUri,
                                            CXmlElement* parent, CXmlElement* cursor,
                                            const CSerializationContext& context);

protected:
    // Hands the items to the outermost destruction in progress, so a deep subtree is torn
    // down in a loop rather than by recursion.
    ~CElementCol() override;

    // Checks the count bounds, then writes every element in order.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;
    // Reads consecutive elements the item restriction admits; returns the first it did not
    // take.
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor,
                             const CSerializationContext& context, bool inChoice) override;

private:
    friend class CElement;

    // A collection with the same settings and no items.
    CSmartPtr<CElementCol> CloneEmpty() const;

    std::string m_itemRestriction;
    std::string m_namespace;
    std::string m_targetNamespace;
};

}  // namespace Tessel16
