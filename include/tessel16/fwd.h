// fwd.h: forward declarations of the public classes, for headers that only pass pointers.
#pragma once

namespace Tessel16 {
class CTsException;
class CBinaryData;
class CDateTime;
class CDateTimeSpan;
class CDecimal;
class CBigInteger;
class TsVariant;
class CXmlObjectBase;
class CXmlGeneratedClass;
class CXmlCollectionBase;
class CSerializationContext;
class CNamespaceAliasMap;
class CFastInfosetContext;
class CJsonContext;
class CXmlWriter;
class CXmlTextWriter;
class CXmlDocument;
class CXmlElement;
class CXmlAttribute;
class CElement;
class CElementCol;
class CAttribute;
class CAttributeCol;
class CPrimitiveRestrictions;
class CWhitespaceUtils;
class CConversions;
class IEventSink;
template <class T>
class CSmartPtr;
}  // namespace Tessel16

namespace Tessel16Data {
class CElementInfo;
class CAttributeInfo;
class CParentElementInfo;
}  // namespace Tessel16Data
