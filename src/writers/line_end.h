// line_end.h: the line end each EOL type writes, shared by the XML and JSON text writers.
#pragma once

#include "tessel16/exception.h"
#include "tessel16/types.h"
#include "writers/writer_messages.h"

namespace Tessel16::detail {

inline const char* LineEndOf(EOLType eol) {
    switch (eol) {
        case EOLType_CRLF:
            return "\r\n";
        case EOLType_LF:
            return "\n";
        default:
            throw CTsException(kMsgInvalidEolType);
    }
}

}  // namespace Tessel16::detail
