// SHA-256 of a file's bytes, to check the checksums a manifest gives for its files.
#pragma once

#include <string>
#include <string_view>

namespace importer {

// The digest as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

}  // namespace importer
