// json_to_xml.h: the conversion that wires reader, handlers, XML writer and stream together,
// so that JSON input is loaded and bound exactly like XML.
#pragma once

#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/serialization_context.h"

namespace Tessel16::detail {

// Maps the JSON text (8-bit local text) onto XML text and returns it as UTF-8 bytes, indented
// with tabs unless `formatted` is false. Throws the reader's CTsValidationException on
// malformed JSON and the mapping's exceptions.
CBinaryData ConvertJsonToXml(const char* json, std::size_t length,
                             const CSerializationContext& context, bool formatted = true);
inline CBinaryData ConvertJsonToXml(const std::string& json, const CSerializationContext& context,
                                    bool formatted = true) {
    return ConvertJsonToXml(json.data(), json.size(), context, formatted);
}

}  // namespace Tessel16::detail
