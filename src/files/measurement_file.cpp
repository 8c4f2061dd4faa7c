#include "files/measurement_file.h"

#include <sstream>

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

// The program's own two-column CSV, read exactly as it always was; nothing when the text is
// not of that form.
std::optional<ImportedFile> TwoColumnCsv(std::string_view bytes, const std::string& source) {
  std::istringstream in{std::string(bytes)};
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

ImportedFile ReadMeasurementText(std::string_view bytes, const std::string& source) {
  DecodedText decoded = DecodeText(bytes);
  std::vector<std::string_view> lines = SplitLines(decoded.text);
  if (LooksLikeEcLabText(lines)) return ReadEcLabText(lines, source);
  if (LooksLikeGamryDta(lines)) return ReadGamryDta(lines, source);
  if (LooksLikePsSession(decoded.text)) return ReadPsSession(decoded.text, source);
  if (LooksLikePalmSensCsv(lines)) return ReadPalmSensCsv(lines, source);
  if (LooksLikeChiText(lines)) return ReadChiText(lines, source);
  if (std::optional<ImportedFile> csv = TwoColumnCsv(bytes, source)) return *csv;
  return ReadDelimitedText(lines, source);
}

ImportedFile ReadMeasurementFile(const std::string& path) {
  std::ifstream file = OpenForInput(path);
  std::ostringstream bytes;
  try {
    bytes << file.rdbuf();
  } catch (const std::ios_base::failure&) {
    throw RuntimeError("Device I/O error");
  }
  if (file.bad()) throw RuntimeError("Device I/O error");
  return ReadMeasurementText(bytes.view(), path);
}

}  // namespace qalto
