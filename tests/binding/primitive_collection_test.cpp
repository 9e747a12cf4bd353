// Primitive value collections: every kind written and read back through XML text (texts,
// item types and values), the event order of adding and removing, index messages, facet
// checks on adding, the kind checks of the date collections, and reading that stops at the first
// element of another name.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "binding/engine_messages.h"
#include "metadata/object_bridge.h"
#include "support/expect_exception.h"
#include "support/parsed_xml.h"
#include "support/recording_writer.h"
#include "tessel16/conversions.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_text_writer.h"

namespace {

using namespace Tessel16;
using Tessel16::test::ParsedXml;
using Tessel16::test::ThrowsExactly;
using Bridge = Tessel16::detail::ObjectBridge;
using Rule = CWhitespaceUtils::WhitespaceRule;
using C = CConversions;

struct Facets {
    const char* pattern = nullptr;
    std::int32_t minLength = -1;
    std::int32_t maxLength = -1;
    const char* minInclusive = nullptr;
    const char* maxInclusive = nullptr;
    const char* minExclusive = nullptr;
    const char* maxExclusive = nullptr;
    std::int32_t length = -1;
    std::int32_t totalDigits = -1;
    std::int32_t fractionDigits = -1;
    const char* format = nullptr;
    int minOccurs = 0;
    int maxOccurs = -1;
    Rule rule = CWhitespaceUtils::WhitespaceRule_Collapse;
};

template <class Col>
CSmartPtr<Col> Make(const Facets& f = Facets()) {
    return CSmartPtr<Col>(new Col("v", "urn:p", f.minOccurs, f.maxOccurs, f.pattern, f.minLength,
                                  f.maxLength, f.minInclusive, f.maxInclusive, f.minExclusive,
                                  f.maxExclusive, f.length, f.totalDigits, f.fractionDigits, f.rule,
                                  f.format));
}

// The collection's elements inside <root>, as XML text; the record's namespace is passed to
// show that the collection uses its own.
std::string WriteXml(const CXmlObjectBase* collection) {
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetFormatted(false);
    writer.StartElement("root", "urn:p");
    Bridge::WriteObject(collection, &writer, false, "urn:record", CSerializationContext(), false);
    writer.EndElement();
    writer.EndDocument();
    return stream.GetString();
}

std::vector<std::string> Transcript(const CXmlObjectBase* collection) {
    TestSupport::RecordingWriter writer;
    Bridge::WriteObject(collection, &writer, false, "urn:record", CSerializationContext(), false);
    return writer.Lines();
}

// Writes `values` through a collection, checks the element texts and item type, reads the
// XML back into a fresh collection and checks it holds equal values.
template <class Col, class V>
void RoundTrip(const std::vector<V>& values, const std::vector<std::string>& texts, int itemType,
               const Facets& facets = Facets()) {
    auto col = Make<Col>(facets);
    for (const V& value : values) col->Add(value);
    std::vector<std::string> expected;
    for (const std::string& text : texts) {
        expected.push_back("start urn:p v");
        expected.push_back("text " + text + " (" + std::to_string(itemType) + ")");
        expected.push_back("end");
    }
    EXPECT_EQ(Transcript(col.get()), expected);

    const std::string xml = WriteXml(col.get());
    const ParsedXml parsed(xml.c_str());
    auto back = Make<Col>(facets);
    CSerializationContext context;
    EXPECT_EQ(Bridge::ReadObject(back.get(), parsed.root, parsed.root->GetFirstElement(), context),
              nullptr);
    ASSERT_EQ(back->GetCount(), static_cast<int>(values.size())) << xml;
    for (int i = 0; i < back->GetCount(); ++i)
        EXPECT_TRUE(back->Item(i) == values[static_cast<size_t>(i)]) << xml << " item " << i;
    EXPECT_EQ(Transcript(back.get()), expected);
}

const Rule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

TEST(PrimitiveCollection, EveryKindRoundTripsThroughXml) {
    RoundTrip<Ci1Col, char>({-128, 0, 127}, {"-128", "0", "127"}, 3);
    RoundTrip<Ci2Col, short>({-32768, 32767}, {"-32768", "32767"}, 4);
    RoundTrip<Ci4Col, std::int32_t>({-2147483647 - 1, 5}, {"-2147483648", "5"}, 5);
    RoundTrip<Ci8Col, long long>({-9223372036854775807LL - 1, 9223372036854775807LL},
                                 {"-9223372036854775808", "9223372036854775807"}, 6);
    RoundTrip<Cui1Col, unsigned char>({0, 255}, {"0", "255"}, 7);
    RoundTrip<Cui2Col, unsigned short>({65535}, {"65535"}, 8);
    RoundTrip<Cui4Col, std::uint32_t>({4294967295u}, {"4294967295"}, 9);
    RoundTrip<Cui8Col, unsigned long long>({18446744073709551615ull}, {"18446744073709551615"}, 10);
    RoundTrip<Cr4Col, float>({1.5f, -0.25f}, {C::r4ToString(1.5f), C::r4ToString(-0.25f)}, 11);
    RoundTrip<Cr8Col, double>({2.5, 1e100}, {C::r8ToString(2.5), C::r8ToString(1e100)}, 12);
    RoundTrip<CdurationCol, CDateTimeSpan>({C::durationFromString("P1Y2M3DT4H5M6S", kCollapse)},
                                           {"P1Y2M3DT4H5M6S"}, 13);
    RoundTrip<CyearCol, unsigned short>({2024}, {C::yearToString(2024)}, 16);
    RoundTrip<CmonthCol, unsigned char>({3, 12}, {"--03", "--12"}, 17);
    RoundTrip<CdayCol, unsigned char>({7}, {"---07"}, 18);
    Facets preserve;
    preserve.rule = CWhitespaceUtils::WhitespaceRule_Preserve;
    RoundTrip<CstringCol, std::string>({"a & b", " spaced <x> ", ""}, {"a & b", " spaced <x> ", ""},
                                       23, preserve);
    RoundTrip<CbooleanCol, bool>({true, false}, {"true", "false"}, 24);
    RoundTrip<CdecimalCol, CDecimal>({C::decimalFromString("-12.5", kCollapse)}, {"-12.5"}, 25);
    RoundTrip<CintegerCol, CBigInteger>(
        {C::integerFromString("123456789012345678901234567890", kCollapse)},
        {"123456789012345678901234567890"}, 26);
    const CBinaryData bytes = C::hexBinaryFromString("00FF10", kCollapse);
    RoundTrip<ChexBinaryCol, CBinaryData>({bytes}, {"00FF10"}, 1);
    RoundTrip<Cbase64BinaryCol, CBinaryData>({bytes}, {C::base64BinaryToString(bytes)}, 2);
    // Every date kind is written with item type 20 and its own lexical form.
    RoundTrip<CdateCol, CDateTime>({C::dateFromString("2024-02-29", kCollapse)}, {"2024-02-29"},
                                   20);
    RoundTrip<CdatetimeCol, CDateTime>({C::datetimeFromString("2024-02-29T10:20:30Z", kCollapse)},
                                       {"2024-02-29T10:20:30Z"}, 20);
    RoundTrip<CtimeCol, CDateTime>({C::timeFromString("23:59:59", kCollapse)}, {"23:59:59"}, 20);
    RoundTrip<CmonthDayCol, CDateTime>({C::monthDayFromString("--02-29", kCollapse)}, {"--02-29"},
                                       20);
    RoundTrip<CyearMonthCol, CDateTime>({C::yearMonthFromString("2024-02", kCollapse)}, {"2024-02"},
                                        20);
}

// Records every event as "type:data", where data is the index for removals.
class Sink final : public IEventSink {
public:
    Sink() = default;
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

TEST(PrimitiveCollection, EventOrderOfAddingAndRemoving) {
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
}

TEST(PrimitiveCollection, IndexMessages) {
    auto col = Make<Ci4Col>();
    Sink sink;
    col->AddEventListener(&sink);
    // The add event comes before the index check.
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidParamException>([&] { col->AddAt(5, 1); }, "Index out of range"));
    EXPECT_EQ(sink.events, (std::vector<std::string>{"1:1"}));
    auto one = Make<Ci4Col>();
    one->Add(1);
    auto dates = Make<CdateCol>();
    const CDateTime date = C::dateFromString("2020-01-01", kCollapse);
    const struct {
        std::function<void()> call;
        const char* message;
    } kCases[] = {
        {[&] { col->AddAt(-1, 1); }, "Index out of range"},
        {[&] { col->Remove(0); }, "Index 0 is out of range, use 0 - -1"},
        {[&] { one->Item(1); }, "Index 1 is out of range, use 0 - 0"},
        {[&] { one->Item(-1); }, "Index -1 is out of range, use 0 - 0"},
        {[&] { dates->Item(0); }, "Index 0 is out of range, use 0 - -1"},
        {[&] { dates->AddAt(1, date); }, "Index out of range"},
        {[&] { dates->Remove(3); }, "Index 3 is out of range, use 0 - -1"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.message);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(c.call, c.message));
    }
}

TEST(PrimitiveCollection, FacetsAreCheckedAfterTheAddEvent) {
    Facets bounded;
    bounded.maxInclusive = "10";
    auto col = Make<Ci4Col>(bounded);
    Sink sink;
    col->AddEventListener(&sink);
    col->Add(10);
    EXPECT_THROW(col->Add(11), CTsInvalidValueException);
    EXPECT_EQ(col->GetCount(), 1);
    EXPECT_EQ(sink.events.back(), "1:11");  // the refused value was announced, not completed

    Facets pattern;
    pattern.pattern = "[a-z]+";
    pattern.rule = CWhitespaceUtils::WhitespaceRule_Preserve;
    auto strings = Make<CstringCol>(pattern);
    strings->Add("abc");
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>([&] { strings->Add("ab1"); },
                                                        "Invalid Value for v [ab1]."));
    EXPECT_EQ(strings->GetCount(), 1);

    // One refused value per kind that has facets; boolean has none to break.
    struct Refusal {
        const char* kind;
        std::function<void()> add;
    };
    const auto max = [](const char* bound) {
        Facets f;
        f.maxInclusive = bound;
        return f;
    };
    Facets min5, above5, len2, digits;
    min5.minInclusive = "5";
    above5.minExclusive = "5";
    len2.length = 2;
    digits.totalDigits = 2;
    const std::vector<Refusal> refusals = {
        {"i1", [&] { Make<Ci1Col>(min5)->Add(4); }},
        {"i2", [&] { Make<Ci2Col>(min5)->Add(4); }},
        {"i4 at an exclusive bound", [&] { Make<Ci4Col>(above5)->Add(5); }},
        {"i8", [&] { Make<Ci8Col>(min5)->Add(4); }},
        {"ui1", [&] { Make<Cui1Col>(min5)->Add(4); }},
        {"ui2", [&] { Make<Cui2Col>(min5)->Add(4); }},
        {"ui4", [&] { Make<Cui4Col>(min5)->Add(4); }},
        {"ui8", [&] { Make<Cui8Col>(min5)->Add(4); }},
        {"r4", [&] { Make<Cr4Col>(min5)->Add(4.5f); }},
        {"r8", [&] { Make<Cr8Col>(min5)->Add(4.5); }},
        {"year", [&] { Make<CyearCol>(min5)->Add(4); }},
        {"month", [&] { Make<CmonthCol>(max("--06"))->Add(7); }},
        {"day", [&] { Make<CdayCol>(max("---10"))->Add(11); }},
        {"duration",
         [&] { Make<CdurationCol>(max("P1D"))->Add(C::durationFromString("P2D", kCollapse)); }},
        {"date",
         [&] {
             Make<CdateCol>(max("2020-01-01"))->Add(C::dateFromString("2020-01-02", kCollapse));
         }},
        {"decimal",
         [&] { Make<CdecimalCol>(digits)->Add(C::decimalFromString("1.23", kCollapse)); }},
        {"integer",
         [&] { Make<CintegerCol>(digits)->Add(C::integerFromString("123", kCollapse)); }},
        {"hexBinary",
         [&] { Make<ChexBinaryCol>(len2)->Add(C::hexBinaryFromString("AA", kCollapse)); }},
        {"base64Binary",
         [&] { Make<Cbase64BinaryCol>(len2)->Add(C::hexBinaryFromString("AA", kCollapse)); }},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.kind);
        EXPECT_THROW(refusal.add(), CTsInvalidValueException);
    }

    Facets everything;
    everything.pattern = "x";
    everything.maxInclusive = "false";
    auto booleans = Make<CbooleanCol>(everything);
    booleans->Add(true);
    EXPECT_EQ(booleans->GetCount(), 1);
}

TEST(PrimitiveCollection, DateCollectionsRefuseOtherKindsBeforeAnyEvent) {
    const CDateTime date = C::dateFromString("2024-01-02", kCollapse);
    const CDateTime time = C::timeFromString("10:00:00", kCollapse);
    auto dates = Make<CdateCol>();
    Sink sink;
    dates->AddEventListener(&sink);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { dates->Add(time); }, "Dates added to this collection must be of type dt_date"));
    EXPECT_TRUE(sink.events.empty());
    dates->Add(date);
    EXPECT_EQ(sink.events.size(), 3u);
    EXPECT_TRUE(dates->Item(0) == date);

    const struct {
        std::function<void()> add;
        const char* kind;
    } kOthers[] = {{[&] { Make<CdatetimeCol>()->Add(date); }, "dt_dateTime"},
                   {[&] { Make<CtimeCol>()->Add(date); }, "dt_time"},
                   {[&] { Make<CmonthDayCol>()->Add(date); }, "dt_gMonthDay"},
                   {[&] { Make<CyearMonthCol>()->Add(date); }, "dt_gYearMonth"}};
    for (const auto& c : kOthers)
        EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
            c.add, std::string("Dates added to this collection must be of type ") + c.kind));
}

TEST(PrimitiveCollection, ReadingStopsAtTheFirstOtherElement) {
    const ParsedXml parsed(R"(<r xmlns="urn:p"><v>1</v><v> 2 </v><w/><v>3</v></r>)");
    auto col = Make<Ci4Col>();
    CSerializationContext context;
    CXmlElement* stop =
        Bridge::ReadObject(col.get(), parsed.root, parsed.root->GetFirstElement(), context);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->GetLocalName(), "w");
    std::vector<std::int32_t> values(col->begin(), col->end());
    EXPECT_EQ(values, (std::vector<std::int32_t>{1, 2}));

    // Text that does not convert fails with the conversion's error and adds nothing.
    const ParsedXml bad(R"(<r xmlns="urn:p"><v>1</v><v>x</v></r>)");
    auto failing = Make<Ci4Col>();
    EXPECT_THROW(Bridge::ReadObject(failing.get(), bad.root, bad.root->GetFirstElement(), context),
                 CTsInvalidValueException);
    EXPECT_EQ(failing->GetCount(), 1);
    const ParsedXml badDate(R"(<r xmlns="urn:p"><v>2020-13-01</v></r>)");
    auto dates = Make<CdateCol>();
    EXPECT_THROW(
        Bridge::ReadObject(dates.get(), badDate.root, badDate.root->GetFirstElement(), context),
        CTsException);
    EXPECT_EQ(dates->GetCount(), 0);
}

TEST(PrimitiveCollection, CopiesCarryValuesAndSettings) {
    Facets f;
    f.maxInclusive = "10";
    auto col = Make<Ci4Col>(f);
    col->Add(3);
    CSmartPtr<Ci4Col> copy(new Ci4Col(*col));
    copy->Add(4);
    EXPECT_EQ(col->GetCount(), 1);
    EXPECT_EQ(copy->GetCount(), 2);
    EXPECT_THROW(copy->Add(11), CTsInvalidValueException);
    auto dates = Make<CyearMonthCol>();
    dates->Add(C::yearMonthFromString("2020-05", kCollapse));
    CSmartPtr<CyearMonthCol> dateCopy(new CyearMonthCol(*dates));
    EXPECT_TRUE(dateCopy->Item(0) == dates->Item(0));
    *dateCopy = *Make<CyearMonthCol>();
    EXPECT_EQ(dateCopy->GetCount(), 0);
}

}  // namespace
