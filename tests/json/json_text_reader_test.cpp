// json_text_reader_test.cpp: the JSON reader through a handler that records its events: the
// grammar with every message and its line and position, strings and escapes, the depth
// limit, comments and the error path of the default handler. The root element name is read
// through the mapping to XML, in json_to_xml_test.
#include "tessel16/json_text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/exception.h"

using namespace Tessel16;

namespace {

// One transcript entry per event, separated by "; ".
class Recorder : public IJsonReaderHandler {
public:
    explicit Recorder(std::string& out) : m_out(out) {}
    void StartJsonDocument() override { Add("doc"); }
    void EndJsonDocument() override { Add("/doc"); }
    void ObjectName(const std::string& name) override { Add("name " + name); }
    void StringValue(const std::string& value) override { Add("str " + value); }
    void NumberValue(const std::string& value) override { Add("num " + value); }
    void StartObject() override { Add("{"); }
    void EndObject() override { Add("}"); }
    void StartArray() override { Add("["); }
    void EndArray() override { Add("]"); }
    void BooleanValue(bool value) override { Add(value ? "true" : "false"); }
    void NullValue() override { Add("null"); }

private:
    void Add(const std::string& event) { m_out += (m_out.empty() ? "" : "; ") + event; }
    std::string& m_out;
};

std::string Read(const std::string& json, bool comments = false) {
    std::string transcript;
    CJsonTextReader reader(&json);
    reader.SetNextHandler(new Recorder(transcript));
    reader.SetAllowComments(comments);
    reader.Parse();
    return transcript;
}

// Reader errors are CTsValidationException whose message is the text, then "\nPath: " and
// the location.
::testing::AssertionResult Fails(const std::string& json, const std::string& message,
                                 bool comments = false) {
    try {
        Read(json, comments);
    } catch (const CTsException& e) {
        if (typeid(e) != typeid(CTsValidationException))
            return ::testing::AssertionFailure() << "threw " << typeid(e).name();
        const std::string text = e.GetMessage();
        if (text.rfind(message + "\nPath: $", 0) != 0)
            return ::testing::AssertionFailure() << "message [" << text << "]";
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "accepted";
}

}  // namespace

TEST(JsonTextReader, EventsOfValidDocuments) {
    for (const test::TableRow& c : test::ReadTable("json/reader_events.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Read(c[0], c.cells.size() > 2 && c[2] == "comments"), c[1]);
    }
}

TEST(JsonTextReader, ErrorsWithLinePositionAndPath) {
    for (const test::TableRow& c : test::ReadTable("json/reader_errors.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_TRUE(Fails(c[0], c[1], c.cells.size() > 2 && c[2] == "comments"));
    }

    // The error path names the member.
    for (const test::TableRow& c : test::ReadTable("json/reader_error_paths.txt")) {
        SCOPED_TRACE(c.line);
        const auto e = test::Caught<CTsValidationException>([&] { Read(c[0]); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->GetPath(), c[1]);
    }
}

// A hundred levels are read; the 101st is a row of reader_errors.txt.
TEST(JsonTextReader, DepthLimitIsOneHundred) {
    EXPECT_NO_THROW(Read(std::string(100, '[') + std::string(100, ']')));
}
