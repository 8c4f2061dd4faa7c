#pragma once
// What an import turns down before its readers look at a file: more bytes or lines than the
// curve store could ever use, and binary data. Each is found early and cheaply, so that a giant
// file or a disk image is refused in a moment and with little memory, not after gigabytes.

#include <cstddef>
#include <string_view>

#include "model/model.h"

namespace qalto {

// The largest file an import reads: the longest text exports (a million rows of thirty
// columns) stay well inside it.
inline constexpr size_t kMaxImportBytes = size_t{256} << 20;

// The most lines an import indexes: every curve of the store at its full length, twice over (a
// longer curve is resampled to fit anyway). A file of nothing but line ends stops here.
inline constexpr size_t kMaxImportLines = size_t{2} * kMaxCurves * kMaxPoints;

// Raises a FileFormatError "File too large" (line 0) when size bytes exceed kMaxImportBytes.
void CheckImportSize(size_t size);

// Raises a FileFormatError "Binary data" at the line of the first zero byte of the text (a zero
// 16-bit unit after a UTF-16 byte-order mark): no measurement export holds one.
void CheckTextBytes(std::string_view bytes);

// The number of lines of the text (CR LF, CR and LF each end one); raises a FileFormatError
// "Too many lines" (line 0) beyond kMaxImportLines.
size_t CheckedLineCount(std::string_view text);

}  // namespace qalto
