// fastinfoset_binary_data.h: CFastInfosetBinaryData, the octets of one value under one of the
// built-in Fast Infoset encoding algorithms (hexadecimal, base64, short, int, long, boolean,
// float, double, uuid, cdata), and back to text.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/export.h"

namespace Tessel16 {

class TESSEL16_API CFastInfosetBinaryData : public CBinaryData {
public:
    CFastInfosetBinaryData() = default;
    CFastInfosetBinaryData(const CFastInfosetBinaryData& other) = default;
    CFastInfosetBinaryData& operator=(const CFastInfosetBinaryData& other) = default;
    CFastInfosetBinaryData(unsigned char* const data, std::uint32_t length, bool adopt)
        : CBinaryData(data, length, adopt) {}
    explicit CFastInfosetBinaryData(const char* text) : CBinaryData(text) {}
    explicit CFastInfosetBinaryData(const CBinaryData& other) : CBinaryData(other) {}
    ~CFastInfosetBinaryData() override;

    // Replaces the bytes with the octets of `text` under algorithm 1..10; throws
    // CTsException "Unknown byte encoding." for other indices and the conversion's own
    // message when the text is not a value of the algorithm's type.
    void SetAsEncodedString(std::uint32_t algorithm, const char* text);
    // The values held, as text separated by single spaces ("" when empty); algorithm 1..9.
    // Throws CTsException when the length does not fit the algorithm.
    std::string GetAsString(std::uint32_t algorithm) const;
};

}  // namespace Tessel16
