// xml_object_base_json.cpp: the JSON entry points of CXmlObjectBase. Output runs the same
// writer steps as XML text on a CJsonTextWriter, inside one enclosing object; input is mapped
// to XML text first and then read exactly like XML input.
#include <functional>
#include <new>

#include "binding/binding_messages.h"
#include "binding/entry_support.h"
#include "json/json_messages.h"
#include "tessel16/exception.h"
#include "tessel16/json_text_writer.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

namespace {
namespace msg = detail::JsonMessages;

void WriteJsonDocument(CTextStream& stream, bool formatted, EOLType eol,
                       const CSerializationContext& context,
                       const std::function<void(CXmlWriter*)>& writeRoot) {
    CJsonTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetFormatted(formatted);
    writer.SetIndentChars(context.GetIndentChars().c_str());
    writer.SetEOLType(eol);
    writer.SetSupportRoundtrip(context.GetJsonContext().GetSupportRoundtrip());
    writer.WriteObjectStart();
    writeRoot(&writer);
    writer.WriteObjectEnd();
    writer.EndDocument();
}
}  // namespace

std::string CXmlObjectBase::ToJson(bool formatted, EOLType eol,
                                   const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    CTextStream stream(XmlEncoding_None);
    WriteJsonDocument(stream, formatted, eol, context, [&](CXmlWriter* writer) {
        ToXml_Int(writer, true, GetTargetNamespace().c_str(), context, false);
    });
    return stream.GetString();
}

CBinaryData CXmlObjectBase::ToJsonStream(bool formatted, XmlEncoding encoding, EOLType eol,
                                         const CSerializationContext& context,
                                         CompressionType compression) {
    detail::CheckGeneratorVersion();
    CTextStream stream(encoding);
    WriteJsonDocument(stream, formatted, eol, context, [&](CXmlWriter* writer) {
        ToXml_Int(writer, true, GetTargetNamespace().c_str(), context, false);
    });
    CBinaryData data = stream.TakeBinaryData();
    if (compression != CompressionType_None) detail::CompressData(data, compression);
    return data;
}

void CXmlObjectBase::ToJsonFile(const char* fileName, bool formatted, XmlEncoding encoding,
                                EOLType eol, const CSerializationContext& context,
                                CompressionType compression) const {
    if (compression == CompressionType_ZLib) throw CTsException(detail::kMsgZlibFileCompression);
    if (detail::IsAsyncToXmlFile() && compression == CompressionType_None) {
        detail::CheckGeneratorVersion();
        CFileTextStream stream(fileName, encoding);
        WriteJsonDocument(stream, formatted, eol, context, [&](CXmlWriter* writer) {
            ToXml_Int(writer, true, GetTargetNamespace().c_str(), context, false);
        });
        return;
    }
    // The base class's own stream method, so that overriding ToJsonStream does not change
    // what lands in files.
    CBinaryData data = const_cast<CXmlObjectBase*>(this)->CXmlObjectBase::ToJsonStream(
        formatted, encoding, eol, context, compression);
    CFileBinaryStream file(fileName, encoding, data);
    file.Write();
}

namespace {
// What each input entry point loads, handed to FromJson_Int as a plain function so that the
// load can be run a second time for a message.
struct StreamSource {
    unsigned char* data;
    std::uint32_t length;
};

CBinaryData LoadText(CXmlDocument& document, const void* source) {
    return document.LoadJson(static_cast<const char*>(source));
}
CBinaryData LoadWideText(CXmlDocument& document, const void* source) {
    return document.LoadJson(static_cast<const unsigned short*>(source));
}
CBinaryData LoadFile(CXmlDocument& document, const void* source) {
    return document.LoadJsonFile(static_cast<const char*>(source));
}
CBinaryData LoadStream(CXmlDocument& document, const void* source) {
    const auto* stream = static_cast<const StreamSource*>(source);
    return document.LoadJsonStream(stream->data, stream->length);
}

// The XML made from the JSON, as the bound read loads it. The first load takes the text made
// before the read began; a second one (a whole-tree pass after a streamed one) makes it
// again, since the streamed pass gives the pages it has parsed back as it goes.
struct MappedXml {
    CBinaryData (*load)(CXmlDocument& document, const void* source);
    const void* source;
    CBinaryData xml;
    bool fresh;
};
}  // namespace

void CXmlObjectBase::FromJson(const char* jsonText, const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    FromJson_Int(context, &LoadText, jsonText);
}

void CXmlObjectBase::FromJson(const unsigned short* jsonText,
                              const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    FromJson_Int(context, &LoadWideText, jsonText);
}

void CXmlObjectBase::FromJsonFile(const char* fileName, const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    FromJson_Int(context, &LoadFile, fileName);
}

void CXmlObjectBase::FromJsonStream(unsigned char* const data, std::uint32_t length,
                                    const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    const StreamSource source{data, length};
    FromJson_Int(context, &LoadStream, &source);
}

void CXmlObjectBase::FromJsonStream(const CBinaryData& data, const CSerializationContext& context) {
    FromJsonStream(data.GetData(), data.GetLength(), context);
}

void CXmlObjectBase::FromJson_Int(const CSerializationContext& context,
                                  CBinaryData (*load)(CXmlDocument& document, const void* source),
                                  const void* source) {
    // The XML is read without indentation; the indented text a message shows is made again
    // only when one is needed.
    static const auto makeCompact = [](const CSerializationContext& settings,
                                       const MappedXml& mapped) {
        CXmlDocument document(settings);
        document.m_compactJson = true;
        return mapped.load(document, mapped.source);
    };
    MappedXml mapped{load, source, CBinaryData(), true};
    mapped.xml = makeCompact(context, mapped);
    // Below the full level the JSON carried no namespaces, so the XML made from it cannot
    // match them. The switch belongs to the caller's context and is put back however the
    // read ends.
    auto& settings = const_cast<CSerializationContext&>(context);
    const bool ignoreNamespaces = settings.GetIgnoreNamespaces();
    const bool full = context.GetJsonContext().GetSupportRoundtrip() == JsonRoundTrip_Full;
    struct Restore {
        CSerializationContext& settings;
        bool value;
        bool active;
        ~Restore() {
            if (active) settings.SetIgnoreNamespaces(value);
        }
    } restore{settings, ignoreNamespaces, !full};
    if (!full) settings.SetIgnoreNamespaces(true);
    try {
        try {
            FromLoadedXml(
                context,
                [](CXmlDocument& document, const void* self) {
                    auto& text = *static_cast<MappedXml*>(const_cast<void*>(self));
                    if (!text.fresh) text.xml = makeCompact(*document.m_context, text);
                    text.fresh = false;
                    document.m_discardInput = true;
                    document.LoadXmlStream(text.xml.GetData(), text.xml.GetLength());
                },
                &mapped);
        } catch (const std::bad_alloc&) {
            detail::RefuseOutOfMemory();
        }
    } catch (const CTsException& e) {
        CBinaryData xml;
        try {
            CXmlDocument document(context);
            xml = load(document, source);
        } catch (const CTsException&) {
            // The input changed under us (a file rewritten): the compact text has to do, as
            // far as a streamed pass has not given it back.
            xml = std::move(mapped.xml);
        }
        std::string text;
        if (xml.GetData()) {
            // Pages given back read as zeros, and they are the ones at the start.
            const char* begin = reinterpret_cast<const char*>(xml.GetData());
            const char* end = begin + xml.GetLength();
            while (begin != end && *begin == '\0') ++begin;
            text.assign(begin, end);
        }
        throw CTsException(FormatString(msg::kConvertFailed, text.c_str()), e);
    }
}

}  // namespace Tessel16
