// attribute.h: untyped attributes. CAttribute holds one attribute admitted by an
// xs:anyAttribute wildcard (or carried by an untyped element) as name, value and namespace;
// CAttributeCol owns them in document order and enforces the wildcard's namespace constraint.
#pragma once

#include <string>

#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/ts_iterator.h"
#include "tessel16/types.h"
#include "tessel16/xml_collection.h"

namespace Tessel16 {

class TESSEL16_API CAttribute : public CXmlObjectBase, public CInstanceMonitor {
public:
    CAttribute(const CAttribute& other);
    CAttribute& operator=(const CAttribute& other);

    const std::string& GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name ? name : ""; }
    const std::string& GetValue() const { return m_value; }
    void SetValue(const char* value) { m_value = value ? value : ""; }
    // The setters never re-check the owning collection's namespace constraint.
    void SetNamespace(const char* namespaceUri) { m_namespace = namespaceUri ? namespaceUri : ""; }

    // A new, unowned attribute with the same three fields.
    CSmartPtr<CAttribute> Clone() const;

    using CXmlObjectBase::GetBase;
    CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return m_namespace; }
    std::string GetTargetNamespace() const override { return m_namespace; }

protected:
    friend class CAttributeCol;
    // Attributes are made by their collection, which checks the namespace first.
    CAttribute(const char* name, const char* value, const char* namespaceUri);
    ~CAttribute() override;

    // One attribute on the start tag that is open, always as plain text.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;
    // Attributes are read only through their collection: always throws.
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* child,
                             const CSerializationContext& context, bool inChoice) override;

private:
    std::string m_name;
    std::string m_value;
    std::string m_namespace;
};

class TESSEL16_API CAttributeCol : public CXmlCollection, public CInstanceMonitor {
public:
    // With an empty namespace, a restriction whose first token is a URI (not a "##" keyword)
    // lends that URI as the namespace of attributes added without one.
    CAttributeCol(const char* namespaceUri, const char* restriction, const char* targetNamespace);
    // Copies the settings; the copy holds references to the same attributes.
    CAttributeCol(const CAttributeCol& other);
    CAttributeCol& operator=(const CAttributeCol& other);

    // Each Add checks the namespace against the restriction (CTsInvalidNamespaceException)
    // and returns the new attribute, which the collection holds.
    CAttribute* Add(const char* name, const char* value, const char* namespaceUri);
    CAttribute* Add(const char* name, const char* value);
    CAttribute* Add(const char* name);
    // Takes any attribute as it is, without a namespace test.
    CAttribute* Add(CAttribute* attribute);
    CAttribute* AddAfter(const CAttribute* existing, CAttribute* attribute);
    CAttribute* AddBefore(const CAttribute* existing, CAttribute* attribute);

    CAttribute* Item(int index) const;
    CTsIterator<CAttribute> begin() const { return CTsIterator<CAttribute>(GetHead()); }
    CTsIterator<CAttribute> end() const { return CTsIterator<CAttribute>(); }

    const std::string& GetNamespaceRestriction() const { return m_restriction; }
    const std::string& GetRestrictionTargetNamespace() const { return m_targetNamespace; }

    // A deep copy: same settings, a clone of every attribute in order.
    CSmartPtr<CAttributeCol> Clone() const;

    std::string GetTargetNamespace() const override;

protected:
    ~CAttributeCol() override;

    // One attribute per item onto the open start tag; the count bounds are not checked.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;
    // Adds every attribute of `element`; one outside the restriction throws
    // CTsInvalidNamespaceException with the element's path. Returns `child` unchanged.
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* child,
                             const CSerializationContext& context, bool inChoice) override;

private:
    std::string m_restriction;
    std::string m_targetNamespace;
};

}  // namespace Tessel16
