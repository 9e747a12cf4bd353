// json_reader_to_xml_handler.h: CJsonReaderToXmlHandler, the handler that turns the events
// of a JSON parse into XML text through a CXmlTextWriter: members become elements, "@"
// members attributes, "#text" members text, and array items repeated elements.
#pragma once

#include <string>
#include <vector>

#include "tessel16/export.h"
#include "tessel16/json_context.h"
#include "tessel16/json_text_reader.h"

namespace Tessel16 {

class CXmlTextWriter;

class TESSEL16_API CJsonReaderToXmlHandler : public IJsonReaderHandler {
public:
    // Neither the writer nor the path provider is owned; both must outlive the handler.
    // At level 0 every member name is an element name; above it "@" and "#text" are special.
    CJsonReaderToXmlHandler(CXmlTextWriter* writer, JsonRoundTrip level,
                            IErrorPathProvider* errorPath);
    ~CJsonReaderToXmlHandler() override;

    // Writes the XML declaration.
    void StartJsonDocument() override;
    void EndJsonDocument() override;
    // Throws CTsValidationException "JSON item has an empty Name." for an empty name.
    void ObjectName(const std::string& name) override;
    void StringValue(const std::string& value) override;
    void NumberValue(const std::string& value) override;
    void StartObject() override;
    void EndObject() override;
    // Throws CTsValidationException "JSON Array has no Name." outside a member.
    void StartArray() override;
    void EndArray() override;
    void BooleanValue(bool value) override;
    void NullValue() override;

private:
    void StartXmlElement(const std::string& name);
    void WriteValue(const std::string& value);
    void EndValue();
    // A scalar item of an array after the first is one more element of the array's name.
    void StartItemIfNeeded();

    CXmlTextWriter* m_writer;
    JsonRoundTrip m_level;
    IErrorPathProvider* m_errorPath;
    // Only how many elements this handler has open matters, not their names.
    std::size_t m_openElements = 0;
    std::vector<std::string> m_arrayStack;
    std::string m_currentName;
    bool m_attributePending = false;
    bool m_textPending = false;
};

}  // namespace Tessel16
