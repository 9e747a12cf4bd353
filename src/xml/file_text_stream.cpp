// file_text_stream.cpp: direct file output. Each flush hands one buffer of text, converted to
// the output encoding, to the platform as one write and lets serialisation refill the
// buffer; only one write is ever outstanding, and its bytes live here until it completes.
#include "platform/output_file.h"
#include "tessel16/exception.h"
#include "tessel16/streams.h"
#include "xml/stream_messages.h"

namespace Tessel16 {

namespace {
unsigned char kUtf16ByteOrderMark[] = {0xFF, 0xFE};

bool IsUtf16(XmlEncoding encoding) {
    return encoding == XmlEncoding_UTF16 || encoding == XmlEncoding_UTF16_NoDecl;
}
}  // namespace

CFileTextStream::CFileTextStream(const char* fileName, XmlEncoding encoding)
    : CTextStream("CFileTextStream", encoding),
      m_fileName(fileName ? fileName : ""),
      m_file(new detail::OutputFile) {}

CFileTextStream::~CFileTextStream() { delete m_file; }

void CFileTextStream::Open() {
    ClearBuffer();
    m_inFlight.Clear();
    m_offset = 0;
    if (int error = m_file->Open(m_fileName.c_str())) {
        throw CTsException(FormatString(detail::kMsgFileWriteFailed, m_fileName.c_str(),
                                        static_cast<unsigned>(error)));
    }
    if (IsUtf16(GetEncoding())) {
        m_inFlight = CBinaryData(kUtf16ByteOrderMark, sizeof kUtf16ByteOrderMark, false);
        if (int error = m_file->StartWrite(0, m_inFlight.GetData(), m_inFlight.GetLength())) {
            m_file->Close();
            throw CTsException(FormatString(detail::kMsgFileWriteFailed, m_fileName.c_str(),
                                            static_cast<unsigned>(error)));
        }
    }
}

void CFileTextStream::Flush() {
    if (GetLength() == 0 || !m_file->IsOpen()) return;
    WaitForWrite();
    m_inFlight = TakeBinaryData();
    if (int error = m_file->StartWrite(m_offset, m_inFlight.GetData(), m_inFlight.GetLength()))
        Fail(detail::kMsgFileWriteFailedNoName, error);
    ClearBuffer();
}

void CFileTextStream::Close() {
    if (!m_file->IsOpen()) return;
    Flush();
    WaitForWrite();
    m_inFlight.Clear();
    // A failing close can mean the data never reached the disk (NFS, quotas).
    if (int error = m_file->Close()) Fail(detail::kMsgFileWriteFailedNoName, error);
}

void CFileTextStream::WaitForWrite() {
    std::uint64_t transferred = 0;
    if (int error = m_file->WaitWrite(&transferred)) Fail(detail::kMsgFileWriteFailedNoName, error);
    m_offset += transferred;
}

void CFileTextStream::Fail(const char* format, int error) {
    m_file->Close();
    m_inFlight.Clear();
    throw CTsException(FormatString(format, static_cast<unsigned>(error)));
}

}  // namespace Tessel16
