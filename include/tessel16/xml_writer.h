// xml_writer.h: CXmlWriter, the interface every output format implements (XML text, JSON,
// Fast Infoset), and the element stack with copy-on-write namespace scopes that all formats
// share. The binding code only ever calls these operations, in document order.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tessel16/export.h"
#include "tessel16/types.h"

namespace Tessel16 {

// Progress of a repeated member around its items; only the JSON writer acts on it.
enum CollectionState : std::int32_t {
    CollectionState_None = 0,
    CollectionState_Starting = 1,
    CollectionState_Opened = 2,
    CollectionState_Ended = 3
};

class TESSEL16_API CXmlWriter : public CInstanceMonitor {
public:
    // Namespace URI to prefix, in byte-wise URI order.
    using NamespaceMap = std::map<std::string, std::string>;

    // One open element. A context shares the nearest ancestor's namespace scope until it
    // declares something of its own; only then does it copy the map.
    class TESSEL16_API CXmlWriterContext : public CInstanceMonitor {
    public:
        // A root context (parent null) owns a copy of the document map and default namespace;
        // a child context inherits its parent's scope.
        CXmlWriterContext(CXmlWriterContext* parent, const std::string& localName,
                          const std::string& namespaceUri, const NamespaceMap& documentMap,
                          const std::string& documentDefaultNamespace);
        CXmlWriterContext(const CXmlWriterContext&) = delete;
        CXmlWriterContext& operator=(const CXmlWriterContext&) = delete;
        // Destroys the parent chain too, unless DetachParent was called first.
        virtual ~CXmlWriterContext();

        // The default namespace of the nearest context (this one first) with its own scope.
        const std::string& GetDefaultNamespace() const;
        // The namespace map of that same context.
        const NamespaceMap& GetNamespaceMap() const;
        // The prefix bound to the URI in scope, or "" when none is.
        const std::string& LookupPrefix(const std::string& namespaceUri) const;
        // The prefix bound to the URI in scope, or null when none is. Valid until the scope
        // binds or rebinds something.
        const std::string* FindPrefix(const std::string& namespaceUri) const;
        void AddNamespace(const std::string& namespaceUri, const std::string& prefix);
        void SetDefaultNamespace(const std::string& namespaceUri);

        std::uint32_t GetChildCount() const { return m_childCount; }
        void AddChild() { ++m_childCount; }
        bool IsStartTagOpen() const { return m_startTagOpen; }
        void SetStartTagOpen(bool open) { m_startTagOpen = open; }
        std::uint32_t GetDepth() const { return m_depth; }
        const std::string& GetNamespace() const { return m_namespace; }
        const std::string& GetLocalName() const { return m_localName; }
        CXmlWriterContext* GetParent() const { return m_parent; }
        // Hands the parent back to the caller; this context no longer destroys it.
        CXmlWriterContext* DetachParent();
        bool GetFirstMemberWritten() const { return m_firstMemberWritten; }
        void SetFirstMemberWritten(bool written) { m_firstMemberWritten = written; }
        CollectionState GetCollectionState() const { return m_collectionState; }
        void SetCollectionState(CollectionState state) { m_collectionState = state; }
        // True while this element shares an ancestor's scope.
        bool InheritsScope() const { return m_inheritsScope; }

    private:
        friend class CXmlWriter;
        // Makes a context taken from the writer's spare list as good as a new one; keeps the
        // string buffers, so reopening elements does not allocate.
        void Reset(CXmlWriterContext* parent, const std::string& localName,
                   const std::string& namespaceUri, const NamespaceMap& documentMap,
                   const std::string& documentDefaultNamespace);
        // Frees the scope map this context owns, if any, before it goes to the spare list.
        void ReleaseScope();
        void MakeScopeOwn();

        std::uint32_t m_childCount = 0;
        bool m_startTagOpen = true;
        std::uint32_t m_depth = 0;
        std::string m_namespace;
        std::string m_localName;
        CXmlWriterContext* m_parent = nullptr;
        bool m_firstMemberWritten = false;
        CollectionState m_collectionState = CollectionState_None;
        std::string m_scopeDefaultNamespace;
        NamespaceMap* m_scopeMap = nullptr;
        bool m_inheritsScope = false;
        bool m_ownsMap = false;
        // The nearest context (this one or an ancestor) whose scope is its own. An ancestor
        // can only change its scope while it is innermost, so this never goes stale.
        const CXmlWriterContext* m_scopeOwner = nullptr;
        // On the scope owner: the entry its map answered last. A document's elements nearly
        // all share one or two namespaces, so most lookups end here without a map search.
        // Map entries never move and are never erased while the map lives.
        mutable const NamespaceMap::value_type* m_lastFound = nullptr;
    };

    explicit CXmlWriter(const char* className);
    CXmlWriter(const CXmlWriter&) = delete;
    CXmlWriter& operator=(const CXmlWriter&) = delete;
    // Destroys any open contexts without writing anything.
    virtual ~CXmlWriter();

    virtual void StartDocument();
    // Throws CTsException "An Element has not been closed." while an element is open.
    virtual void EndDocument();
    // Before the root: the document's default namespace; inside an element: that element's
    // scope. Writes nothing.
    virtual void SetDefaultNamespace(const std::string& namespaceUri);
    // Before the root: declared on the root; inside an element: bound in its scope.
    virtual void AddNamespaceAlias(const std::string& alias, const std::string& namespaceUri);
    virtual void WriteComment(const std::string& text) = 0;
    virtual void WriteProcessingInstruction(const std::string& text) = 0;
    virtual void WriteInLineSchema(const std::string& text) = 0;
    virtual void StartElement(const std::string& localName, const std::string& namespaceUri) = 0;
    virtual void WriteText(const std::string& text, ItemType type, bool isDefaultValue) = 0;
    virtual void EndElement() = 0;
    virtual void AddAttribute(const std::string& localName, const std::string& namespaceUri,
                              const std::string& value, ItemType type) = 0;
    virtual void AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                            ItemType type) = 0;
    virtual void AddXsiNil() = 0;
    // A whole element that holds only text, as StartElement, WriteText and EndElement would
    // write it; a writer may override it to write the element in one step.
    virtual void WriteSimpleElement(const std::string& localName, const std::string& namespaceUri,
                                    const std::string& text, ItemType type, bool isDefaultValue);

    // Stored on the innermost open element; ignored with none open.
    void SetCollectionState(CollectionState state);
    // The innermost open element, or null.
    CXmlWriterContext* GetCurrentContext() const { return m_current; }

    // The first two-capital prefix (AA, AB, ..., AZ, BA, ...) not bound in `map`.
    static std::string AllocatePrefix(const NamespaceMap& map);

protected:
    // Opens a context for a new element (a root context when none is open) and makes it
    // the current one.
    CXmlWriterContext* PushContext(const std::string& localName, const std::string& namespaceUri);
    // Closes the innermost context; its parent becomes the current one.
    void PopContext();
    const std::string& GetDocumentDefaultNamespace() const { return m_documentDefaultNamespace; }
    const NamespaceMap& GetDocumentNamespaceMap() const { return m_documentMap; }

private:
    std::string m_documentDefaultNamespace;
    CXmlWriterContext* m_current = nullptr;
    // Closed contexts kept for reuse, linked through their parent pointers: a document
    // opens an element for every value it writes, and reusing them saves an allocation
    // (and two string copies) per element.
    CXmlWriterContext* m_spare = nullptr;
    NamespaceMap m_documentMap;
};

}  // namespace Tessel16
