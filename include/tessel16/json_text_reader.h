// json_text_reader.h: CJsonTextReader, a recursive-descent JSON parser over 8-bit text in
// memory that reports what it reads to a chain of handlers, and the handler interfaces. The
// chain always starts with CJsonReaderDefaultHandler, which tracks where the reader is so
// that messages can name the location.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tessel16/export.h"
#include "tessel16/types.h"

namespace Tessel16 {

// Receives the events of one parse, in document order.
class TESSEL16_API IJsonReaderHandler : public CInstanceMonitor {
public:
    IJsonReaderHandler() : CInstanceMonitor("IJsonReaderHandler") {}
    virtual ~IJsonReaderHandler();

    virtual void StartJsonDocument() = 0;
    virtual void EndJsonDocument() = 0;
    // The name of an object member, before its value.
    virtual void ObjectName(const std::string& name) = 0;
    // A string value with its escapes decoded.
    virtual void StringValue(const std::string& value) = 0;
    // A number as it was written.
    virtual void NumberValue(const std::string& value) = 0;
    virtual void StartObject() = 0;
    virtual void EndObject() = 0;
    virtual void StartArray() = 0;
    virtual void EndArray() = 0;
    virtual void BooleanValue(bool value) = 0;
    virtual void NullValue() = 0;
};

// The location of the current event, for messages.
class TESSEL16_API IErrorPathProvider {
public:
    virtual std::string GetErrorPath() = 0;

protected:
    ~IErrorPathProvider() = default;
};

// First handler of every chain: keeps a stack of locations and passes every event on,
// unchanged, to the next handler, which it owns.
class TESSEL16_API CJsonReaderDefaultHandler : public IJsonReaderHandler,
                                               public IErrorPathProvider {
public:
    CJsonReaderDefaultHandler();
    ~CJsonReaderDefaultHandler() override;

    // Takes ownership of `next` (null: none) and destroys the previous one.
    void SetNextHandler(IJsonReaderHandler* next);
    IJsonReaderHandler* GetNextHandler() const { return m_next.get(); }

    void StartJsonDocument() override;
    void EndJsonDocument() override;
    void ObjectName(const std::string& name) override;
    void StringValue(const std::string& value) override;
    void NumberValue(const std::string& value) override;
    void StartObject() override;
    void EndObject() override;
    void StartArray() override;
    void EndArray() override;
    void BooleanValue(bool value) override;
    void NullValue() override;

    // "$", then ".name" for every enclosing member and object; an object in an array is
    // named after the array with its 0-based number ("$.Order.Item[1].sku"), and inside an
    // array of simple values the path names the last item read ("$.Order.sku[2]").
    std::string GetErrorPath() override;

private:
    enum FrameKind : std::int32_t { Frame_Array = 0, Frame_Member = 1, Frame_Object = 2 };
    struct Frame {
        std::string name;
        std::int32_t index;
        FrameKind kind;
    };
    // A scalar item of an array counts as one more item.
    void CountItem();
    void PopThrough(FrameKind kind);

    std::vector<Frame> m_frames;
    std::unique_ptr<IJsonReaderHandler> m_next;
};

class TESSEL16_API CJsonTextReader : public CInstanceMonitor {
public:
    // The input is not owned and must outlive the reader.
    explicit CJsonTextReader(const std::string* input);
    // The same over bytes that need not be in a std::string (a caller's buffer, say).
    CJsonTextReader(const char* data, std::size_t length);
    CJsonTextReader(const CJsonTextReader&) = delete;
    CJsonTextReader& operator=(const CJsonTextReader&) = delete;
    virtual ~CJsonTextReader();

    // The handler at the head of the chain; hang further handlers on it with SetNextHandler.
    CJsonReaderDefaultHandler* GetDefaultHandler() const { return m_handler.get(); }
    void SetNextHandler(IJsonReaderHandler* next) { m_handler->SetNextHandler(next); }
    bool GetAllowComments() const { return m_allowComments; }
    void SetAllowComments(bool allow) { m_allowComments = allow; }
    std::string GetRootElementName() const { return m_rootElementName; }
    // When set, the document is read as the value of a member of this name.
    void SetRootElementName(const char* name) { m_rootElementName = name ? name : ""; }
    // Whether the text is UTF-8 (the default when the library's 8-bit text is): string bytes
    // must then be well-formed UTF-8, and every \u escape above 127 becomes UTF-8 bytes.
    void SetValidateUtf8(bool validate) { m_validateUtf8 = validate; }

    // Reads the whole input. Throws CTsValidationException, with the message's line and
    // position and the handler's error path, at the first error; exceptions thrown by the
    // handlers pass through unchanged.
    void Parse();

private:
    bool ReadByte();
    bool ReadSignificant();
    void SkipToSignificant();
    void ParseValue(int depth);
    void ParseObject(int depth);
    void ParseArray(int depth);
    void ParseLiteral(const char* rest, std::size_t length, const char* eofMessage,
                      const char* mismatchMessage);
    void ParseNumber();
    void ReadString(std::string& out);
    std::uint32_t ReadHex4();
    void AppendCodePoint(std::string& out, std::uint32_t codePoint);
    [[noreturn]] void Fail(const char* message);
    [[noreturn]] void FailAt(const char* message, char found);

    std::unique_ptr<CJsonReaderDefaultHandler> m_handler;
    int m_depthLimit = 100;
    bool m_allowComments = false;
    bool m_validateUtf8 = true;
    std::string m_rootElementName;
    std::string_view m_input;
    std::uint32_t m_position = 0;
    char m_char = 0;
    bool m_endOfInput = false;
    std::uint32_t m_line = 1;
    std::uint32_t m_column = 0;
    std::string m_scratch;
};

}  // namespace Tessel16
