// json_text_reader_test.cpp: the JSON reader through a handler that records its events: the
// grammar with every message and its line and position, strings and escapes, the depth
// limit, comments, the root element name and the error path of the default handler.
#include "tessel16/json_text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "tessel16/exception.h"

using namespace Tessel16;

namespace {

// One transcript entry per event, separated by '|'.
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
    void Add(const std::string& event) { m_out += (m_out.empty() ? "" : "|") + event; }
    std::string& m_out;
};

std::string Read(const std::string& json, bool comments = false, const char* root = nullptr) {
    std::string transcript;
    CJsonTextReader reader(&json);
    reader.SetNextHandler(new Recorder(transcript));
    reader.SetAllowComments(comments);
    reader.SetRootElementName(root);
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
    const struct {
        const char* json;
        const char* events;
    } kCases[] = {
        {"{\"a\": [1, -2.5e+3, 0, 1E2, true, false, null, \"x\"], \"b\": {}}",
         "doc|{|name a|[|num 1|num -2.5e+3|num 0|num 1E2|true|false|null|str x|]|name b|{|}|}|"
         "/doc"},
        {" \r\n\t[ ] ", "doc|[|]|/doc"},
        {"-0", "doc|num -0|/doc"},
        {"\"s\"", "doc|str s|/doc"},
        {"[[],{}]", "doc|[|[|]|{|}|]|/doc"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(Read(c.json), c.events);
    }
}

TEST(JsonTextReader, StringEscapesDecode) {
    EXPECT_EQ(Read("\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u0041\\u00e9\\u20AC\\ud83d\\ude00\""),
              "doc|str \"\\/\b\f\n\r\tA\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80|/doc");
    // Multi-byte UTF-8 passes unchanged.
    EXPECT_EQ(Read("[\"\xC3\xA9\xF0\x9F\x98\x80\"]"), "doc|[|str \xC3\xA9\xF0\x9F\x98\x80|]|/doc");
}

TEST(JsonTextReader, ErrorsWithLineAndPosition) {
    const struct {
        const char* json;
        const char* message;
    } kCases[] = {
        {"", "Unexpected End of File. Expected Value at line 1, position 0."},
        {" \n ", "Unexpected End of File. Expected Value at line 2, position 1."},
        {"{\"a\" 1}",
         "Expected Object Name/Value separator character ':', found '1' at line 1, position 6."},
        {"nul", "Unexpected End of File. Expected value 'NULL' at line 1, position 3."},
        {"nulx", "Expected 'NULL' at line 1, position 4."},
        {"tru", "Unexpected End of File. Expected value 'true' at line 1, position 3."},
        {"[fals]", "Expected 'false' at line 1, position 6."},
        {"TRUE",
         "Expected Value '{', '[', '\"', '0-9', '-', 'true', 'false' or 'null', found 'T' at line "
         "1, position 1."},
        {"-", "Unexpected End of File. Expected a number at line 1, position 1."},
        {"1.", "Unexpected End of File. Expected a digit '0' to '9' at line 1, position 2."},
        {"1e", "Unexpected End of File. Expected '+', '-' or a number at line 1, position 2."},
        {"1e+", "Unexpected End of File. Expected a digit '0' to '9' at line 1, position 3."},
        {"[1.x]", "Expected a digit '0' to '9', found 'x' at line 1, position 4."},
        {"[-a]", "Expected a digit '0' to '9', found 'a' at line 1, position 3."},
        {"[01]", "Expected Array separator character ',', found '1' at line 1, position 3."},
        {"{",
         "Unexpected End of File. Expected Object terminator character '}}' at line 1, "
         "position 1."},
        {"{\"a\"",
         "Unexpected End of File. Expected Object Name/Value separator character ':' "
         "at line 1, position 4."},
        {"{\"a\":", "Unexpected End of File. Expected Object Value at line 1, position 5."},
        {"{\"a\":1",
         "Unexpected End of File. Expected Object terminator character '}' at line 1, "
         "position 6."},
        {"{\"a\":1,",
         "Unexpected End of File. Expected Object terminator character '}' at line "
         "1, position 7."},
        {"{\"a\":1 x", "Expected Object separator character ',', found 'x' at line 1, position 8."},
        {"{\"a\":1,}",
         "Expected quotation mark character '\"' before Name, found '}' at line 1, "
         "position 8."},
        {"{1:2}",
         "Expected quotation mark character '\"' before Name, found '1' at line 1, "
         "position 2."},
        {"[",
         "Unexpected End of File. Expected Array terminator character ']' at line 1, "
         "position 1."},
        {"[1,",
         "Unexpected End of File. Expected Array terminator character ']' at line 1, "
         "position 3."},
        {"[1 2]", "Expected Array separator character ',', found '2' at line 1, position 4."},
        {"[1,]",
         "Expected Value '{', '[', '\"', '0-9', '-', 'true', 'false' or 'null', found ']' at line "
         "1, position 4."},
        {"\"abc", "Unexpected End of File. Expected string value at line 1, position 4."},
        {"\"\\x\"", "Invalid Escape Character 'x' at line 1, position 3."},
        {"\"\\u12",
         "Unexpected End of File. Expected 4 hexadecimal digits'\\uxxxx' at line 1, "
         "position 5."},
        {"\"\\u12g4\"",
         "Expected 4 hexadecimal digits '\\uxxxx', found 'g' at line 1, position 6."},
        {"[\n\"a\nb\"]", "Invalid control character [0x0A] in string at line 2, position 3."},
        {"\"a\tb\"", "Invalid control character [0x09] in string at line 1, position 3."},
        {"\"\\ud800\"", "Invalid surrogate [\\uD800] in string at line 1, position 7."},
        {"\"\\ud800\\u0041\"", "Invalid surrogate [\\uD800] in string at line 1, position 13."},
        {"\"\\udc00\"", "Invalid surrogate [\\uDC00] in string at line 1, position 7."},
        {"\"a\xC3(\"", "Invalid UTF-8 sequence in string at line 1, position 3."},
        {"\"\xED\xA0\x80\"", "Invalid UTF-8 sequence in string at line 1, position 2."},
        {"[1]x", "Unexpected character 'x' after the JSON value at line 1, position 4."},
        {"{}\n}", "Unexpected character '}' after the JSON value at line 2, position 1."},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.json);
        EXPECT_TRUE(Fails(c.json, c.message));
    }
}

TEST(JsonTextReader, DepthLimitIsOneHundred) {
    const std::string hundred = std::string(100, '[') + std::string(100, ']');
    EXPECT_NO_THROW(Read(hundred));
    const std::string message = "JSON exceeded depth limit at line 1, position 101.";
    EXPECT_TRUE(Fails(std::string(101, '[') + std::string(101, ']'), message));
    EXPECT_TRUE(Fails(std::string(100, '[') + "1" + std::string(100, ']'), message));
}

TEST(JsonTextReader, CommentsOnlyWhenAllowed) {
    const std::string json = "/* x * / */ {\"a\": /**/ 1 // y\n, \"b\": 2} // z";
    EXPECT_EQ(Read(json, true), "doc|{|name a|num 1|name b|num 2|}|/doc");
    EXPECT_TRUE(Fails(
        json,
        "Expected Value '{', '[', '\"', '0-9', '-', 'true', 'false' or 'null', found '/' at line "
        "1, position 1."));
    // A slash that starts no comment stays an unexpected character.
    EXPECT_TRUE(Fails("[1,/x]",
                      "Expected Value '{', '[', '\"', '0-9', '-', 'true', 'false' or 'null', found "
                      "'/' at line 1, position 4.",
                      true));
    EXPECT_TRUE(Fails("/* only a comment */",
                      "Unexpected End of File. Expected Value at line 1, position 20.", true));
}

TEST(JsonTextReader, RootElementNameWrapsTheDocument) {
    EXPECT_EQ(Read("{\"a\": 1}", false, "Root"), "doc|{|name Root|{|name a|num 1|}|}|/doc");
}

TEST(JsonTextReader, ErrorPathNamesTheMember) {
    const struct {
        const char* json;
        const char* path;
    } kCases[] = {
        {"{\"R\": {\"Item\": [{\"n\": 1}, {\"n\": x}]}}", "$.R.Item[1].n"},
        {"{\"R\": {\"a\": 1, \"b\": [1, 2, x]}}", "$.R.b[1]"},
        {"{\"R\": {\"a\": 1}, \"S\" 1}", "$.S"},
        {"[x]", "$"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.json);
        try {
            Read(c.json);
            ADD_FAILURE() << "accepted";
        } catch (const CTsValidationException& e) {
            EXPECT_EQ(e.GetPath(), c.path);
        }
    }
}
