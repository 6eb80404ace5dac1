// File attribute bits, with the values Windows gives them, as an enumeration
// reports them and as they are set.
#pragma once

#include <cstdint>

namespace text {

enum FileAttribute : std::uint32_t {
    AttributeReadOnly = 0x01,
    AttributeHidden = 0x02,
    AttributeSystem = 0x04,
    AttributeDirectory = 0x10,
    AttributeArchive = 0x20,
    AttributeNormal = 0x80,
    AttributeOffline = 0x1000,
};

}  // namespace text
