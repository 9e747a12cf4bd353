// xml_collection.h: what every collection member of a generated class shares. A collection
// is a bindable object of its own: it carries the element name and namespace of its items,
// their minimum and maximum count, and its listeners. CXmlCollection holds counted references
// to objects; CXmlTypeCollection (xml_type_collection.h) is the base of the collections of
// primitive values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/types.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

class TESSEL16_API CXmlCollectionBase : public CXmlObjectBase {
public:
    CXmlCollectionBase();
    CXmlCollectionBase(const CXmlCollectionBase& other);
    CXmlCollectionBase& operator=(const CXmlCollectionBase& other);

    int GetMinOccurs() const { return m_minOccurs; }
    // -1 when unbounded.
    int GetMaxOccurs() const { return m_maxOccurs; }

    // Listeners are not owned; the same sink may be added more than once.
    void AddEventListener(IEventSink* sink);
    // Removes every occurrence of the sink.
    void RemoveEventListener(IEventSink* sink);

    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Remove(int index) = 0;
    // Throws CTsValidationException when the count breaks the maximum or the minimum, unless
    // the context ignores collection counts.
    virtual void ValidateCount(const CSerializationContext& context) const;
    // The same test as ValidateCount, without throwing.
    virtual bool IsValidCount(const CSerializationContext& context) const;

    using CXmlObjectBase::GetBase;
    CXmlObjectBase* GetBase() override;
    // A collection has no schema of its own: always throws (a program logic error).
    std::string GetTargetNamespace() const override;
    std::string GetNamespace() const override;

protected:
    CXmlCollectionBase(const char* elementName, const char* namespaceUri, int minOccurs,
                       int maxOccurs);
    ~CXmlCollectionBase() override;

    void FireOnCollectionChange();
    void FireOnCollectionAdd(void* item);
    void FireOnCollectionAddComplete(void* item);
    void FireOnCollectionRemove(int index);
    void FireOnCollectionRemoveComplete(int index);

private:
    std::string m_namespace;
    std::vector<IEventSink*> m_listeners;
    std::int32_t m_minOccurs;
    std::int32_t m_maxOccurs;
};

// An ordered list of counted references to objects. Generated collections and the untyped
// collections wrap its protected members with their own item types.
class TESSEL16_API CXmlCollection : public CXmlCollectionBase {
public:
    // One entry of the list; holds one reference to its item.
    class TESSEL16_API CNode {
    public:
        explicit CNode(CXmlObjectBase* item) : m_item(item) {}
        CNode(const CNode&) = delete;
        CNode& operator=(const CNode&) = delete;

        CXmlObjectBase* GetItem() const { return m_item.get(); }
        CNode* GetNext() const { return m_next; }
        CNode* GetPrevious() const { return m_previous; }

    private:
        friend class CXmlCollection;
        CSmartPtr<CXmlObjectBase> m_item;
        CNode* m_next = nullptr;
        CNode* m_previous = nullptr;
    };

    int GetCount() const override;
    void Clear() override;
    void Remove(int index) override;

protected:
    CXmlCollection();
    CXmlCollection(const char* elementName, const char* namespaceUri, int minOccurs, int maxOccurs);
    // The copy holds its own nodes with references to the same items; no events fire.
    CXmlCollection(const CXmlCollection& other);
    CXmlCollection& operator=(const CXmlCollection& other);
    ~CXmlCollection() override;

    void AppendItem(CXmlObjectBase* item);
    void PrependItem(CXmlObjectBase* item);
    // Inserts before the item now at index; index == count appends.
    void AddItemAt(int index, CXmlObjectBase* item);
    // A null existing item prepends.
    void AddAfterItem(const CXmlObjectBase* existing, CXmlObjectBase* item);
    // A null existing item appends.
    void AddBeforeItem(const CXmlObjectBase* existing, CXmlObjectBase* item);
    CNode* GetNodeAtIndex(int index) const;
    CNode* GetNodeForItem(const CXmlObjectBase* item) const;
    void RemoveNode(CNode* node);
    CNode* GetHead() const { return m_head; }
    CNode* GetTail() const { return m_tail; }

    // The attributes of every item onto the parent's tag (items that are pseudo elements).
    void AttributesToXml_Int(CXmlWriter* writer,
                             const CSerializationContext& context) const override;

private:
    CNode* m_head = nullptr;
    CNode* m_tail = nullptr;
    std::int32_t m_count = 0;

    // Links a node before `before` (null: at the end) and counts it.
    void LinkBefore(CNode* node, CNode* before);
    void InsertWithEvents(CXmlObjectBase* item, CNode* before);
    void CopyItemsFrom(const CXmlCollection& other);
};

}  // namespace Tessel16
