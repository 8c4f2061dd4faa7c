#include "files/measurement_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "common/run_monitor.h"
#include "files/chi_text_reader.h"
#include "files/data_reader.h"
#include "files/delimited_text_reader.h"
#include "files/eclab_binary_reader.h"
#include "files/eclab_text_reader.h"
#include "files/file_format_error.h"
#include "files/gamry_dta_reader.h"
#include "files/import_limits.h"
#include "files/palmsens_csv_reader.h"
#include "files/pssession_reader.h"
#include "files/spectrum_reader.h"
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

// A text file as every reader sees it.
struct TextInput {
  const std::vector<std::string_view>& lines;
  const std::string& text;
  const std::string& source;
  const ColumnChoice& choice;
};

// The instruments' text formats, each recognised by its own signature and tried in this order
// (the first that recognises the file reads it); a new format is one row and its reader.
struct TextFormat {
  bool (*looks)(const TextInput&);
  ImportedFile (*read)(const TextInput&);
};

constexpr TextFormat kTextFormats[] = {
    {[](const TextInput& in) { return LooksLikeEcLabText(in.lines); },
     [](const TextInput& in) { return ReadEcLabText(in.lines, in.source, in.choice); }},
    {[](const TextInput& in) { return LooksLikeGamryDta(in.lines); },
     [](const TextInput& in) { return ReadGamryDta(in.lines, in.source, in.choice); }},
    {[](const TextInput& in) { return LooksLikePsSession(in.text); },
     [](const TextInput& in) { return ReadPsSession(in.text, in.source); }},
    {[](const TextInput& in) { return LooksLikePalmSensCsv(in.lines); },
     [](const TextInput& in) { return ReadPalmSensCsv(in.lines, in.source); }},
    {[](const TextInput& in) { return LooksLikeChiText(in.lines); },
     [](const TextInput& in) { return ReadChiText(in.lines, in.source, in.choice); }},
};

}  // namespace

ImportedFile ReadMeasurementText(std::string bytes, const std::string& source,
                                 const ColumnChoice& choice) {
  CheckImportSize(bytes.size());
  if (LooksLikeEcLabBinary(bytes)) return ReadEcLabBinary(bytes, source, choice);
  CheckTextBytes(bytes);
  DecodedText decoded = DecodeText(std::move(bytes));
  std::vector<std::string_view> lines = SplitLines(decoded.text, CheckedLineCount(decoded.text));
  bool chosen = !choice.potential.empty() || !choice.current.empty();
  if (!chosen) {
    if (std::optional<ImportedFile> spectrum = ReadSpectrumText(lines, source)) return *spectrum;
  }
  const TextInput input{lines, decoded.text, source, choice};
  for (const TextFormat& format : kTextFormats) {
    if (format.looks(input)) return format.read(input);
  }
  if (!chosen) {
    if (std::optional<ImportedFile> csv = TwoColumnCsv(decoded.text, source)) return *csv;
  }
  return ReadDelimitedText(lines, source, choice);
}

ImportedFile ReadMeasurementFile(const std::string& path, const ColumnChoice& choice) {
  std::ifstream file = OpenForInput(path);
  std::error_code unknown;
  std::uintmax_t size = std::filesystem::file_size(path, unknown);
  if (!unknown) CheckImportSize(static_cast<size_t>(std::min<std::uintmax_t>(size, SIZE_MAX)));
  // Read in blocks to the real end (the file may have grown), the first block looked at for
  // binary data before the rest is read, and never beyond the size an import takes.
  constexpr size_t kBlock = size_t{1} << 16;
  std::string bytes;
  bytes.reserve(unknown ? kBlock : static_cast<size_t>(size) + kBlock);
  try {
    while (file) {
      size_t old = bytes.size();
      bytes.resize(old + kBlock);
      file.read(bytes.data() + old, static_cast<std::streamsize>(kBlock));
      bytes.resize(old + static_cast<size_t>(file.gcount()));
      if (old == 0 && !LooksLikeEcLabBinary(bytes)) CheckTextBytes(bytes);
      CheckImportSize(bytes.size());
      PollPoint(static_cast<int>(bytes.size() >> 10), unknown ? 0 : static_cast<int>(size >> 10));
    }
  } catch (const std::ios_base::failure&) {
    throw RuntimeError("Device I/O error");
  }
  if (file.bad()) throw RuntimeError("Device I/O error");
  return ReadMeasurementText(std::move(bytes), path, choice);
}

}  // namespace qalto
