// class_factory.h: the base of the generated class factories. A factory turns a parsed
// element (its name and xsi:type) into an object of the matching generated class; the two
// helpers here read the xsi:type so that every factory resolves prefixes the same way.
#pragma once

#include <string>

#include "tessel16/export.h"
#include "tessel16/fwd.h"

namespace Tessel16 {

class TESSEL16_API CClassfactoryBase {
public:
    CClassfactoryBase() = default;
    CClassfactoryBase(const CClassfactoryBase&) = default;
    CClassfactoryBase& operator=(const CClassfactoryBase&) = default;
    virtual ~CClassfactoryBase();

protected:
    // The local part of the element's xsi:type, or "" when it has none.
    static std::string GetElementType(CXmlElement* element);
    // The namespace of the element's xsi:type: the one bound to its prefix in the document,
    // or the element's own namespace when the type has no prefix or the prefix is unbound.
    static std::string GetElementTypeNamespaceUri(CXmlElement* element);
};

}  // namespace Tessel16
