// text_stream.cpp: the in-memory text stream: 8-bit text from the writers, converted to the
// output encoding only when the bytes are asked for.
#include "conversion/char_encoding.h"
#include "tessel16/exception.h"
#include "tessel16/streams.h"
#include "xml/stream_messages.h"

namespace Tessel16 {

CTextStream::CTextStream() : CTextStream("CTextStream", XmlEncoding_None) {}

CTextStream::CTextStream(XmlEncoding encoding) : CTextStream("CTextStream", encoding) {}

CTextStream::CTextStream(const char* instanceName, XmlEncoding encoding)
    : CInstanceMonitor(instanceName), m_encoding(encoding) {}

CTextStream::~CTextStream() = default;

void CTextStream::Open() { m_buffer.Clear(); }

void CTextStream::Close() {}

void CTextStream::Flush() {}

CBinaryData CTextStream::GetBinaryData() {
    switch (m_encoding) {
        case XmlEncoding_UTF8:
            return detail::LocalToUtf8(m_buffer.GetString());
        case XmlEncoding_UTF16:
        case XmlEncoding_UTF16_NoDecl:
            return detail::LocalToUtf16(m_buffer.GetString());
        default:
            throw CTsException(detail::kMsgUnknownEncoding);
    }
}

}  // namespace Tessel16
