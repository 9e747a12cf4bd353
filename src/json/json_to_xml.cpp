// json_to_xml.cpp: turns JSON events into XML text, so JSON input goes through the XML loader
// and its checks. Kept apart from the JSON reader, which knows nothing of XML. Namespaces
// need nothing here: prefixed names and "@xmlns" members pass through as names and
// attributes, and the XML parser resolves them.
#include "json/json_to_xml.h"

#include "json/json_messages.h"
#include "tessel16/exception.h"
#include "tessel16/json_reader_to_xml_handler.h"
#include "tessel16/streams.h"
#include "tessel16/xml_text_writer.h"

namespace Tessel16 {

namespace msg = detail::JsonMessages;

CJsonReaderToXmlHandler::CJsonReaderToXmlHandler(CXmlTextWriter* writer, JsonRoundTrip level,
                                                 IErrorPathProvider* errorPath)
    : m_writer(writer), m_level(level), m_errorPath(errorPath) {}

CJsonReaderToXmlHandler::~CJsonReaderToXmlHandler() = default;

void CJsonReaderToXmlHandler::StartJsonDocument() {
    m_openElements = 0;
    m_arrayStack.clear();
    m_currentName.clear();
    m_attributePending = false;
    m_textPending = false;
    m_writer->WriteXmlDeclaration();
}

void CJsonReaderToXmlHandler::EndJsonDocument() {}

void CJsonReaderToXmlHandler::ObjectName(const std::string& name) {
    if (name.empty())
        throw CTsValidationException(msg::kEmptyName,
                                     m_errorPath ? m_errorPath->GetErrorPath() : std::string());
    if (m_level > JsonRoundTrip_None) {
        if (name == "#text") {
            m_textPending = true;
            m_attributePending = false;
            return;
        }
        if (name[0] == '@') {
            m_attributePending = true;
            m_currentName.assign(name, 1, std::string::npos);
            return;
        }
    }
    StartXmlElement(name);
}

void CJsonReaderToXmlHandler::StringValue(const std::string& value) { WriteValue(value); }

void CJsonReaderToXmlHandler::NumberValue(const std::string& value) { WriteValue(value); }

void CJsonReaderToXmlHandler::BooleanValue(bool value) {
    static const std::string kTrue = "true";
    static const std::string kFalse = "false";
    WriteValue(value ? kTrue : kFalse);
}

void CJsonReaderToXmlHandler::NullValue() {
    StartItemIfNeeded();
    EndValue();
}

void CJsonReaderToXmlHandler::StartObject() {
    if (m_currentName.empty() && !m_arrayStack.empty()) StartXmlElement(m_arrayStack.back());
}

void CJsonReaderToXmlHandler::EndObject() {
    if (!m_textPending) EndValue();
    m_textPending = false;
}

void CJsonReaderToXmlHandler::StartArray() {
    if (m_currentName.empty())
        throw CTsValidationException(msg::kArrayWithoutName,
                                     m_errorPath ? m_errorPath->GetErrorPath() : std::string());
    m_arrayStack.push_back(m_currentName);
}

void CJsonReaderToXmlHandler::EndArray() {
    if (!m_arrayStack.empty()) m_arrayStack.pop_back();
    // An empty array still has the element its name started; it becomes an empty element.
    if (!m_currentName.empty() && !m_attributePending) EndValue();
}

void CJsonReaderToXmlHandler::StartXmlElement(const std::string& name) {
    m_attributePending = false;
    m_currentName = name;
    ++m_openElements;
    try {
        m_writer->StartElement(name, std::string());
    } catch (const CTsException& e) {
        throw CTsInvalidStateException(FormatString(msg::kElementNameFailed, name.c_str()), e);
    }
}

void CJsonReaderToXmlHandler::StartItemIfNeeded() {
    // The first item of an array uses the element its member name started; every later
    // item starts another element of the same name.
    if (m_currentName.empty() && !m_arrayStack.empty() && !m_textPending)
        StartXmlElement(m_arrayStack.back());
}

void CJsonReaderToXmlHandler::WriteValue(const std::string& value) {
    StartItemIfNeeded();
    if (m_attributePending) {
        try {
            m_writer->AddAttribute(m_currentName, std::string(), value, ItemType_string);
        } catch (const CTsException& e) {
            throw CTsInvalidStateException(FormatString(msg::kAttributeValueFailed, value.c_str()),
                                           e);
        }
    } else {
        try {
            m_writer->WriteText(value, ItemType_string, false);
        } catch (const CTsException& e) {
            throw CTsInvalidStateException(FormatString(msg::kElementValueFailed, value.c_str()),
                                           e);
        }
    }
    EndValue();
}

void CJsonReaderToXmlHandler::EndValue() {
    const bool wasAttribute = m_attributePending;
    m_currentName.clear();
    // An attribute's value ends only the attribute; the next item of an array of attribute
    // values (which has no XML form) then becomes an element.
    m_attributePending = false;
    if (!wasAttribute && m_openElements > 0) {
        --m_openElements;
        m_writer->EndElement();
    }
}

namespace detail {

CBinaryData ConvertJsonToXml(const char* json, std::size_t length,
                             const CSerializationContext& context, bool formatted) {
    CTextStream stream(XmlEncoding_UTF8);
    CXmlTextWriter writer(&stream);
    writer.SetCheckNames(false);
    writer.StartDocument();
    writer.SetFormatted(formatted);
    const CJsonContext& settings = context.GetJsonContext();
    CJsonTextReader reader(json, length);
    reader.SetNextHandler(new CJsonReaderToXmlHandler(&writer, settings.GetSupportRoundtrip(),
                                                      reader.GetDefaultHandler()));
    reader.SetAllowComments(settings.GetAllowComments());
    const std::string rootName = settings.GetRootElementName();
    reader.SetRootElementName(rootName.c_str());
    reader.Parse();
    writer.EndDocument();
    return stream.TakeBinaryData();
}

}  // namespace detail

}  // namespace Tessel16
