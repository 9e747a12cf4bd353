// xml_loader_json.cpp: the JSON load paths of CXmlDocument. They share the file reading and
// inflating of the XML paths, decode the bytes to the library's 8-bit text and hand them to
// the JSON-to-XML conversion, whose XML text they return for the caller to load.
#include <cstring>
#include <memory>

#include "conversion/char_encoding.h"
#include "conversion/utf8.h"
#include "json/json_messages.h"
#include "json/json_to_xml.h"
#include "tessel16/exception.h"
#include "tessel16/xml_document.h"
#include "xml/inflate.h"

namespace Tessel16 {

namespace {
namespace msg = detail::JsonMessages;

// Refuses bytes that are not UTF-8, naming the line and position of the first bad one, as
// the reader does for the bytes it checks itself.
void RequireUtf8(const unsigned char* p, std::size_t n) {
    std::uint32_t line = 1;
    std::uint32_t column = 0;
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            if (p[i] == '\n') {
                ++line;
                column = 0;
            } else {
                ++column;
            }
            ++i;
            continue;
        }
        const detail::Utf8Decoded decoded = detail::DecodeUtf8CodePoint(p + i, n - i);
        if (!decoded.ok)
            throw CTsValidationException(FormatString(msg::kInvalidUtf8, line, column + 1), "$");
        column += static_cast<std::uint32_t>(decoded.length);
        i += decoded.length;
    }
}
}  // namespace

CBinaryData CXmlDocument::LoadJsonFile(const char* fileName) {
    Cleanup();
    LoadWhole(fileName);
    return ParseJson();
}

CBinaryData CXmlDocument::LoadJson(const char* json) {
    Cleanup();
    if (!json || !*json) throw CTsException(msg::kStringEmpty);
    return detail::ConvertJsonToXml(std::string(json), *m_context, !m_compactJson);
}

CBinaryData CXmlDocument::LoadJson(const unsigned short* json) {
    Cleanup();
    if (!json || !*json) throw CTsException(msg::kStringEmpty);
    std::size_t units = 0;
    while (json[units]) ++units;
    return detail::ConvertJsonToXml(detail::Utf16ToLocal(json, units), *m_context, !m_compactJson);
}

CBinaryData CXmlDocument::LoadJsonStream(unsigned char* const data, std::uint32_t length) {
    Cleanup();
    if (!data || length == 0) throw CTsException(msg::kStreamEmpty);
    // The caller's bytes are only borrowed for the call; Cleanup drops the view.
    struct Forget {
        CXmlDocument* document;
        ~Forget() { document->Cleanup(); }
    } forget{this};
    BorrowInput(data, length);
    return ParseJson();
}

CBinaryData CXmlDocument::ParseJson() {
    std::unique_ptr<unsigned char[]> inflated;
    std::size_t inflatedLength = 0;
    if (detail::Inflate(m_inputData, m_inputLength, detail::InflateLimit(m_inputLength, *m_context),
                        inflated, inflatedLength))
        SetInput(std::move(inflated), inflatedLength);
    const unsigned char* bytes = m_inputData;
    std::size_t length = m_inputLength;
    if (length >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
        bytes += 3;
        length -= 3;
    }
    // UTF-8 is already the library's text and is read where it lies (the reader checks the
    // UTF-8 of every string itself); other local encodings get a converted copy, and the
    // input goes as soon as it is not needed.
    const char* text = reinterpret_cast<const char*>(bytes);
    std::string local;
    if (!detail::LocalIsUtf8()) {
        RequireUtf8(bytes, length);
        local = detail::Utf8ToLocal(text, length);
        text = local.data();
        length = local.size();
        Cleanup();
    }
    CBinaryData xml = detail::ConvertJsonToXml(text, length, *m_context, !m_compactJson);
    Cleanup();
    return xml;
}

}  // namespace Tessel16
