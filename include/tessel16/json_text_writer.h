// json_text_writer.h: CJsonTextWriter, the JSON form of the writer interface. Elements become
// named members, attributes "@" members, text the member's value or a "#text" member, and a
// repeated member one name with an array; the round-trip level decides how much survives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/export.h"
#include "tessel16/json_context.h"
#include "tessel16/streams.h"
#include "tessel16/types.h"
#include "tessel16/xml_writer.h"

namespace Tessel16 {

class TESSEL16_API CJsonTextWriter : public CXmlWriter {
public:
    // The stream is not owned and must outlive the writer.
    explicit CJsonTextWriter(CTextStream* stream);
    ~CJsonTextWriter() override;

    void StartDocument() override;
    // Closes the stream, then checks that every element was closed.
    void EndDocument() override;
    // "/* text */" and a line end; the text is escaped as a string value.
    void WriteComment(const std::string& text) override;
    // JSON has no place for either: both write nothing.
    void WriteProcessingInstruction(const std::string& text) override;
    void WriteInLineSchema(const std::string& text) override;
    // Throws CTsException "Unknown Namespace: %s." at level 2 for a non-root element whose
    // namespace has no prefix in scope.
    void StartElement(const std::string& localName, const std::string& namespaceUri) override;
    void WriteText(const std::string& text, ItemType type, bool isDefaultValue) override;
    // Closes the element's open array and object; an element that got nothing is null.
    void EndElement() override;
    void AddAttribute(const std::string& localName, const std::string& namespaceUri,
                      const std::string& value, ItemType type) override;
    // Level 2 only: an "@xsi:type" member.
    void AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                    ItemType type) override;
    void AddXsiNil() override;
    // The same text as the three calls, without opening a context for the element.
    void WriteSimpleElement(const std::string& localName, const std::string& namespaceUri,
                            const std::string& text, ItemType type, bool isDefaultValue) override;

    void SetFormatted(bool formatted) { m_formatted = formatted; }
    void SetIndentChars(const char* indent) {
        m_indent = indent ? indent : "";
        m_indentRun.clear();
    }
    // Throws CTsException "Invalid EOL type." for anything but 0 and 1, changing nothing.
    void SetEOLType(EOLType eol);
    void SetSupportRoundtrip(JsonRoundTrip level) { m_level = level; }
    // "{" that encloses the document, and a line end when formatted.
    void WriteObjectStart();
    // A line end when formatted, then the closing "}".
    void WriteObjectEnd();

private:
    // What this writer knows of one open element, beside the shared context.
    struct Frame {
        std::uint32_t depth = 0;  // indentation of the element's own member line
        bool objectOpen = false;  // "{" written: attributes or children follow
        bool valueWritten = false;
        bool arrayOpen = false;  // one of its members is an array not closed yet
    };

    // How an element's member begins in its parent's object.
    struct MemberStart {
        std::uint32_t depth = 1;  // indentation of the member's line
        bool writeName = true;    // false for a later item of an open array
        bool opensArray = false;  // the first item of a repeated member
    };

    // The separator before an element's member, closing or continuing the parent's array.
    MemberStart BeginElementMember(CXmlWriterContext* parentContext, const std::string& localName);
    // The start of a text-only element's member, written in one piece when its parent needs
    // no array bracket and its name no escape; false (nothing written) otherwise.
    bool WritePlainMember(CXmlWriterContext* parentContext, const std::string& localName,
                          const std::string& namespaceUri);
    // "[" of a repeated member's array, before its first item; the item goes one level deeper.
    void OpenArray(CXmlWriterContext* parentContext, std::uint32_t& depth);
    // Opens the object of `frame` or separates the next member from the previous one.
    void BeginMember(Frame& frame, const std::string& name);
    void CloseArray(Frame& frame);
    void WriteMemberName(const std::string& prefix, const std::string& localName);
    void WriteNamespaceMember(Frame& frame, const std::string& prefix, const std::string& uri);
    void WriteTypedValue(const std::string& text, ItemType type);
    void WriteEscaped(const std::string& text);
    void WriteLineEnd() { m_stream->Write(m_lineEnd.data(), m_lineEnd.size()); }
    void WriteIndent(std::uint32_t depth);
    // The length of the indentation of `depth`, making m_indentRun long enough for it.
    std::size_t IndentLength(std::uint32_t depth);
    void CheckFlush();

    std::string m_indent = "\t";
    // m_indent repeated for the deepest member so far, so an indentation is one append.
    std::string m_indentRun;
    // Markup assembled here when the stream's current chunk has no room for it.
    std::string m_markup;
    std::string m_lineEnd = "\n";
    JsonRoundTrip m_level = JsonRoundTrip_Full;
    bool m_formatted = true;
    CTextStream* m_stream;
    std::vector<Frame> m_frames;
    std::uint32_t m_rootCount = 0;
};

}  // namespace Tessel16
