// json_fuzz.cpp: JSON input under a fuzzer. Each input is parsed by the reader alone (comments
// on and off), mapped to XML through the loader and parsed as XML, and read into the
// purchase-order binding of the tests at round-trip levels 1 and 2.
// Contract: only the library's exception family escapes, and when an input is accepted,
// writing it as JSON and reading that back gives the same JSON again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "po/po_binding.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

// Checks that the events nest properly: every start has its end, names only inside objects.
class Balance : public IJsonReaderHandler {
public:
    void StartJsonDocument() override {}
    void EndJsonDocument() override {
        if (!m_open.empty()) Fail("document ended inside a value");
    }
    void ObjectName(const std::string&) override {
        if (m_open.empty() || m_open.back() != '{') Fail("name outside an object");
    }
    void StringValue(const std::string&) override {}
    void NumberValue(const std::string& value) override {
        if (value.empty()) Fail("empty number");
    }
    void StartObject() override { m_open.push_back('{'); }
    void EndObject() override { Close('{'); }
    void StartArray() override { m_open.push_back('['); }
    void EndArray() override { Close('['); }
    void BooleanValue(bool) override {}
    void NullValue() override {}

private:
    void Close(char kind) {
        if (m_open.empty() || m_open.back() != kind) Fail("unbalanced end");
        m_open.pop_back();
    }
    [[noreturn]] static void Fail(const char* what) {
        std::fprintf(stderr, "reader events: %s\n", what);
        std::abort();
    }
    std::string m_open;
};

void ReadOnly(const std::string& json, bool comments) {
    try {
        CJsonTextReader reader(&json);
        reader.SetNextHandler(new Balance);
        reader.SetAllowComments(comments);
        reader.Parse();
    } catch (const CTsException&) {
    }
}

void MapAndLoad(std::vector<unsigned char> bytes, const CSerializationContext& context) {
    try {
        CXmlDocument document(context);
        CBinaryData xml = document.LoadJsonStream(bytes.empty() ? nullptr : bytes.data(),
                                                  static_cast<std::uint32_t>(bytes.size()));
        document.LoadXmlStream(xml.GetData(), xml.GetLength());
    } catch (const CTsException&) {
    }
}

void ReadIntoBinding(const std::string& json, const CSerializationContext& context) {
    std::string written;
    try {
        CSmartPtr<Po::CPurchaseOrder> order(new Po::CPurchaseOrder);
        order->FromJson(json.c_str(), context);
        written = order->ToJson(false, EOLType_LF, context);
    } catch (const CTsException&) {
        return;
    }
    std::string again;
    try {
        CSmartPtr<Po::CPurchaseOrder> copy(new Po::CPurchaseOrder);
        copy->FromJson(written.c_str(), context);
        again = copy->ToJson(false, EOLType_LF, context);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        Register(16, 1, "", "", "");
        return true;
    }();
    (void)registered;
    if (size > (1u << 20)) return 0;  // large inputs only slow the search down
    const std::string json(reinterpret_cast<const char*>(data), size);

    static const CSerializationContext full;
    static const CSerializationContext attributes = [] {
        CSerializationContext c;
        c.GetJsonContext().SetSupportRoundtrip(JsonRoundTrip_Attributes);
        c.GetJsonContext().SetAllowComments(false);
        return c;
    }();
    static const CSerializationContext wrapped = [] {
        CSerializationContext c;
        c.GetJsonContext().SetSupportRoundtrip(JsonRoundTrip_None);
        c.GetJsonContext().SetRootElementName("purchaseOrder");
        return c;
    }();

    ReadOnly(json, false);
    ReadOnly(json, true);
    MapAndLoad(std::vector<unsigned char>(data, data + size), full);
    MapAndLoad(std::vector<unsigned char>(data, data + size), wrapped);
    // FromJson takes C text: an input with a zero byte stops there, which the reader alone
    // has covered already.
    ReadIntoBinding(json, full);
    ReadIntoBinding(json, attributes);
    return 0;
}
