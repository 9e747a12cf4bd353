// recording_writer.cpp: the transcript writer of the engine tests.
#include "support/recording_writer.h"

namespace TestSupport {

using namespace Tessel16;

RecordingWriter::RecordingWriter() : CXmlWriter("RecordingWriter") {}
RecordingWriter::~RecordingWriter() = default;

void RecordingWriter::WriteComment(const std::string& text) {
    m_lines.push_back("comment " + text);
}

void RecordingWriter::WriteProcessingInstruction(const std::string& text) {
    m_lines.push_back("pi " + text);
}

void RecordingWriter::WriteInLineSchema(const std::string& text) {
    m_lines.push_back("schema " + text);
}

void RecordingWriter::StartElement(const std::string& localName, const std::string& namespaceUri) {
    m_lines.push_back("start " + namespaceUri + " " + localName);
}

void RecordingWriter::WriteText(const std::string& text, ItemType type, bool isDefaultValue) {
    m_lines.push_back(std::string(isDefaultValue ? "default " : "text ") + text + " (" +
                      std::to_string(static_cast<int>(type)) + ")");
}

void RecordingWriter::EndElement() { m_lines.push_back("end"); }

void RecordingWriter::AddAttribute(const std::string& localName, const std::string& namespaceUri,
                                   const std::string& value, ItemType type) {
    m_lines.push_back("attr " + namespaceUri + (namespaceUri.empty() ? "" : ":") + localName + "=" +
                      value + " (" + std::to_string(static_cast<int>(type)) + ")");
}

void RecordingWriter::AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                                 ItemType) {
    m_lines.push_back("xsitype " + typeNamespace + " " + typeName);
}

void RecordingWriter::AddXsiNil() { m_lines.push_back("nil"); }

void RecordingWriter::SetDefaultNamespace(const std::string& namespaceUri) {
    m_lines.push_back("defaultns " + namespaceUri);
}

void RecordingWriter::AddNamespaceAlias(const std::string& alias, const std::string& namespaceUri) {
    m_lines.push_back("alias " + alias + " " + namespaceUri);
}

std::string RecordingWriter::Transcript() const {
    std::string all;
    for (const std::string& line : m_lines) all += line + "\n";
    return all;
}

}  // namespace TestSupport
