// json_text_reader.cpp: the recursive-descent JSON parser. It reads RFC 8259 JSON (plus
// comments when the caller allows them), counts lines and byte positions for its messages,
// and stops at the first error. The nesting limit keeps the recursion shallow.
#include "tessel16/json_text_reader.h"

#include "conversion/char_encoding.h"
#include "conversion/utf8.h"
#include "json/json_messages.h"
#include "tessel16/exception.h"

namespace Tessel16 {

namespace {
namespace msg = detail::JsonMessages;

bool IsJsonWhitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes a string run can take over unchanged (the fast path), per byte value: everything
// but control bytes, '"', '\' and, for the UTF-8 check, bytes above 127.
struct PlainTable {
    bool plain[256] = {};
    constexpr PlainTable() {
        for (int c = 0x20; c < 0x80; ++c) plain[c] = true;
        plain[static_cast<unsigned char>('"')] = false;
        plain[static_cast<unsigned char>('\\')] = false;
    }
};
constexpr PlainTable kPlain;
}  // namespace

CJsonTextReader::CJsonTextReader(const std::string* input)
    : CJsonTextReader(input->data(), input->size()) {}

CJsonTextReader::CJsonTextReader(const char* data, std::size_t length)
    : CInstanceMonitor("CJsonTextReader"),
      m_handler(new CJsonReaderDefaultHandler),
      m_validateUtf8(detail::LocalIsUtf8()),
      m_input(data, length) {}

CJsonTextReader::~CJsonTextReader() = default;

void CJsonTextReader::Fail(const char* message) {
    throw CTsValidationException(FormatString(message, m_line, m_column),
                                 m_handler->GetErrorPath());
}

void CJsonTextReader::FailAt(const char* message, char found) {
    throw CTsValidationException(FormatString(message, found, m_line, m_column),
                                 m_handler->GetErrorPath());
}

bool CJsonTextReader::ReadByte() {
    if (m_position >= m_input.size()) {
        m_endOfInput = true;
        return false;
    }
    m_char = m_input[m_position++];
    if (m_char == '\n') {
        ++m_line;
        m_column = 0;
    } else {
        ++m_column;
    }
    return true;
}

bool CJsonTextReader::ReadSignificant() {
    while (ReadByte()) {
        if (IsJsonWhitespace(m_char)) continue;
        if (m_char != '/' || !m_allowComments || m_position >= m_input.size()) return true;
        const char next = m_input[m_position];
        if (next == '/') {
            while (ReadByte() && m_char != '\n') {
            }
        } else if (next == '*') {
            ReadByte();
            bool closed = false;
            while (!closed && ReadByte()) {
                while (m_char == '*' && ReadByte()) {
                    if (m_char == '/') {
                        closed = true;
                        break;
                    }
                }
            }
            if (!closed) return false;
        } else {
            return true;
        }
    }
    return false;
}

void CJsonTextReader::SkipToSignificant() {
    // A number ends at the first byte that is not part of it, which may already be the next
    // significant character.
    if (m_endOfInput) return;
    if (IsJsonWhitespace(m_char) || (m_char == '/' && m_allowComments)) {
        if (m_char == '/') {
            // Step back so the comment is seen whole.
            --m_position;
            --m_column;
        }
        ReadSignificant();
    }
}

void CJsonTextReader::Parse() {
    m_position = 0;
    m_endOfInput = false;
    m_line = 1;
    m_column = 0;
    m_handler->StartJsonDocument();
    const bool wrapped = !m_rootElementName.empty();
    if (wrapped) {
        m_handler->StartObject();
        m_handler->ObjectName(m_rootElementName);
    }
    // JSON text is exactly one value: nothing at all, or anything after it, is an error.
    if (!ReadSignificant()) Fail(msg::kEofExpectedValue);
    ParseValue(0);
    if (!m_endOfInput) FailAt(msg::kTrailingContent, m_char);
    if (wrapped) m_handler->EndObject();
    m_handler->EndJsonDocument();
}

void CJsonTextReader::ParseValue(int depth) {
    ++depth;
    if (depth > m_depthLimit) Fail(msg::kDepthLimit);
    switch (m_char) {
        case '{':
            ParseObject(depth);
            return;
        case '[':
            ParseArray(depth);
            return;
        case '"':
            ReadString(m_scratch);
            m_handler->StringValue(m_scratch);
            ReadSignificant();
            return;
        case 'n':
            ParseLiteral("ull", 3, msg::kEofNull, msg::kExpectedNull);
            m_handler->NullValue();
            ReadSignificant();
            return;
        case 't':
            ParseLiteral("rue", 3, msg::kEofTrue, msg::kExpectedTrue);
            m_handler->BooleanValue(true);
            ReadSignificant();
            return;
        case 'f':
            ParseLiteral("alse", 4, msg::kEofFalse, msg::kExpectedFalse);
            m_handler->BooleanValue(false);
            ReadSignificant();
            return;
        default:
            if (m_char == '-' || IsDigit(m_char)) {
                ParseNumber();
                return;
            }
            FailAt(msg::kExpectedValue, m_char);
    }
}

void CJsonTextReader::ParseObject(int depth) {
    m_handler->StartObject();
    if (!ReadSignificant()) Fail(msg::kEofObjectTerminatorEmpty);
    if (m_char != '}') {
        std::string name;
        while (true) {
            if (m_char != '"') FailAt(msg::kExpectedNameQuote, m_char);
            ReadString(name);
            m_handler->ObjectName(name);
            if (!ReadSignificant()) Fail(msg::kEofNameSeparator);
            if (m_char != ':') FailAt(msg::kExpectedNameSeparator, m_char);
            if (!ReadSignificant()) Fail(msg::kEofObjectValue);
            ParseValue(depth);
            if (m_endOfInput) Fail(msg::kEofObjectTerminator);
            if (m_char == '}') break;
            if (m_char != ',') FailAt(msg::kExpectedObjectSeparator, m_char);
            if (!ReadSignificant()) Fail(msg::kEofObjectTerminator);
        }
    }
    m_handler->EndObject();
    ReadSignificant();
}

void CJsonTextReader::ParseArray(int depth) {
    m_handler->StartArray();
    if (!ReadSignificant()) Fail(msg::kEofArrayTerminator);
    if (m_char != ']') {
        while (true) {
            ParseValue(depth);
            if (m_endOfInput) Fail(msg::kEofArrayTerminator);
            if (m_char == ']') break;
            if (m_char != ',') FailAt(msg::kExpectedArraySeparator, m_char);
            if (!ReadSignificant()) Fail(msg::kEofArrayTerminator);
        }
    }
    m_handler->EndArray();
    ReadSignificant();
}

void CJsonTextReader::ParseLiteral(const char* rest, std::size_t length, const char* eofMessage,
                                   const char* mismatchMessage) {
    if (m_input.size() - m_position < length) {
        while (ReadByte()) {
        }
        Fail(eofMessage);
    }
    bool matches = true;
    for (std::size_t i = 0; i < length; ++i) {
        ReadByte();
        if (m_char != rest[i]) matches = false;
    }
    if (!matches) Fail(mismatchMessage);
}

void CJsonTextReader::ParseNumber() {
    const std::size_t start = m_position - 1;
    auto readDigits = [this] {
        while (ReadByte() && IsDigit(m_char)) {
        }
    };
    if (m_char == '-') {
        if (!ReadByte()) Fail(msg::kEofNumber);
        if (!IsDigit(m_char)) FailAt(msg::kExpectedDigit, m_char);
    }
    if (m_char == '0')
        ReadByte();
    else
        readDigits();
    if (!m_endOfInput && m_char == '.') {
        if (!ReadByte()) Fail(msg::kEofDigit);
        if (!IsDigit(m_char)) FailAt(msg::kExpectedDigit, m_char);
        readDigits();
    }
    if (!m_endOfInput && (m_char == 'e' || m_char == 'E')) {
        if (!ReadByte()) Fail(msg::kEofExponent);
        if (m_char == '+' || m_char == '-') {
            if (!ReadByte()) Fail(msg::kEofDigit);
        }
        if (!IsDigit(m_char)) FailAt(msg::kExpectedDigit, m_char);
        readDigits();
    }
    // The byte that ended the number is not part of it (unless the input ended).
    const std::size_t end = m_endOfInput ? m_input.size() : m_position - 1;
    m_scratch.assign(m_input.data() + start, end - start);
    m_handler->NumberValue(m_scratch);
    SkipToSignificant();
}

void CJsonTextReader::ReadString(std::string& out) {
    out.clear();
    const std::string_view input = m_input;
    const std::size_t size = input.size();
    while (true) {
        // Plain runs are taken over in one piece; they hold no line feed, so only the column
        // moves.
        const std::size_t run = m_position;
        while (m_position < size && kPlain.plain[static_cast<unsigned char>(input[m_position])])
            ++m_position;
        if (m_position > run) {
            out.append(input.data() + run, m_position - run);
            m_column += static_cast<std::uint32_t>(m_position - run);
        }
        if (m_position >= size) {
            m_endOfInput = true;
            Fail(msg::kEofString);
        }
        const auto byte = static_cast<unsigned char>(input[m_position]);
        if (byte >= 0x80) {
            if (!m_validateUtf8) {
                out += static_cast<char>(byte);
                ++m_position;
                ++m_column;
                continue;
            }
            const auto* p = reinterpret_cast<const unsigned char*>(input.data()) + m_position;
            const detail::Utf8Decoded decoded = detail::DecodeUtf8CodePoint(p, size - m_position);
            if (!decoded.ok) {
                ++m_column;
                Fail(msg::kInvalidUtf8);
            }
            out.append(input.data() + m_position, decoded.length);
            m_position += static_cast<std::uint32_t>(decoded.length);
            m_column += static_cast<std::uint32_t>(decoded.length);
            continue;
        }
        if (byte < 0x20) {
            // Reported where it stands, also for a line feed.
            ++m_column;
            throw CTsValidationException(
                FormatString(msg::kControlInString, static_cast<unsigned>(byte), m_line, m_column),
                m_handler->GetErrorPath());
        }
        ReadByte();
        if (m_char == '"') return;
        // A backslash.
        if (!ReadByte()) Fail(msg::kEofString);
        switch (m_char) {
            case '"':
            case '\\':
            case '/':
                out += m_char;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t unit = ReadHex4();
                if (unit >= 0xDC00 && unit <= 0xDFFF)
                    throw CTsValidationException(
                        FormatString(msg::kLoneSurrogate, unit, m_line, m_column),
                        m_handler->GetErrorPath());
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    // A high surrogate must be followed at once by an escaped low one.
                    const bool escaped = m_position + 1 < size && input[m_position] == '\\' &&
                                         input[m_position + 1] == 'u';
                    if (!escaped)
                        throw CTsValidationException(
                            FormatString(msg::kLoneSurrogate, unit, m_line, m_column),
                            m_handler->GetErrorPath());
                    ReadByte();
                    ReadByte();
                    const std::uint32_t low = ReadHex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        throw CTsValidationException(
                            FormatString(msg::kLoneSurrogate, unit, m_line, m_column),
                            m_handler->GetErrorPath());
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendCodePoint(out, unit);
                break;
            }
            default:
                FailAt(msg::kInvalidEscape, m_char);
        }
    }
}

std::uint32_t CJsonTextReader::ReadHex4() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        if (!ReadByte()) Fail(msg::kEofHexDigits);
        const char c = m_char;
        std::uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else
            FailAt(msg::kInvalidHexDigits, c);
        value = value * 16 + digit;
    }
    return value;
}

void CJsonTextReader::AppendCodePoint(std::string& out, std::uint32_t codePoint) {
    // The library's text is 8-bit: a character below 256 is one byte unless that text is
    // UTF-8, where it (like every character above 255) becomes its UTF-8 bytes.
    if (codePoint < 0x80 || (codePoint < 0x100 && !m_validateUtf8)) {
        out += static_cast<char>(codePoint);
        return;
    }
    detail::AppendUtf8(out, codePoint);
}

}  // namespace Tessel16
