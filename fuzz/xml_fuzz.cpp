// xml_fuzz.cpp: XML input under a fuzzer. Each input is loaded as a byte stream, an 8-bit
// string and 16-bit text into bare documents (whose every node is then asked for its path,
// the text every message carries), read into the purchase-order binding of the tests,
// strictly and with each leniency on, and read as untyped content: an element of its own and
// the wildcard of a bound class, under a nesting limit deep enough for 100 000 levels.
// Contract: only the library's exception family escapes; when an input is accepted into the
// binding, writing it and reading the result back gives the same text again; what untyped
// content writes always parses.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "po/po_binding.h"
#include "support/untyped_binding.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

// Every node's path; the walk is iterative so deep inputs cannot exhaust the stack here.
void WalkTree(const CXmlElement* root) {
    std::size_t total = 0;
    const CXmlElement* e = root;
    while (e != nullptr) {
        total += e->GetXPath().size() + e->GetText().size();
        for (const CXmlAttribute* a : e->GetAttributes()) {
            total += a->GetXPath().size();
            (void)a->IsNamespaceAttribute();
            (void)a->IsNilAttribute();
        }
        if (e->GetFirstElement() != nullptr) {
            e = e->GetFirstElement();
            continue;
        }
        while (e != nullptr && e->GetNextSiblingElement() == nullptr) e = e->GetParentElm();
        if (e != nullptr) e = e->GetNextSiblingElement();
    }
    if (total == static_cast<std::size_t>(-1)) std::abort();  // keeps the walk from being elided
}

// Untyped reads allow nesting deep enough for the largest inputs the target takes.
const CSerializationContext& DeepContext() {
    static const CSerializationContext deep = [] {
        CSerializationContext c;
        c.SetMaxDepth(400000);
        return c;
    }();
    return deep;
}

void LoadBare(const std::vector<unsigned char>& bytes, const CSerializationContext& context) {
    std::vector<unsigned char> copy(bytes);
    try {
        CXmlDocument document(context);
        document.LoadXmlStream(copy.empty() ? nullptr : copy.data(),
                               static_cast<std::uint32_t>(copy.size()));
        WalkTree(document.GetDocumentElement());
        (void)document.LookupNamespaceFromAlias("AA");
        (void)document.LookupAliasFromNamespace("urn:example:po");
    } catch (const CTsException&) {
    }
    // The same bytes as an 8-bit string (up to the first NUL, never inflated) and as 16-bit
    // units (up to the first zero unit).
    try {
        const std::string text(bytes.begin(), bytes.end());
        CXmlDocument document(context);
        document.LoadXml(text.c_str());
        WalkTree(document.GetDocumentElement());
    } catch (const CTsException&) {
    }
    try {
        std::vector<unsigned short> units(bytes.size() / 2 + 1, 0);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            units[i / 2] = static_cast<unsigned short>(bytes[i] | (bytes[i + 1] << 8));
        CXmlDocument document(context);
        document.LoadXml(units.data());
        WalkTree(document.GetDocumentElement());
    } catch (const CTsException&) {
    }
}

void ReadIntoBinding(const std::vector<unsigned char>& bytes,
                     const CSerializationContext& context) {
    std::string written;
    try {
        CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
        order->FromXmlStream(CBinaryData(const_cast<unsigned char*>(bytes.data()),
                                         static_cast<std::uint32_t>(bytes.size()), false),
                             context);
        written = order->ToXml(true, false, EOLType_LF, context);
    } catch (const CTsException&) {
        return;
    }
    // What we wrote must read back and write out unchanged.
    std::string again;
    try {
        CSmartPtr<Po::CPurchaseOrder> copy(new Po::CPurchaseOrder);
        copy->FromXml(written.c_str(), context);
        again = copy->ToXml(true, false, EOLType_LF, context);
    } catch (const CTsException& e) {
        std::fprintf(stderr, "our own output was refused:\n%s\n--- output:\n%s\n",
                     e.GetFullMessage().c_str(), written.c_str());
        std::abort();
    }
    if (again != written) {
        std::fprintf(stderr, "not a fixed point:\n%s\n--- second write:\n%s\n", written.c_str(),
                     again.c_str());
        std::abort();
    }
}

void MustParse(const std::string& written, const char* what) {
    try {
        CXmlDocument document(DeepContext());
        document.LoadXml(written.c_str());
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s wrote what does not parse:\n%s\n--- output:\n%s\n", what,
                     e.GetFullMessage().c_str(), written.c_str());
        std::abort();
    }
}

void ReadUntyped(const std::vector<unsigned char>& bytes) {
    const CSerializationContext& context = DeepContext();
    const std::string text(bytes.begin(), bytes.end());
    try {
        CSmartPtr<CElement> element(new CElement("placeholder"));
        element->FromXml(text.c_str(), context);
        CSmartPtr<CElement> copy = element->Clone();
        element = nullptr;
        const std::string written = copy->ToXml(false, false, EOLType_LF, context);
        if (!written.empty()) MustParse(written, "an untyped element");
        copy->SetNamespaceRestrictions("##other", "urn:example:po");
    } catch (const CTsException&) {
    }
    try {
        CSmartPtr<UntypedTest::Inner> inner(new UntypedTest::Inner());
        inner->FromXml(text.c_str(), context);
        const std::string written = inner->ToXml(false, false, EOLType_LF, context);
        if (!written.empty()) MustParse(written, "a bound wildcard");
    } catch (const CTsException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        Register(16, 1, "", "", "");
        return true;
    }();
    (void)registered;
    if (size > (2u << 20)) return 0;  // large inputs only slow the search down
    const std::vector<unsigned char> bytes(data, data + size);

    // Unknown elements and missing mandatory ones cannot both be ignored (the context refuses
    // the combination), so each leniency gets a context of its own.
    static const CSerializationContext strict;
    static const CSerializationContext skipUnknown = [] {
        CSerializationContext c;
        c.SetIgnoreUnknownElements(true);
        c.SetIgnoreUnknownAttributes(true);
        c.SetIgnoreNamespaces(true);
        return c;
    }();
    static const CSerializationContext allowMissing = [] {
        CSerializationContext c;
        c.SetIgnoreMissingMandatoryElements(true);
        c.SetIgnoreInvalidCollectionCounts(true);
        c.SetIgnoreMissingChoice(true);
        c.SetStripCDATA(false);
        return c;
    }();

    // Without namespace processing names keep their prefixes and xmlns attributes stay
    // attributes; with CDATA kept the section markers land in the text.
    static const CSerializationContext raw = [] {
        CSerializationContext c;
        c.SetSchemaType(SchemaType_NoNamespaces);
        c.SetStripCDATA(false);
        return c;
    }();

    LoadBare(bytes, strict);
    LoadBare(bytes, raw);
    ReadIntoBinding(bytes, strict);
    ReadIntoBinding(bytes, skipUnknown);
    ReadIntoBinding(bytes, allowMissing);
    ReadUntyped(bytes);
    return 0;
}
