// test_node.h: CTestNode, a hand-written bindable object for tests: an element with a name,
// a namespace, attributes, text and child nodes, whose ToXml_Int drives the writer directly.
// It also opens the protected helpers of CXmlObjectBase to the tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tessel16/binary_data.h"
#include "tessel16/serialization_context.h"
#include "tessel16/smart_ptr.h"
#include "tessel16/switches.h"
#include "tessel16/xml_object_base.h"
#include "tessel16/xml_writer.h"

namespace Tessel16::test {

class CTestNode : public CXmlObjectBase {
public:
    static CSmartPtr<CTestNode> Create(const std::string& name, const std::string& ns = "") {
        return CSmartPtr<CTestNode>(new CTestNode(name, ns));
    }
    CTestNode(const CTestNode& other) = default;
    CTestNode& operator=(const CTestNode& other) = default;

    // Adds a child element (in this node's namespace unless given) and returns it.
    CTestNode* AddChild(const std::string& name, const std::string& text = "") {
        CSmartPtr<CTestNode> child = Create(name, m_ns);
        child->m_text = text;
        m_children.push_back(child);
        return child.get();
    }
    void AddAttribute(const std::string& name, const std::string& value,
                      const std::string& ns = "") {
        m_attributes.push_back({name, ns, value});
    }
    void SetText(const std::string& text) { m_text = text; }
    std::string Name() const { return GetElementName(); }
    std::int32_t RefCount() {
        AddRef();
        return Release();  // the count as it was
    }

    CXmlObjectBase* GetBase() override { return this; }
    using CXmlObjectBase::GetBase;
    std::string GetTargetNamespace() const override { return m_ns; }
    std::string GetNamespace() const override { return m_ns; }

    // Live instances, so tests can see when the count destroyed one.
    static int& LiveCount() {
        static int count = 0;
        return count;
    }

    using CXmlObjectBase::Choice_CollectionChanged;
    using CXmlObjectBase::Choice_SelectElement;
    using CXmlObjectBase::Choice_SetElementValid;
    using CXmlObjectBase::IsNamespaceValid;
    using CXmlObjectBase::SetElementName;
    using CXmlObjectBase::TestNamespace;
    using CXmlObjectBase::Throw_IfElementNameDiffers;
    using CXmlObjectBase::Throw_IfPropertyIsNull;

protected:
    CTestNode(const std::string& name, const std::string& ns) : m_ns(ns) {
        SetElementName(name.c_str());
    }
    ~CTestNode() override = default;

    void AttributesToXml_Int(CXmlWriter* writer,
                             const CSerializationContext& /*context*/) const override {
        for (const auto& a : m_attributes)
            writer->AddAttribute(a.name, a.ns, a.value, ItemType_string);
    }

    void ToXml_Int(CXmlWriter* writer, bool /*isRoot*/, const char* namespaceUri,
                   const CSerializationContext& context, bool /*inChoice*/) const override {
        writer->StartElement(GetElementName(), namespaceUri ? namespaceUri : "");
        AttributesToXml_Int(writer, context);
        writer->WriteText(m_text, ItemType_string, false);
        for (const auto& child : m_children)
            CXmlObjectBase::ToXml_Int(child.get(), writer, false, child->m_ns.c_str(), context,
                                      false);
        writer->EndElement();
    }

    // Reading is not what this object is for.
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* child, const CSerializationContext&,
                             bool) override {
        return child;
    }

private:
    // Counts construction, copies included, and destruction.
    struct LiveToken {
        LiveToken() { ++LiveCount(); }
        LiveToken(const LiveToken&) { ++LiveCount(); }
        LiveToken& operator=(const LiveToken&) = default;
        ~LiveToken() { --LiveCount(); }
    };
    struct Attribute {
        std::string name;
        std::string ns;
        std::string value;
    };
    LiveToken m_live;
    std::string m_ns;
    std::string m_text;
    std::vector<Attribute> m_attributes;
    std::vector<CSmartPtr<CTestNode>> m_children;
};

// A directory for files the tests write, from the build (TESSEL16_TEST_TMP) or /tmp.
std::string TempPath(const std::string& fileName);
// The whole content of a file; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Replaces the file's content with `bytes`.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The bytes of binary data as a string, to compare with expected bytes.
inline std::string BytesOf(const CBinaryData& data) {
    return std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
}
// Sets the process-wide local code page for one scope and puts the one before it back.
struct CodePageScope {
    explicit CodePageScope(unsigned int codePage) { SetLocalCharEncoding(codePage); }
    ~CodePageScope() { SetLocalCharEncoding(m_saved); }
    unsigned int m_saved = detail::LocalCharEncoding();
};
// zlib's deflate and inflate; windowBits 31 is the gzip wrapper, 15 the zlib one.
std::string Compress(const std::string& data, int windowBits);
std::string Inflate(const std::string& compressed, int windowBits);

}  // namespace Tessel16::test
