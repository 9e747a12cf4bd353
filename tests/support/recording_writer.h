// recording_writer.h: a writer that turns every call into one transcript line, so engine and
// record tests check what is written, in which order, independent of XML text formatting.
#pragma once

#include <string>
#include <vector>

#include "tessel16/xml_writer.h"

namespace TestSupport {

class RecordingWriter : public Tessel16::CXmlWriter {
public:
    RecordingWriter();
    ~RecordingWriter() override;

    void WriteComment(const std::string& text) override;
    void WriteProcessingInstruction(const std::string& text) override;
    void WriteInLineSchema(const std::string& text) override;
    void StartElement(const std::string& localName, const std::string& namespaceUri) override;
    void WriteText(const std::string& text, Tessel16::ItemType type, bool isDefaultValue) override;
    void EndElement() override;
    void AddAttribute(const std::string& localName, const std::string& namespaceUri,
                      const std::string& value, Tessel16::ItemType type) override;
    void AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                    Tessel16::ItemType type) override;
    void AddXsiNil() override;
    void SetDefaultNamespace(const std::string& namespaceUri) override;
    void AddNamespaceAlias(const std::string& alias, const std::string& namespaceUri) override;

    // One line per call, e.g. "start urn:t item", "attr id= 5 (5)", "text 5 (5)", "end".
    const std::vector<std::string>& Lines() const { return m_lines; }
    std::string Transcript() const;
    void Clear() { m_lines.clear(); }

private:
    std::vector<std::string> m_lines;
};

}  // namespace TestSupport
