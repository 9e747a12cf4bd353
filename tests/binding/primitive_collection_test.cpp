// Primitive value collections: every kind read and written back through XML text (texts,
// item types, facets and conversion failures, in tests/data/binding/primitive_collections.txt),
// the event order of adding and removing, index messages and the kind checks of the date
// collections. Reading that stops at the first element of another name, to go on after it,
// is the interleaved all group of binding/collection_reads.txt.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "metadata/object_bridge.h"
#include "support/expect_exception.h"
#include "support/parsed_xml.h"
#include "support/recording_writer.h"
#include "support/test_table.h"
#include "tessel16/conversions.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_text_writer.h"

namespace {

using namespace Tessel16;
using Tessel16::test::ParsedXml;
using Tessel16::test::ThrowsExactly;
using Bridge = Tessel16::detail::ObjectBridge;
using Rule = CWhitespaceUtils::WhitespaceRule;
using ::testing::AnyOf;
using ::testing::Each;
using ::testing::EndsWith;
using ::testing::StartsWith;
using C = CConversions;

const Rule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

// The collection's facets as the tables write them, e.g. "maxInclusive=10 pattern=[a-z]+";
// the whitespace rule is collapse unless "preserve" is named.
template <class Col>
CSmartPtr<Col> Make(const std::string& facets = "") {
    std::map<std::string, std::string> f;
    std::istringstream words(facets);
    for (std::string word; words >> word;) {
        const std::string::size_type eq = word.find('=');
        f[word.substr(0, eq)] = eq == std::string::npos ? "" : word.substr(eq + 1);
    }
    const auto text = [&](const char* key) { return f.count(key) ? f[key].c_str() : nullptr; };
    const auto number = [&](const char* key) { return f.count(key) ? std::stoi(f[key]) : -1; };
    const Rule rule = f.count("preserve") ? CWhitespaceUtils::WhitespaceRule_Preserve
                                          : CWhitespaceUtils::WhitespaceRule_Collapse;
    return CSmartPtr<Col>(new Col(
        "v", "urn:p", 0, -1, text("pattern"), number("minLength"), number("maxLength"),
        text("minInclusive"), text("maxInclusive"), text("minExclusive"), text("maxExclusive"),
        number("length"), number("totalDigits"), number("fractionDigits"), rule, text("format")));
}

template <class Col>
CSmartPtr<CXmlObjectBase> MakeKind(const std::string& facets) {
    return Make<Col>(facets);
}

// Every kind by the name the tables give it, which is its class's name between C and Col.
#define KIND(name) std::make_pair(#name, &MakeKind<C##name##Col>)
const std::map<std::string, CSmartPtr<CXmlObjectBase> (*)(const std::string&)> kKinds = {
    KIND(i1),       KIND(i2),       KIND(i4),      KIND(i8),        KIND(ui1),
    KIND(ui2),      KIND(ui4),      KIND(ui8),     KIND(r4),        KIND(r8),
    KIND(duration), KIND(year),     KIND(month),   KIND(day),       KIND(string),
    KIND(boolean),  KIND(decimal),  KIND(integer), KIND(hexBinary), KIND(base64Binary),
    KIND(date),     KIND(datetime), KIND(time),    KIND(monthDay),  KIND(yearMonth)};
#undef KIND

// The collection's elements inside <root>, as XML text; the record's namespace is passed to
// show that the collection uses its own.
std::string WriteXml(const CXmlObjectBase* collection) {
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetFormatted(false);
    writer.SetDefaultNamespace("urn:p");
    writer.StartElement("root", "urn:p");
    Bridge::WriteObject(collection, &writer, false, "urn:record", CSerializationContext(), false);
    writer.EndElement();
    writer.EndDocument();
    return stream.GetString();
}

// Reads the <v> elements of `document` into the collection: the refusal's message, or "-".
std::string ReadInto(CXmlObjectBase* collection, const std::string& document) {
    const ParsedXml parsed(document.c_str());
    try {
        EXPECT_EQ(Bridge::ReadObject(collection, parsed.root, parsed.root->GetFirstElement(),
                                     CSerializationContext()),
                  nullptr);
    } catch (const CTsInvalidValueException& e) {
        return e.GetMessage();
    }
    return "-";
}

// Each row of binding/primitive_collections.txt read into a fresh collection of its kind: the
// refusal, and what the collection then writes; what it writes reads back to the same.
TEST(PrimitiveCollection, EveryKindReadsAndWritesItsTexts) {
    for (const test::TableRow& c : test::ReadTable("binding/primitive_collections.txt")) {
        SCOPED_TRACE("primitive_collections.txt line " + std::to_string(c.line));
        CSmartPtr<CXmlObjectBase> col = kKinds.at(c[0])(c[1]);
        EXPECT_EQ(ReadInto(col.get(), "<r xmlns=\"urn:p\">" + c[2] + "</r>"), c[5]);
        const std::string written = WriteXml(col.get());
        EXPECT_EQ(written, "<root xmlns=\"urn:p\">" + (c[3] == "=" ? c[2] : c[3]) + "</root>");
        TestSupport::RecordingWriter writer;
        Bridge::WriteObject(col.get(), &writer, false, "urn:record", CSerializationContext(),
                            false);
        const std::string type = " (" + std::to_string(test::ItemTypeNamed(c[4])) + ")";
        EXPECT_THAT(writer.Lines(), Each(AnyOf("end", StartsWith("start "), EndsWith(type))));
        if (c[5] != "-") continue;
        CSmartPtr<CXmlObjectBase> back = kKinds.at(c[0])(c[1]);
        EXPECT_EQ(ReadInto(back.get(), written), "-");
        EXPECT_EQ(WriteXml(back.get()), written);
    }
}

// Records every event as "type:data", where data is the index for removals.
class Sink final : public IEventSink {
public:
    virtual ~Sink() = default;
    std::vector<std::string> events;
    void OnEvent(CXmlObjectBase*, MsgType type, void* data) override {
        std::string entry = std::to_string(static_cast<int>(type));
        if ((type == MsgType_Remove || type == MsgType_RemoveComplete) && data)
            entry += ":" + std::to_string(*static_cast<int*>(data));
        if ((type == MsgType_Add || type == MsgType_AddComplete) && data)
            entry += ":" + std::to_string(*static_cast<std::int32_t*>(data));
        events.push_back(entry);
    }
};

TEST(PrimitiveCollection, EventOrderOfAddingRemovingAndRefusing) {
    auto col = Make<Ci4Col>();
    Sink sink;
    col->AddEventListener(&sink);
    col->Add(10);
    col->Add(30);
    col->AddAt(1, 20);
    EXPECT_EQ(sink.events, (std::vector<std::string>{"1:10", "2:10", "0", "1:30", "2:30", "0",
                                                     "1:20", "2:20", "0"}));
    std::vector<std::int32_t> values(col->begin(), col->end());
    EXPECT_EQ(values, (std::vector<std::int32_t>{10, 20, 30}));

    sink.events.clear();
    col->Remove(1);
    // Remove reports the index; the completion always reports 0.
    EXPECT_EQ(sink.events, (std::vector<std::string>{"3:1", "4:0", "0"}));
    sink.events.clear();
    col->Clear();
    EXPECT_EQ(sink.events, (std::vector<std::string>{"3:0", "4:0", "0", "3:0", "4:0", "0"}));
    EXPECT_EQ(col->GetCount(), 0);

    // A refused value was announced, not completed. The refusals of every kind's facets are
    // rows of primitive_collections.txt.
    auto bounded = Make<Ci4Col>("maxInclusive=10");
    bounded->AddEventListener(&sink);
    bounded->Add(10);
    EXPECT_THROW(bounded->Add(11), CTsInvalidValueException);
    EXPECT_EQ(bounded->GetCount(), 1);
    EXPECT_EQ(sink.events.back(), "1:11");

    // A copy carries the values and the facets, and is a collection of its own.
    CSmartPtr<Ci4Col> copy(new Ci4Col(*bounded));
    copy->Add(4);
    EXPECT_EQ(bounded->GetCount(), 1);
    EXPECT_EQ(copy->GetCount(), 2);
    EXPECT_THROW(copy->Add(11), CTsInvalidValueException);
}

TEST(PrimitiveCollection, IndexMessagesAndDateKindsRefusedBeforeAnyEvent) {
    auto col = Make<Ci4Col>();
    Sink sink;
    col->AddEventListener(&sink);
    // The add event comes before the index check.
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidParamException>([&] { col->AddAt(5, 1); }, "Index out of range"));
    EXPECT_EQ(sink.events, (std::vector<std::string>{"1:1"}));
    // A date of another kind is refused before any event.
    auto dates = Make<CdateCol>();
    Sink dateSink;
    dates->AddEventListener(&dateSink);
    const CDateTime date = C::dateFromString("2024-01-02", kCollapse);
    const CDateTime time = C::timeFromString("10:00:00", kCollapse);
    const std::string wrongKind = "Dates added to this collection must be of type ";
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidParamException>([&] { dates->Add(time); }, wrongKind + "dt_date"));
    EXPECT_TRUE(dateSink.events.empty());
    auto one = Make<Ci4Col>();
    one->Add(1);
    const struct {
        std::function<void()> call;
        std::string message;
    } kCases[] = {
        {[&] { col->AddAt(-1, 1); }, "Index out of range"},
        {[&] { col->Remove(0); }, "Index 0 is out of range, use 0 - -1"},
        {[&] { one->Item(1); }, "Index 1 is out of range, use 0 - 0"},
        {[&] { one->Item(-1); }, "Index -1 is out of range, use 0 - 0"},
        {[&] { dates->Item(0); }, "Index 0 is out of range, use 0 - -1"},
        {[&] { dates->AddAt(1, date); }, "Index out of range"},
        {[&] { dates->Remove(3); }, "Index 3 is out of range, use 0 - -1"},
        {[&] { Make<CdatetimeCol>()->Add(date); }, wrongKind + "dt_dateTime"},
        {[&] { Make<CtimeCol>()->Add(date); }, wrongKind + "dt_time"},
        {[&] { Make<CmonthDayCol>()->Add(date); }, wrongKind + "dt_gMonthDay"},
        {[&] { Make<CyearMonthCol>()->Add(date); }, wrongKind + "dt_gYearMonth"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.message);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(c.call, c.message));
    }
    dateSink.events.clear();
    dates->Add(date);
    EXPECT_EQ(dateSink.events.size(), 3u);
    EXPECT_TRUE(dates->Item(0) == date);
    CSmartPtr<CdateCol> dateCopy(new CdateCol(*dates));
    EXPECT_TRUE(dateCopy->Item(0) == date);
    *dateCopy = *Make<CdateCol>();
    EXPECT_EQ(dateCopy->GetCount(), 0);
}

}  // namespace
