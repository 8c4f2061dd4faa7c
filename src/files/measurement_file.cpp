#include "files/measurement_file.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "common/run_monitor.h"
#include "files/chi_text_reader.h"
#include "files/data_reader.h"
#include "files/delimited_text_reader.h"
#include "files/eclab_text_reader.h"
#include "files/file_format_error.h"
#include "files/gamry_dta_reader.h"
#include "files/palmsens_csv_reader.h"
#include "files/pssession_reader.h"
#include "files/text_decoding.h"
#include "files/text_file.h"

namespace qalto {
namespace {

// The text as a stream, without a copy.
class TextBuffer : public std::streambuf {
 public:
  explicit TextBuffer(const std::string& text) {
    char* start = const_cast<char*>(text.data());  // only read from
    setg(start, start, start + text.size());
  }
};

// The program's own two-column CSV, read exactly as it always was; nothing when the text is
// not of that form.
std::optional<ImportedFile> TwoColumnCsv(const std::string& text, const std::string& source) {
  TextBuffer buffer(text);
  std::istream in(&buffer);
  ImportedFile file;
  file.format = "two-column CSV";
  file.curves.resize(1);
  file.curves[0].source = source;
  try {
    ReadCurveRecords(in, file.curves[0]);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
  return file;
}

}  // namespace

ImportedFile ReadMeasurementText(std::string bytes, const std::string& source,
                                 const ColumnChoice& choice) {
  DecodedText decoded = DecodeText(std::move(bytes));
  PollPoint(0, 0);
  std::vector<std::string_view> lines = SplitLines(decoded.text);
  PollPoint(0, 0);
  if (LooksLikeEcLabText(lines)) return ReadEcLabText(lines, source, choice);
  if (LooksLikeGamryDta(lines)) return ReadGamryDta(lines, source, choice);
  if (LooksLikePsSession(decoded.text)) return ReadPsSession(decoded.text, source);
  if (LooksLikePalmSensCsv(lines)) return ReadPalmSensCsv(lines, source);
  if (LooksLikeChiText(lines)) return ReadChiText(lines, source, choice);
  bool chosen = !choice.potential.empty() || !choice.current.empty();
  if (!chosen) {
    if (std::optional<ImportedFile> csv = TwoColumnCsv(decoded.text, source)) return *csv;
  }
  return ReadDelimitedText(lines, source, choice);
}

ImportedFile ReadMeasurementFile(const std::string& path, const ColumnChoice& choice) {
  std::ifstream file = OpenForInput(path);
  // Read in one piece of the file's size, then to its real end (it may have grown).
  std::error_code unknown;
  std::uintmax_t size = std::filesystem::file_size(path, unknown);
  std::string bytes(unknown ? 0 : static_cast<size_t>(size), '\0');
  try {
    // In pieces, with a look at a request to stop between them: a large file takes a while.
    constexpr size_t kPiece = size_t{4} << 20;  // bytes
    size_t done = 0;
    while (done < bytes.size() && file) {
      const size_t piece = std::min(kPiece, bytes.size() - done);
      file.read(bytes.data() + done, static_cast<std::streamsize>(piece));
      done += static_cast<size_t>(file.gcount());
      PollPoint(static_cast<int>(done >> 10), static_cast<int>(bytes.size() >> 10));  // kB
    }
    bytes.resize(done);
    if (file) {
      std::ostringstream rest;
      rest << file.rdbuf();
      bytes += rest.str();
    }
  } catch (const std::ios_base::failure&) {
    throw RuntimeError("Device I/O error");
  }
  if (file.bad()) throw RuntimeError("Device I/O error");
  return ReadMeasurementText(std::move(bytes), path, choice);
}

}  // namespace qalto
