// xml_object_base.h: CXmlObjectBase, the root of every bindable object (generated classes,
// collections, untyped content), with its reference count, its public entry points for every
// format and target, and the protected helpers that generated property setters call.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/smart_ptr.h"
#include "tessel16/types.h"

namespace Tessel16 {

class CTextStream;

// Observer of collection changes; collections deliver one event per change to each sink.
class TESSEL16_API IEventSink {
public:
    enum MsgType : std::int32_t {
        MsgType_Change = 0,
        MsgType_Add = 1,
        MsgType_AddComplete = 2,
        MsgType_Remove = 3,
        MsgType_RemoveComplete = 4
    };

    virtual void OnEvent(CXmlObjectBase* source, MsgType type, void* data) = 0;

protected:
    // Sinks are never deleted through this interface.
    ~IEventSink() = default;
};

// Root of every serialisable object. Objects live on the heap and are shared through an
// intrusive, atomic reference count: the Release that brings it to 0 deletes the object.
class TESSEL16_API CXmlObjectBase : public IEventSink {
public:
    // Atomically adds one owner; returns the new count.
    std::int32_t AddRef();
    // Atomically drops one owner and deletes the object at 0; returns the new count.
    std::int32_t Release();

    // The object seen as its root base (every concrete class returns itself).
    virtual CXmlObjectBase* GetBase() = 0;
    const CXmlObjectBase* GetBase() const { return const_cast<CXmlObjectBase*>(this)->GetBase(); }

    // Writes the object as an XML file; compression 2 is refused, 1 writes gzip data.
    // Throws CTsException on a wrong generator version, a bad setting or a file error.
    virtual void ToXmlFile(const char* fileName, bool includeDocHeader, bool formatted,
                           XmlEncoding encoding, EOLType eol, const CSerializationContext& context,
                           CompressionType compression) const;
    virtual void ToFastInfosetFile(const char* fileName, FInfoDecl declaration,
                                   const CSerializationContext& context,
                                   CompressionType compression) const;
    virtual void ToJsonFile(const char* fileName, bool formatted, XmlEncoding encoding, EOLType eol,
                            const CSerializationContext& context,
                            CompressionType compression) const;
    // The object as XML text in the internal 8-bit encoding (no encoding attribute).
    virtual std::string ToXml(bool includeDocHeader, bool formatted, EOLType eol,
                              const CSerializationContext& context);
    virtual std::string ToJson(bool formatted, EOLType eol, const CSerializationContext& context);
    // The object as XML bytes in the given encoding (1 UTF-8, 2/3 UTF-16LE), optionally
    // gzip (1) or zlib (2) compressed. Encoding 0 throws "Unknown Encoding, ...".
    virtual CBinaryData ToXmlStream(bool includeDocHeader, bool formatted, XmlEncoding encoding,
                                    EOLType eol, const CSerializationContext& context,
                                    CompressionType compression);
    virtual CBinaryData ToFastInfosetStream(FInfoDecl declaration,
                                            const CSerializationContext& context,
                                            CompressionType compression);
    virtual CBinaryData ToJsonStream(bool formatted, XmlEncoding encoding, EOLType eol,
                                     const CSerializationContext& context,
                                     CompressionType compression);
    virtual void FromXmlFile(const char* fileName, const CSerializationContext& context);
    virtual void FromJsonFile(const char* fileName, const CSerializationContext& context);
    virtual void FromXml(const unsigned short* xmlText, const CSerializationContext& context);
    virtual void FromXml(const char* xmlText, const CSerializationContext& context);
    virtual void FromJson(const unsigned short* jsonText, const CSerializationContext& context);
    virtual void FromJson(const char* jsonText, const CSerializationContext& context);
    virtual void FromXmlStream(const CBinaryData& data, const CSerializationContext& context);
    virtual void FromXmlStream(unsigned char* const data, std::uint32_t length,
                               const CSerializationContext& context);
    virtual void FromJsonStream(const CBinaryData& data, const CSerializationContext& context);
    virtual void FromJsonStream(unsigned char* const data, std::uint32_t length,
                                const CSerializationContext& context);
    virtual void FromXmlElement(const CElement* element, const CSerializationContext& context);
    virtual void FromXmlElement(const CXmlElement* element, const CSerializationContext& context);

protected:
    // When the registered generator version is wrong, the first construction in the process
    // writes the version notice to the error output and goes on; it never throws. Every
    // entry point then writes the notice again and throws "Wrong Version (...)" on each call.
    CXmlObjectBase();
    // Copies the element name only; the copy starts unowned (count 0).
    CXmlObjectBase(const CXmlObjectBase& other);
    // Copies the element name; the target keeps its own count.
    CXmlObjectBase& operator=(const CXmlObjectBase& other);
    virtual ~CXmlObjectBase();

public:
    // The target namespace of the class's schema.
    virtual std::string GetTargetNamespace() const = 0;
    // The namespace of the object's element.
    virtual std::string GetNamespace() const = 0;

protected:
    // Gives `object` the name `from` has without interning it again (a collection names each
    // new item after itself); a name `from` owns is copied.
    static void ShareElementName(CXmlObjectBase* object, const CXmlObjectBase& from);
    // Names `object` with text that lives as long as the process (a literal of generated
    // code): it is pointed at, neither copied nor looked up.
    static void SetStaticElementName(CXmlObjectBase* object, const char* name);

    // Writes the object's attributes onto the open start tag; the base writes none.
    virtual void AttributesToXml_Int(CXmlWriter* writer,
                                     const CSerializationContext& context) const;
    // Writes the object as one element.
    virtual void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                           const CSerializationContext& context, bool inChoice) const = 0;
    // Fills the object from `element`, starting at its child `child`; returns where reading
    // stopped.
    virtual CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* child,
                                     const CSerializationContext& context, bool inChoice) = 0;
    // What every XML entry point does with the document element it parsed: a bound object
    // checks it (under strict reading) and reads its children; untyped content copies the
    // element itself with its whole subtree.
    virtual void ReadDocumentElement(CXmlElement* root, const CSerializationContext& context);

    void OnEvent(CXmlObjectBase* source, IEventSink::MsgType type, void* data) override;

    void SetElementName(const char* name);
    static void SetElementName(CXmlObjectBase* object, const char* name);
    std::string GetElementName() const { return m_elementName; }

    // Bridges through which records and collections reach another object's protected
    // virtual operations.
    static void ToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                          const char* namespaceUri, const CSerializationContext& context,
                          bool inChoice);
    static void AttributesToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer,
                                    const CSerializationContext& context);
    static CXmlElement* FromXml_Int(CXmlObjectBase* object, CXmlElement* element,
                                    CXmlElement* child, const CSerializationContext& context);

    // Collection events: each calls sink->OnEvent(collection->GetBase(), type, data). The
    // collection is taken as its base class, so a CXmlCollectionBase* converts implicitly.
    static void FireOnCollectionChangeEvent(IEventSink* sink, CXmlObjectBase* collection);
    static void FireOnCollectionAddEvent(IEventSink* sink, CXmlObjectBase* collection, void* item);
    static void FireOnCollectionAddCompleteEvent(IEventSink* sink, CXmlObjectBase* collection,
                                                 void* item);
    static void FireOnCollectionRemoveEvent(IEventSink* sink, CXmlObjectBase* collection,
                                            int index);
    static void FireOnCollectionRemoveCompleteEvent(IEventSink* sink, CXmlObjectBase* collection,
                                                    int index);

    // Choice bookkeeping: `current` names the member of the choice group that is set.
    // A second member being set throws CTsInvalidStateException.
    void Choice_SelectElement(const char* name, CXmlObjectBase* value, std::string& current);
    void Choice_SetElementValid(bool valid, const char* name, std::string& current);
    void Choice_CollectionChanged(const char* name, std::int32_t count, std::string& current);
    void Choice_Read_Collection(CXmlCollectionBase* collection, CXmlElement* element,
                                CXmlElement*& cursor, std::int32_t& count,
                                const CSerializationContext& context);

    // Throws CTsInvalidParamException when a mandatory member is given null.
    void Throw_IfPropertyIsNull(CXmlObjectBase* value, const char* propertyName);
    // Throws CTsInvalidParamException when `value` carries another element name.
    void Throw_IfElementNameDiffers(CXmlObjectBase* value, const char* elementName);

    // Tests a namespace against a wildcard constraint ("##any", "##other", "##local",
    // "##targetNamespace" or URIs, separated by single spaces).
    bool IsNamespaceValid(const char* namespaceUri, const char* allowed,
                          const char* targetNamespace) const;
    // As IsNamespaceValid, throwing CTsInvalidNamespaceException instead of returning false.
    void TestNamespace(const char* namespaceUri, const char* allowed,
                       const char* targetNamespace) const;
    bool DoesElementNameMatch(const CSerializationContext& context, const CXmlElement* element,
                              const char* localName, const char* namespaceUri) const;

private:
    // The writer steps shared by every XML text entry point, on a stream of the caller's.
    void WriteXmlDocument(CTextStream& stream, bool includeDocHeader, bool formatted, EOLType eol,
                          const CSerializationContext& context) const;
    // Maps JSON onto XML with `load` and reads it; below the full round-trip level the context
    // ignores namespaces for the call. A failed read is wrapped with the mapped (indented)
    // XML text.
    void FromJson_Int(const CSerializationContext& context,
                      CBinaryData (*load)(CXmlDocument& document, const void* source),
                      const void* source);
    // Loads a document with `load` and reads its element. A bound object reads while the
    // document is parsed; a read that went wrong there is repeated over the whole tree, so
    // messages and paths are those of a whole-tree read.
    void FromLoadedXml(const CSerializationContext& context,
                       void (*load)(CXmlDocument& document, const void* source),
                       const void* source);

    // Points at an interned copy shared by every object of that name or, when the name table
    // is full, at a copy this object owns; a string per object would cost 32 bytes.
    const char* m_elementName = "";
    std::atomic<std::int32_t> m_refCount{0};
    bool m_ownsElementName = false;
};

}  // namespace Tessel16
