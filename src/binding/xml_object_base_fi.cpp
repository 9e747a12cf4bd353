// xml_object_base_fi.cpp: the Fast Infoset entry points: the object is written through a
// CFastInfosetWriter into memory, then compressed or written to a file like XML output.
#include "binding/binding_messages.h"
#include "binding/entry_support.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_writer.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

CBinaryData CXmlObjectBase::ToFastInfosetStream(FInfoDecl declaration,
                                                const CSerializationContext& context,
                                                CompressionType compression) {
    detail::CheckGeneratorVersion();
    CBinaryStream stream;
    {
        CFastInfosetWriter writer(context.GetFIContext(), &stream);
        writer.StartDocument();
        writer.WriteHeader(declaration);
        ToXml_Int(&writer, true, GetTargetNamespace().c_str(), context, false);
        writer.WriteDocumentTerminator();
        writer.EndDocument();
    }
    CBinaryData data = stream.GetData();
    if (compression != CompressionType_None) detail::CompressData(data, compression);
    return data;
}

void CXmlObjectBase::ToFastInfosetFile(const char* fileName, FInfoDecl declaration,
                                       const CSerializationContext& context,
                                       CompressionType compression) const {
    if (compression == CompressionType_ZLib) throw CTsException(detail::kMsgZlibFileCompression);
    CBinaryData data =
        const_cast<CXmlObjectBase*>(this)->ToFastInfosetStream(declaration, context, compression);
    CFileBinaryStream file(fileName, XmlEncoding_None, data);
    file.Write();
}

}  // namespace Tessel16
