// element_tree.cpp: the operations of untyped elements that walk a whole subtree: reading,
// writing, cloning, copying a parsed tree, re-checking namespaces and destruction. Wildcard
// content is as deep as the document makes it, so every walk keeps its own stack on the heap
// instead of recursing: a million levels cost memory in proportion, never machine stack.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "tessel16/element.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_text_writer.h"
#include "untyped/untyped_messages.h"

namespace Tessel16 {

namespace M = detail::UntypedMessages;

namespace {

// Elements whose last reference goes while a subtree is being torn down wait here instead of
// being destroyed inside their parent's destructor; the outermost destructor empties it.
thread_local std::vector<CSmartPtr<CXmlObjectBase>>* t_doomed = nullptr;

// The fragment of one element while its subtree is written: an element that came with
// its own default namespace declaration is written by a writer of its own, so that the
// declaration scopes exactly its subtree, and lands in the outer writer as raw text.
struct Fragment {
    CTextStream stream;
    CXmlTextWriter writer{&stream};
    CSerializationContext context;
};

struct WriteFrame {
    const CElement* element;
    CXmlWriter* writer;
    const char* namespaceUri;
    const CSerializationContext* context;
    const CXmlCollection::CNode* next;
    std::unique_ptr<Fragment> fragment;
    bool inRun = false;   // among this element's children, a run of one name is open
    bool endsRun = false; // this element is the last of its parent's run
};

}  // namespace

void CElement::CopyXmlElement(const CXmlElement* source) {
    struct Pending {
        CElement* target;
        const CXmlElement* source;
    };
    std::vector<Pending> work{{this, source}};
    while (!work.empty()) {
        const Pending item = work.back();
        work.pop_back();
        CElement* target = item.target;
        target->m_name = item.source->GetLocalName();
        target->m_namespace = item.source->GetNamespaceURI();
        target->m_text = item.source->GetText();
        if (target->m_attributes) target->m_attributes->Clear();
        if (target->m_children) target->m_children->Clear();
        for (const CXmlAttribute* attribute : item.source->GetAttributes()) {
            target->Attributes().Add(attribute->GetLocalName().c_str(),
                                     attribute->GetValue().c_str(),
                                     attribute->GetNamespaceURI().c_str());
            // Only a tree parsed without namespace processing shows declarations as
            // attributes.
            if (attribute->GetLocalName() == "xmlns")
                target->m_defaultNamespaceDecl = attribute->GetValue();
        }
        // Children are taken in document order; each is filled when it leaves the stack.
        const std::size_t first = work.size();
        for (const CXmlElement* child = item.source->GetFirstElement(); child;
             child = child->GetNextSiblingElement()) {
            CSmartPtr<CElement> element(new CElement(child->GetLocalName().c_str()));
            target->Children().Add(element.get());
            work.push_back({element.get(), child});
        }
        std::reverse(work.begin() + static_cast<std::ptrdiff_t>(first), work.end());
    }
}

CSmartPtr<CElement> CElement::CloneShallow() const {
    // Built field by field: the namespace may have been changed by SetNamespace since the
    // constraint was last checked, and a clone must not fail where the original stands.
    CSmartPtr<CElement> copy(new CElement(m_name.c_str()));
    copy->m_text = m_text;
    copy->m_namespace = m_namespace;
    copy->m_restriction = m_restriction;
    copy->m_targetNamespace = m_targetNamespace;
    copy->m_defaultNamespaceDecl = m_defaultNamespaceDecl;
    copy->m_collectionNamespace = m_collectionNamespace;
    copy->m_collectionTargetNamespace = m_collectionTargetNamespace;
    if (m_attributes) copy->m_attributes = m_attributes->Clone();
    if (m_children) copy->m_children = m_children->CloneEmpty();
    return copy;
}

CSmartPtr<CElement> CElement::Clone() const {
    CSmartPtr<CElement> root = CloneShallow();
    struct Pending {
        const CElement* source;
        CElement* copy;
    };
    std::vector<Pending> work{{this, root.get()}};
    while (!work.empty()) {
        const Pending item = work.back();
        work.pop_back();
        if (!item.source->m_children) continue;
        for (const CElement* child : *item.source->m_children) {
            CSmartPtr<CElement> copy = child->CloneShallow();
            // Appended without a namespace test: the items stand here already.
            item.copy->m_children->AppendItem(copy.get());
            work.push_back({child, copy.get()});
        }
    }
    return root;
}

CSmartPtr<CElementCol> CElementCol::Clone() const {
    CSmartPtr<CElementCol> copy = CloneEmpty();
    for (const CElement* element : *this) copy->AppendItem(element->Clone().get());
    return copy;
}

void CElement::SetNamespaceRestrictions(const char* restriction, const char* targetNamespace) {
    if (!restriction) throw CTsInvalidNamespaceException(M::kRestrictionMissing, "");
    if (!targetNamespace) throw CTsInvalidNamespaceException(M::kTargetNamespaceMissing, "");
    TestNamespace(m_namespace.c_str(), restriction, targetNamespace);
    // Every descendant is checked before any is changed, so a refusal leaves the subtree as
    // it was. Each element's children are checked before its grandchildren, and the first
    // offender is named.
    std::vector<CElement*> subtree{this};
    for (std::size_t i = 0; i < subtree.size(); ++i) {
        if (!subtree[i]->m_children) continue;
        for (CElement* child : *subtree[i]->m_children) {
            try {
                TestNamespace(child->m_namespace.c_str(), restriction, targetNamespace);
            } catch (const CTsException& error) {
                throw CTsInvalidNamespaceException(
                    FormatString(M::kChildBreaksRestriction, child->m_namespace.c_str(),
                                 child->m_name.c_str(), restriction),
                    "", error);
            }
            subtree.push_back(child);
        }
    }
    for (CElement* element : subtree) {
        element->m_restriction = restriction;
        element->m_targetNamespace = targetNamespace;
    }
}

void CElement::ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                         const CSerializationContext& context, bool) const {
    if (isRoot) {
        // As a document element, untyped content declares the context's namespace aliases
        // like a bound class does, so every format can name the namespaces below it.
        const CNamespaceAliasMap& aliases = context.GetNamespaceAliases();
        for (int i = 0; i < aliases.GetNamespaceCount(); ++i) {
            const std::string ns = aliases.GetNamespaceAt(i);
            writer->AddNamespaceAlias(aliases.GetAliasFromNamespace(ns.c_str()), ns);
        }
    }
    std::vector<WriteFrame> stack;
    // Opens an element: its start tag (or its fragment) and its attributes.
    auto open = [&stack](const CElement* element, CXmlWriter* target, const char* ns,
                         const CSerializationContext* settings) {
        const CElementCol* children = element->m_children.get();
        WriteFrame frame{element, target, ns, settings, children ? children->GetHead() : nullptr,
                         nullptr};
        CXmlTextWriter* text = dynamic_cast<CXmlTextWriter*>(target);
        // Writers other than XML text cannot take a raw fragment; they get the element the
        // ordinary way, which names the same namespaces without the separate declaration.
        if (!element->m_defaultNamespaceDecl.empty() && text) {
            frame.fragment = std::make_unique<Fragment>();
            CXmlTextWriter& inner = frame.fragment->writer;
            inner.StartDocument();
            inner.SetFormatted(text->IsFormatted());
            inner.SetEOLType(text->GetEOLType());
            inner.SetDefaultNamespace(element->m_defaultNamespaceDecl);
            inner.StartElement(element->m_name, element->m_namespace);
            // The fragment starts a namespace scope of its own, so its children are written
            // under settings that know only this declaration; its attributes are not written.
            frame.fragment->context.SetDefaultNamespaceURI(element->m_defaultNamespaceDecl.c_str());
            frame.writer = &inner;
            frame.namespaceUri = element->m_namespace.c_str();
            frame.context = &frame.fragment->context;
        } else {
            target->StartElement(element->m_name, element->m_namespace);
            if (element->m_attributes)
                CXmlObjectBase::ToXml_Int(element->m_attributes.get(), target, false, ns, *settings,
                                          false);
        }
        if (children) children->ValidateCount(*frame.context);
        stack.push_back(std::move(frame));
    };
    open(this, writer, namespaceUri, &context);
    while (!stack.empty()) {
        WriteFrame& top = stack.back();
        if (top.next) {
            const auto* child = static_cast<const CElement*>(top.next->GetItem());
            top.next = top.next->GetNext();
            // Consecutive children of one name are marked as a repeated member, so that
            // formats which group them (JSON writes one name and an array) see them as one;
            // XML ignores it. A lone child is no repeated member.
            const auto* following =
                top.next ? static_cast<const CElement*>(top.next->GetItem()) : nullptr;
            const bool sameAsNext = following && following->m_name == child->m_name &&
                                    following->m_namespace == child->m_namespace;
            if (!top.inRun) {
                top.inRun = sameAsNext;
                top.writer->SetCollectionState(sameAsNext ? CollectionState_Starting
                                                          : CollectionState_None);
            }
            const bool endsRun = top.inRun && !sameAsNext;
            if (endsRun) top.inRun = false;
            open(child, top.writer, top.namespaceUri, top.context);
            stack.back().endsRun = endsRun;
            continue;
        }
        // The text follows the child elements.
        top.writer->WriteText(top.element->m_text, ItemType_string, false);
        top.writer->EndElement();
        if (top.fragment) {
            top.fragment->writer.EndDocument();
            std::string fragment = top.fragment->stream.GetString();
            // The outer writer ends the raw fragment's line itself.
            while (!fragment.empty() && (fragment.back() == '\n' || fragment.back() == '\r'))
                fragment.pop_back();
            const bool endsRun = top.endsRun;
            stack.pop_back();
            auto* outer =
                static_cast<CXmlTextWriter*>(stack.empty() ? writer : stack.back().writer);
            outer->PrepareForRawChild();
            outer->WriteRaw(fragment);
            if (endsRun) outer->SetCollectionState(CollectionState_Ended);
        } else {
            const bool endsRun = top.endsRun;
            stack.pop_back();
            if (endsRun) (stack.empty() ? writer : stack.back().writer)
                             ->SetCollectionState(CollectionState_Ended);
        }
    }
}

CXmlElement* CElement::FromXml_Int(CXmlElement*, CXmlElement* element,
                                   const CSerializationContext& context, bool) {
    if (!element) return element;
    const std::string& ns = element->GetNamespaceURI();
    if (!IsNamespaceValid(ns.c_str(), m_restriction.c_str(), m_targetNamespace.c_str()))
        return element;

    struct ReadFrame {
        CElement* target;
        CXmlElement* source;
        CXmlElement* cursor;
        // The element being read, added to its parent's children once it is complete.
        CSmartPtr<CElement> owned;
    };
    std::vector<ReadFrame> stack;
    auto enter = [&stack, &context](CElement* target, CXmlElement* source,
                                    CSmartPtr<CElement> owned) {
        if (!source->GetAttributes().empty())
            CXmlObjectBase::FromXml_Int(&target->Attributes(), source, nullptr, context);
        stack.push_back({target, source, source->GetFirstElement(), std::move(owned)});
    };
    enter(this, element, nullptr);
    while (!stack.empty()) {
        ReadFrame& top = stack.back();
        if (CXmlElement* cursor = top.cursor) {
            const CElementCol& children = top.target->Children();
            const char* childNs = cursor->GetNamespaceURI().c_str();
            // The child collections admit "##any": a wildcard's constraint covers the element
            // it admitted, not that element's own content, so every child is taken and this
            // is a guard for a collection that would stop early rather than a rule a document
            // can break.
            CSmartPtr<CElement> child;
            if (IsNamespaceValid(childNs, children.m_itemRestriction.c_str(),
                                 children.m_targetNamespace.c_str()))
                child = new CElement(cursor->GetLocalName().c_str(), childNs,
                                     children.m_itemRestriction.c_str(),
                                     children.m_targetNamespace.c_str());
            if (!child || !IsNamespaceValid(childNs, child->m_restriction.c_str(),
                                            child->m_targetNamespace.c_str()))
                throw CTsValidationException(
                    FormatString(M::kInvalidElement, top.source->GetLocalName().c_str()),
                    top.source->GetXPath());
            top.cursor = cursor->GetNextSiblingElement();
            CElement* target = child.get();
            enter(target, cursor, std::move(child));
            continue;
        }
        CElement* done = top.target;
        done->m_text = top.source->GetText();
        done->m_name = top.source->GetLocalName();
        done->m_namespace = top.source->GetNamespaceURI();
        CSmartPtr<CElement> owned = std::move(top.owned);
        stack.pop_back();
        if (owned) stack.back().target->Children().AppendItem(owned.get());
    }
    return element->GetNextSiblingElement();
}

CElementCol::~CElementCol() {
    // A child element's destructor runs inside its parent's, so destroying the items here
    // would recurse once per level. Instead they are handed to the outermost destruction,
    // which releases them one at a time.
    std::vector<CSmartPtr<CXmlObjectBase>> local;
    const bool outermost = t_doomed == nullptr;
    std::vector<CSmartPtr<CXmlObjectBase>>& doomed = outermost ? local : *t_doomed;
    try {
        for (const CNode* node = GetHead(); node; node = node->GetNext())
            doomed.push_back(node->GetItemPtr());
    } catch (const std::bad_alloc&) {
        // Without room to defer, the remaining items are released as the list goes, which
        // is correct and merely recursive.
    }
    if (!outermost) return;
    while (GetCount() > 0) CXmlCollection::Remove(0);
    t_doomed = &local;
    while (!local.empty()) {
        CSmartPtr<CXmlObjectBase> item = std::move(local.back());
        local.pop_back();
    }
    t_doomed = nullptr;
}

}  // namespace Tessel16
