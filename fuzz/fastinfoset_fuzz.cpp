// fastinfoset_fuzz.cpp: Fast Infoset input under a fuzzer. Inputs that do not start with the
// identification get it put in front, so mutations are spent on the reader rather than the
// text parser. Contract: only the library's exception family escapes, and an accepted
// document written back as Fast Infoset reads back to the same tree.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

// Names, attributes and text in document order, without recursion.
std::string Canon(const CXmlElement* root) {
    std::string out;
    std::vector<std::pair<const CXmlElement*, bool>> work{{root, false}};
    while (!work.empty()) {
        auto [e, closing] = work.back();
        work.pop_back();
        if (closing) {
            out += e->GetText() + ")";
            continue;
        }
        out += "{" + e->GetNamespaceURI() + "}" + e->GetLocalName() + "(";
        for (const CXmlAttribute* a : e->GetAttributes())
            out += a->GetNamespaceURI() + "|" + a->GetLocalName() + "=" + a->GetValue() + ";";
        work.emplace_back(e, true);
        std::vector<const CXmlElement*> children;
        for (const CXmlElement* c = e->GetFirstElement(); c; c = c->GetNextSiblingElement())
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it) work.emplace_back(*it, false);
    }
    return out;
}

CSmartPtr<CElement> ToElement(const CXmlElement* source) {
    CSmartPtr<CElement> element(new CElement(source->GetLocalName().c_str()));
    element->SetNamespace(source->GetNamespaceURI().c_str());
    element->SetText(source->GetText().c_str());
    for (const CXmlAttribute* a : source->GetAttributes())
        element->GetAttributes()->Add(a->GetLocalName().c_str(), a->GetValue().c_str(),
                                      a->GetNamespaceURI().c_str());
    for (const CXmlElement* c = source->GetFirstElement(); c; c = c->GetNextSiblingElement())
        element->GetChildElements()->Add(ToElement(c).get());
    return element;
}

std::size_t Depth(const CXmlElement* root) {
    std::size_t deepest = 0;
    std::vector<std::pair<const CXmlElement*, std::size_t>> work{{root, 1}};
    while (!work.empty()) {
        auto [e, depth] = work.back();
        work.pop_back();
        deepest = std::max(deepest, depth);
        for (const CXmlElement* c = e->GetFirstElement(); c; c = c->GetNextSiblingElement())
            work.emplace_back(c, depth + 1);
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (Register(16, 1), true);
    (void)registered;
    std::vector<unsigned char> bytes;
    if (size < 4 || std::memcmp(data, "\xE0\x00\x00\x01", 4) != 0) {
        bytes = {0xE0, 0x00, 0x00, 0x01};
        if (size == 0) bytes.push_back(0x00);
    }
    bytes.insert(bytes.end(), data, data + size);
    CXmlDocument document;
    try {
        document.LoadXmlStream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    } catch (const CTsException&) {
        return 0;
    }
    const CXmlElement* root = document.GetDocumentElement();
    if (!root || Depth(root) > 200) return 0;  // the copy below recurses
    const std::string before = Canon(root);
    CSmartPtr<CElement> element = ToElement(root);
    CBinaryData written;
    try {
        written = element->ToFastInfosetStream(FInfoDecl_None, CSerializationContext(),
                                               CompressionType_None);
    } catch (const CTsException&) {
        return 0;  // e.g. names the writer cannot bind
    }
    CXmlDocument again;
    again.LoadXmlStream(written.GetData(), written.GetLength());
    if (Canon(again.GetDocumentElement()) != before) std::abort();
    return 0;
}
