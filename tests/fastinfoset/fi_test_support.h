// fi_test_support.h: helpers shared by the Fast Infoset tests: octets as hex text, a writer
// run over a script of operations, and a load of raw octets into a document.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tessel16/binary_data.h"
#include "tessel16/fastinfoset_writer.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/xml_document.h"

namespace Tessel16::test {

inline std::string Hex(const unsigned char* p, std::size_t n) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof(buf), i ? " %02X" : "%02X", p[i]);
        out += buf;
    }
    return out;
}

inline std::string Hex(const CBinaryData& data) { return Hex(data.GetData(), data.GetLength()); }

inline std::vector<unsigned char> Octets(const std::string& hex) {
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return out;
}

// Runs `script` between the header (no declaration) and the document terminator.
inline CBinaryData WriteFi(const CFastInfosetContext& context,
                           const std::function<void(CFastInfosetWriter&)>& script,
                           FInfoDecl declaration = FInfoDecl_None) {
    CBinaryStream stream;
    CFastInfosetWriter writer(context, &stream);
    writer.StartDocument();
    writer.WriteHeader(declaration);
    script(writer);
    writer.WriteDocumentTerminator();
    writer.EndDocument();
    return stream.GetData();
}

}  // namespace Tessel16::test
