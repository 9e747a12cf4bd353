// binary_stream.cpp: finished byte blocks and writing one to a file in a single piece (the
// default, in-memory path of file output and every compressed file).
#include "platform/output_file.h"
#include "tessel16/exception.h"
#include "tessel16/streams.h"
#include "xml/stream_messages.h"

namespace Tessel16 {

CBinaryStream::CBinaryStream() : CInstanceMonitor("CBinaryStream") {}

CBinaryStream::CBinaryStream(const char* instanceName, const CBinaryData& data)
    : CInstanceMonitor(instanceName), m_data(data) {}

CBinaryStream::~CBinaryStream() = default;

CFileBinaryStream::CFileBinaryStream(const char* fileName, XmlEncoding encoding,
                                     const CBinaryData& data)
    : CBinaryStream("CFileBinaryStream", data),
      m_fileName(fileName ? fileName : ""),
      m_encoding(encoding) {}

CFileBinaryStream::~CFileBinaryStream() = default;

void CFileBinaryStream::Write() {
    detail::OutputFile file;
    auto fail = [&](int error) {
        file.Close();
        throw CTsException(FormatString(detail::kMsgFileWriteFailed, m_fileName.c_str(),
                                        static_cast<unsigned>(error)));
    };
    if (int error = file.Open(m_fileName.c_str())) fail(error);
    std::uint64_t offset = 0;
    std::uint64_t transferred = 0;
    if (m_encoding == XmlEncoding_UTF16 || m_encoding == XmlEncoding_UTF16_NoDecl) {
        static const unsigned char kByteOrderMark[] = {0xFF, 0xFE};
        if (int error = file.StartWrite(0, kByteOrderMark, sizeof kByteOrderMark)) fail(error);
        if (int error = file.WaitWrite(&transferred)) fail(error);
        offset = transferred;
    }
    const CBinaryData data = GetData();
    if (data.GetLength() > 0) {
        if (int error = file.StartWrite(offset, data.GetData(), data.GetLength())) fail(error);
        if (int error = file.WaitWrite(&transferred)) fail(error);
    }
    if (int error = file.Close()) fail(error);
}

}  // namespace Tessel16
