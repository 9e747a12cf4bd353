// xml_text_writer.h: CXmlTextWriter, the XML text form of the writer interface: declaration,
// tags, escaping, namespace declarations with invented prefixes, indentation and line ends,
// written as 8-bit text into a CTextStream.
#pragma once

#include <string>

#include "tessel16/export.h"
#include "tessel16/streams.h"
#include "tessel16/types.h"
#include "tessel16/xml_writer.h"

namespace Tessel16 {

class TESSEL16_API CXmlTextWriter : public CXmlWriter {
public:
    // The stream is not owned and must outlive the writer.
    explicit CXmlTextWriter(CTextStream* stream);
    ~CXmlTextWriter() override;

    void StartDocument() override;
    // Closes the stream, then checks that every element was closed.
    void EndDocument() override;
    void WriteComment(const std::string& text) override;
    // Writes the complete instruction verbatim, followed by two line ends.
    void WriteProcessingInstruction(const std::string& text) override;
    void WriteInLineSchema(const std::string& text) override;
    void StartElement(const std::string& localName, const std::string& namespaceUri) override;
    void WriteText(const std::string& text, ItemType type, bool isDefaultValue) override;
    void EndElement() override;
    // Throws CTsException "Attributes must be added before elements" once the element has
    // content.
    void AddAttribute(const std::string& localName, const std::string& namespaceUri,
                      const std::string& value, ItemType type) override;
    void AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                    ItemType type) override;
    void AddXsiNil() override;
    // The same bytes as the three calls, without opening a context for the element.
    void WriteSimpleElement(const std::string& localName, const std::string& namespaceUri,
                            const std::string& text, ItemType type, bool isDefaultValue) override;

    void SetFormatted(bool formatted) { m_formatted = formatted; }
    // Names are checked against the XML name rules before they are written (on by default), so
    // a name the local code page turned into '?' is refused instead of written as markup no
    // parser accepts. The JSON-to-XML mapping turns the check off: it passes JSON member names
    // through as text and leaves their verdict to the parser that reads the result.
    void SetCheckNames(bool check) { m_checkNames = check; }
    bool IsFormatted() const { return m_formatted; }
    void SetIndentChars(const char* indent) {
        m_indent = indent ? indent : "";
        m_indentRun.clear();
    }
    // Throws CTsException "Invalid EOL type." for anything but 0 and 1, changing nothing.
    void SetEOLType(EOLType eol);
    EOLType GetEOLType() const { return m_eolType; }
    // When off, text flagged as a default value is dropped.
    void SetWriteDefaultValues(bool write) { m_writeDefaultValues = write; }
    // <?xml version="1.0"?> with the encoding the stream will produce, and a line end.
    void WriteXmlDeclaration();
    // A fragment serialised elsewhere, verbatim, then a line end when formatted.
    void WriteRaw(const std::string& text);
    // Closes the open start tag of the current element ahead of a raw child fragment.
    void PrepareForRawChild();

private:
    void WriteEscaped(const char* text, bool attributeMode);
    // Element text: verbatim when it starts a CDATA section, escaped otherwise.
    void WriteTextContent(const std::string& text);
    // The line end and indent strings never hold a zero byte, so they go in by length.
    void WriteLineEnd() { m_stream->Write(m_lineEnd.data(), m_lineEnd.size()); }
    void WriteIndent(std::uint32_t depth);
    // The length of the indentation of `depth`, making m_indentRun long enough for it.
    std::size_t IndentLength(std::uint32_t depth) {
        const std::size_t length = static_cast<std::size_t>(depth) * m_indent.size();
        if (m_indentRun.size() < length) GrowIndentRun(length);
        return length;
    }
    void GrowIndentRun(std::size_t length);
    // `length` bytes to assemble markup in: room in the stream's buffer, or m_markup when
    // the current chunk has not that much left. EndMarkup counts them in (or writes them).
    char* BeginMarkup(std::size_t length) {
        if (char* room = m_stream->Room(length)) {
            m_markupSpilled = false;
            return room;
        }
        return SpillMarkup(length);
    }
    char* SpillMarkup(std::size_t length);
    void EndMarkup(std::size_t length) {
        if (m_markupSpilled)
            m_stream->Write(m_markup.data(), length);
        else
            m_stream->Commit(length);
    }
    // "/>" and the line end of a formatted document (lineEndLength 0 when unformatted).
    char* CloseEmpty(char* out, std::size_t lineEndLength) const;
    // A qualified name by its parts, each cut at its first zero byte.
    struct QName {
        const char* prefix;  // null for none
        std::size_t prefixLength;
        const char* local;
        std::size_t localLength;
        std::size_t Length() const { return prefix ? prefixLength + 1 + localLength : localLength; }
        char* CopyTo(char* out) const;
    };
    // Names go in as every append takes a string: up to a zero byte, which a name that
    // passed the names check (`checked`) cannot hold.
    QName NameOf(const std::string* prefix, const std::string& localName, bool checked) const;
    // Adds a child to the current element, closing its start tag first if it is open.
    void OpenChildOf(CXmlWriterContext* parent);
    void CheckFlush();
    void RequireOpenStartTag() const;
    // The prefix bound to `namespaceUri` in the current scope, binding a fresh one when
    // nothing does; `declare` tells whether a declaration must be written.
    const std::string& EnsurePrefix(const std::string& namespaceUri, bool& declare);

    bool m_writeDefaultValues = false;
    std::string m_indent = "\t";
    // m_indent repeated for the deepest element so far, so an indentation is one append.
    std::string m_indentRun;
    std::string m_lineEnd = "\n";
    EOLType m_eolType = EOLType_LF;
    bool m_formatted = true;
    bool m_checkNames = true;
    std::string m_markup;
    bool m_markupSpilled = false;
    CTextStream* m_stream;
};

}  // namespace Tessel16
