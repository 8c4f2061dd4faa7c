#include "files/eclab_binary_reader.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "files/curve_table.h"
#include "files/file_format_error.h"
#include "files/import_limits.h"
#include "files/table_cells.h"
#include "model/model_limits.h"

namespace qalto {
namespace {

constexpr std::string_view kMagic = "BIO-LOGIC MODULAR FILE\x1A";
constexpr size_t kFirstModule = 52;  // the magic padded with blanks to 48 bytes, four zeros
constexpr size_t kModuleNames = 6 + 10 + 25;  // "MODULE", the short name, the long name

[[noreturn]] void Refuse(const std::string& description, const std::string& expected,
                         const std::string& found) {
  throw FileFormatError(description, 0, expected, found);
}

std::string AtByte(size_t offset) {
  return " at byte " + std::to_string(offset);
}

// The file's bytes, read little-endian and never past the end.
class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

  size_t Size() const { return bytes_.size(); }

  void Need(size_t offset, size_t count, const std::string& what) const {
    if (offset > bytes_.size() || count > bytes_.size() - offset)
      Refuse("Input past end of file", what, "the end of the file" + AtByte(bytes_.size()));
  }

  std::string_view Text(size_t offset, size_t count) const {
    if (offset >= bytes_.size()) return {};
    return bytes_.substr(offset, count);
  }

  uint64_t Unsigned(size_t offset, size_t size, const std::string& what) const {
    Need(offset, size, what);
    uint64_t value = 0;
    for (size_t k = size; k-- > 0;)
      value = (value << 8) | static_cast<unsigned char>(bytes_[offset + k]);
    return value;
  }

  uint32_t U32(size_t offset, const std::string& what) const {
    return static_cast<uint32_t>(Unsigned(offset, 4, what));
  }

  double F32(size_t offset, const std::string& what) const {
    return std::bit_cast<float>(U32(offset, what));
  }

  double F64(size_t offset, const std::string& what) const {
    return std::bit_cast<double>(Unsigned(offset, 8, what));
  }

 private:
  std::string_view bytes_;
};

struct Module {
  std::string name;  // the short name without its padding: "VMP Set", "VMP data", "VMP LOG"
  uint32_t version = 0;
  size_t data = 0;    // where its data start
  size_t length = 0;  // bytes of data
};

// The chain of modules, each right after the data of the one before. Files of EC-Lab 11.50
// and later mark a longer header with FF FF FF FF: length, a zero word, the version, the date.
std::vector<Module> ReadModules(const Bytes& file) {
  std::vector<Module> modules;
  size_t at = kFirstModule;
  while (at < file.Size()) {
    if (file.Text(at, 6) != "MODULE")
      Refuse("Type mismatch", "\"MODULE\"" + AtByte(at), std::string(file.Text(at, 16)));
    Module module;
    module.name = std::string(TrimmedCell(file.Text(at + 6, 10)));
    const std::string what = "the header of module \"" + module.name + "\"";
    size_t header = at + kModuleNames;
    if (file.U32(header, what) == 0xFFFFFFFFu) {
      module.length = file.U32(header + 4, what);
      module.version = file.U32(header + 12, what);
      module.data = header + 24;
    } else {
      module.length = file.U32(header, what);
      module.version = file.U32(header + 4, what);
      module.data = header + 16;  // after the length, the version and the 8-byte date
    }
    file.Need(module.data, module.length,
              std::to_string(module.length) + " bytes of module \"" + module.name + "\"");
    modules.push_back(module);
    at = module.data + module.length;
  }
  return modules;
}

const Module* FindModule(const std::vector<Module>& modules, std::string_view name) {
  for (const Module& module : modules) {
    if (module.name == name) return &module;
  }
  return nullptr;
}

// How a column is stored in a record. The flags (mode, ox/red, error, ...) share one byte at
// the start of the record, whichever of them the file lists.
enum class Stored { kFlag, kFloat32, kFloat64, kUint16, kUint32 };

struct StoredColumn {
  uint16_t id;
  const char* heading;  // as the text export names the column
  Stored type;
};

constexpr StoredColumn kStoredColumns[] = {
    {1, "mode", Stored::kFlag},
    {2, "ox/red", Stored::kFlag},
    {3, "error", Stored::kFlag},
    {21, "control changes", Stored::kFlag},
    {31, "Ns changes", Stored::kFlag},
    {65, "counter inc.", Stored::kFlag},
    {463, "Ramp upwards", Stored::kFlag},
    {4, "time/s", Stored::kFloat64},
    {5, "control/V/mA", Stored::kFloat32},
    {6, "Ewe/V", Stored::kFloat32},
    {7, "dQ/mA.h", Stored::kFloat64},
    {8, "I/mA", Stored::kFloat32},
    {9, "Ece/V", Stored::kFloat32},
    {11, "<I>/mA", Stored::kFloat64},
    {13, "(Q-Qo)/mA.h", Stored::kFloat64},
    {16, "Analog IN 1/V", Stored::kFloat32},
    {19, "control/V", Stored::kFloat32},
    {20, "control/mA", Stored::kFloat32},
    {23, "dQ/mA.h", Stored::kFloat64},
    {24, "cycle number", Stored::kFloat64},
    {26, "Rapp/Ohm", Stored::kFloat32},
    // Impedance (PEIS, GEIS): one record per frequency.
    {32, "freq/Hz", Stored::kFloat32},
    {33, "|Ewe|/V", Stored::kFloat32},
    {34, "|I|/A", Stored::kFloat32},
    {35, "Phase(Z)/deg", Stored::kFloat32},
    {36, "|Z|/Ohm", Stored::kFloat32},
    {37, "Re(Z)/Ohm", Stored::kFloat32},
    {38, "-Im(Z)/Ohm", Stored::kFloat32},
    {39, "I Range", Stored::kUint16},
    {69, "R/Ohm", Stored::kFloat32},
    {70, "P/W", Stored::kFloat32},
    {74, "|Energy|/W.h", Stored::kFloat64},
    {75, "Analog OUT/V", Stored::kFloat32},
    {76, "<I>/mA", Stored::kFloat32},
    {77, "<Ewe>/V", Stored::kFloat32},
    {78,
     "Cs-2/\xC2\xB5"
     "F-2",
     Stored::kFloat32},
    {96, "|Ece|/V", Stored::kFloat32},
    {98, "Phase(Zce)/deg", Stored::kFloat32},
    {99, "|Zce|/Ohm", Stored::kFloat32},
    {100, "Re(Zce)/Ohm", Stored::kFloat32},
    {101, "-Im(Zce)/Ohm", Stored::kFloat32},
    {123, "Energy charge/W.h", Stored::kFloat64},
    {124, "Energy discharge/W.h", Stored::kFloat64},
    {125,
     "Capacitance charge/\xC2\xB5"
     "F",
     Stored::kFloat64},
    {126,
     "Capacitance discharge/\xC2\xB5"
     "F",
     Stored::kFloat64},
    {131, "Ns", Stored::kUint16},
    {163, "|Estack|/V", Stored::kFloat32},
    {168, "Rcmp/Ohm", Stored::kFloat32},
    {169,
     "Cs/\xC2\xB5"
     "F",
     Stored::kFloat32},
    {172,
     "Cp/\xC2\xB5"
     "F",
     Stored::kFloat32},
    {173,
     "Cp-2/\xC2\xB5"
     "F-2",
     Stored::kFloat32},
    {174, "<Ewe>/V", Stored::kFloat32},
    {241, "|E1|/V", Stored::kFloat32},
    {242, "|E2|/V", Stored::kFloat32},
    {271, "Phase(Z1)/deg", Stored::kFloat32},
    {272, "Phase(Z2)/deg", Stored::kFloat32},
    {301, "|Z1|/Ohm", Stored::kFloat32},
    {302, "|Z2|/Ohm", Stored::kFloat32},
    {331, "Re(Z1)/Ohm", Stored::kFloat32},
    {332, "Re(Z2)/Ohm", Stored::kFloat32},
    {361, "-Im(Z1)/Ohm", Stored::kFloat32},
    {362, "-Im(Z2)/Ohm", Stored::kFloat32},
    {391, "<E1>/V", Stored::kFloat32},
    {392, "<E2>/V", Stored::kFloat32},
    {422, "Phase(Zstack)/deg", Stored::kFloat32},
    {423, "|Zstack|/Ohm", Stored::kFloat32},
    {424, "Re(Zstack)/Ohm", Stored::kFloat32},
    {425, "-Im(Zstack)/Ohm", Stored::kFloat32},
    {426, "<Estack>/V", Stored::kFloat32},
    {430, "Phase(Zwe-ce)/deg", Stored::kFloat32},
    {431, "|Zwe-ce|/Ohm", Stored::kFloat32},
    {432, "Re(Zwe-ce)/Ohm", Stored::kFloat32},
    {433, "-Im(Zwe-ce)/Ohm", Stored::kFloat32},
    {434, "(Q-Qo)/C", Stored::kFloat32},
    {435, "dQ/C", Stored::kFloat32},
    {438, "step time/s", Stored::kFloat64},
    {441, "<Ece>/V", Stored::kFloat32},
    {462,
     "Temperature/\xC2\xB0"
     "C",
     Stored::kFloat32},
    {467, "Q charge/discharge/mA.h", Stored::kFloat64},
    {468, "half cycle", Stored::kUint32},
    {469, "z cycle", Stored::kUint32},
    {471, "<Ece>/V", Stored::kFloat32},
    {473, "THD Ewe/%", Stored::kFloat32},
    {474, "THD I/%", Stored::kFloat32},
    {476, "NSD Ewe/%", Stored::kFloat32},
    {477, "NSD I/%", Stored::kFloat32},
    {479, "NSR Ewe/%", Stored::kFloat32},
    {480, "NSR I/%", Stored::kFloat32},
};

size_t StoredSize(Stored type) {
  switch (type) {
    case Stored::kFlag:
      return 0;
    case Stored::kFloat32:
    case Stored::kUint32:
      return 4;
    case Stored::kFloat64:
      return 8;
    case Stored::kUint16:
      return 2;
  }
  return 0;
}

const StoredColumn* FindStoredColumn(unsigned id) {
  for (const StoredColumn& column : kStoredColumns) {
    if (column.id == id) return &column;
  }
  return nullptr;
}

// The value columns of the data module, in the order the file lists them, with where each
// stands in a record.
struct RecordLayout {
  std::vector<const StoredColumn*> columns;
  std::vector<size_t> offsets;
  size_t size = 0;    // bytes of a record
  size_t points = 0;  // records
  size_t first = 0;   // where the first record starts in the file
};

// Where the records start in the data module, by its version.
std::optional<size_t> RecordStart(uint32_t version) {
  if (version == 2) return 405;
  if (version == 3) return 406;
  if (version == 11) return 1007;
  return std::nullopt;
}

RecordLayout LayoutOf(const Bytes& file, const Module& data) {
  std::optional<size_t> start = RecordStart(data.version);
  if (!start) {
    Refuse("Type mismatch", "a data module of version 2, 3 or 11",
           "version " + std::to_string(data.version));
  }
  const std::string what = "the column list of module \"VMP data\"";
  RecordLayout layout;
  layout.points = file.U32(data.data, what);
  const bool wideCount = data.version >= 11;
  size_t count = file.Unsigned(data.data + 4, wideCount ? 2 : 1, what);
  size_t ids = data.data + (wideCount ? 6 : 5);
  bool flags = false;
  for (size_t c = 0; c < count; ++c) {
    unsigned id = static_cast<unsigned>(file.Unsigned(ids + 2 * c, 2, what));
    const StoredColumn* column = FindStoredColumn(id);
    if (column == nullptr) {
      Refuse("Type mismatch", "a column the program knows",
             "column id " + std::to_string(id) + AtByte(ids + 2 * c));
    }
    if (column->type == Stored::kFlag) {
      flags = true;
      continue;
    }
    layout.columns.push_back(column);
  }
  layout.size = flags ? 1 : 0;
  for (const StoredColumn* column : layout.columns) {
    layout.offsets.push_back(layout.size);
    layout.size += StoredSize(column->type);
  }
  layout.first = data.data + *start;
  if (*start > data.length || layout.size == 0 ||
      layout.points > (data.length - *start) / layout.size) {
    Refuse("Input past end of file",
           std::to_string(layout.points) + " records of " + std::to_string(layout.size) +
               " bytes in module \"VMP data\"",
           std::to_string(data.length) + " bytes of data");
  }
  if (layout.points > kMaxImportLines) {
    Refuse("Too many lines", "at most " + std::to_string(kMaxImportLines) + " points",
           std::to_string(layout.points) + " points");
  }
  return layout;
}

double ValueAt(const Bytes& file, size_t offset, Stored type) {
  const std::string what = "a record of module \"VMP data\"";
  switch (type) {
    case Stored::kFloat32:
      return file.F32(offset, what);
    case Stored::kFloat64:
      return file.F64(offset, what);
    case Stored::kUint16:
      return static_cast<double>(file.Unsigned(offset, 2, what));
    case Stored::kUint32:
      return static_cast<double>(file.U32(offset, what));
    case Stored::kFlag:
      break;
  }
  return 0;
}

// One column of every record, times its scale; a value that is no finite number is refused.
std::vector<double> ReadColumn(const Bytes& file, const RecordLayout& layout, int column,
                               double scale) {
  const size_t c = static_cast<size_t>(column);
  std::vector<double> values(layout.points);
  for (size_t i = 0; i < layout.points; ++i) {
    double value =
        ValueAt(file, layout.first + i * layout.size + layout.offsets[c], layout.columns[c]->type);
    if (!std::isfinite(value)) {
      Refuse("Type mismatch",
             std::string("a number in column \"") + layout.columns[c]->heading + "\"",
             "a value that is none in point " + std::to_string(i + 1));
    }
    values[i] = value * scale;
  }
  return values;
}

// The technique, from the first byte of the settings module.
std::string TechniqueOf(const Bytes& file, const Module* settings) {
  if (settings == nullptr || settings->length == 0) return "";
  switch (file.Unsigned(settings->data, 1, "the technique")) {
    case 0x06:
      return "Cyclic Voltammetry";
    case 0x18:
      return "Chronoamperometry / Chronocoulometry";
    case 0x33:
      return "Cyclic Voltammetry Advanced";
    case 0x6C:
      return "Linear Sweep Voltammetry";
    default:
      return "";
  }
}

// The electrode area, a float at byte 529 of the settings module, in cm2.
InstrumentSettings SettingsOf(const Bytes& file, const Module* settings) {
  constexpr size_t kAreaAt = 529;
  InstrumentSettings stated;
  if (settings == nullptr || settings->length < kAreaAt + 4) return stated;
  double area = file.F32(settings->data + kAreaAt, "the electrode area");
  if (std::isfinite(area) && area > 0) stated.area = area;
  return stated;
}

int ColumnNamed(const RecordLayout& layout, std::string_view heading) {
  for (size_t c = 0; c < layout.columns.size(); ++c) {
    if (layout.columns[c]->heading == heading) return static_cast<int>(c);
  }
  return -1;
}

std::string Shown(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// An impedance measurement (PEIS, GEIS): one record per frequency with Z' and -Z''; a spectrum
// per cycle when the file repeats it. Nothing when the records hold no spectrum.
std::optional<ImportedFile> ReadSpectrumRecords(const Bytes& file, const RecordLayout& layout,
                                                const std::string& source) {
  const int f = ColumnNamed(layout, "freq/Hz"), re = ColumnNamed(layout, "Re(Z)/Ohm"),
            im = ColumnNamed(layout, "-Im(Z)/Ohm"), cycle = ColumnNamed(layout, "cycle number");
  if (f < 0 || re < 0 || im < 0) return std::nullopt;
  if (layout.points == 0) Refuse("Input past end of file", "points in module \"VMP data\"", "none");
  const std::vector<double> frequency = ReadColumn(file, layout, f, 1);
  const std::vector<double> real = ReadColumn(file, layout, re, 1);
  const std::vector<double> minusImaginary = ReadColumn(file, layout, im, 1);
  const std::vector<double> cycles =
      cycle >= 0 ? ReadColumn(file, layout, cycle, 1) : std::vector<double>(layout.points, 1);
  ImportedFile imported;
  imported.format = "EC-Lab binary";
  imported.technique = "impedance";
  for (size_t i = 0; i < layout.points; ++i) {
    if (!(frequency[i] > 0)) {
      Refuse("Invalid procedure call or argument", "a frequency above 0 Hz",
             "freq/Hz " + Shown(frequency[i]) + " in point " + std::to_string(i + 1));
    }
    if (i == 0 || cycles[i] != cycles[i - 1]) {
      imported.curves.emplace_back();
      imported.curves.back().label = "cycle " + Shown(cycles[i]);
    }
    ImportedCurve& curve = imported.curves.back();
    if (curve.potential.size() >= static_cast<size_t>(kMaxPoints / 2)) {
      Refuse("Overflow", "at most " + std::to_string(kMaxPoints / 2) + " frequencies",
             std::to_string(curve.potential.size() + 1) + " in " + curve.label);
    }
    curve.potential.push_back(frequency[i]);
    curve.current.push_back(real[i]);
    curve.imaginary.push_back(-minusImaginary[i]);
  }
  if (imported.curves.size() == 1) imported.curves.front().label.clear();
  Stamp(imported.curves, source, InstrumentSettings{});
  return imported;
}

}  // namespace

bool LooksLikeEcLabBinary(std::string_view bytes) {
  return bytes.substr(0, kMagic.size()) == kMagic;
}

ImportedFile ReadEcLabBinary(std::string_view bytes, const std::string& source,
                             const ColumnChoice& choice) {
  const Bytes file(bytes);
  std::vector<Module> modules = ReadModules(file);
  const Module* data = FindModule(modules, "VMP data");
  if (data == nullptr) {
    std::string found;
    for (const Module& module : modules)
      found += (found.empty() ? "" : ", ") + module.name;
    Refuse("Type mismatch", "a module \"VMP data\"", found.empty() ? "no module" : found);
  }
  RecordLayout layout = LayoutOf(file, *data);
  if (std::optional<ImportedFile> spectrum = ReadSpectrumRecords(file, layout, source))
    return *spectrum;
  std::vector<std::string_view> headings;
  for (const StoredColumn* column : layout.columns)
    headings.emplace_back(column->heading);
  CurveColumns columns = ChooseColumns(headings);
  ApplyColumnChoice(columns, headings, choice, 0);
  if (columns.potential < 0 || columns.current < 0)
    Refuse("Type mismatch", "columns \"Ewe/V\" and \"<I>/mA\"", "the columns of the data");
  if (layout.points == 0) Refuse("Input past end of file", "points in module \"VMP data\"", "none");
  TableRows rows;
  rows.potential = ReadColumn(file, layout, columns.potential, columns.potentialScale);
  rows.current = ReadColumn(file, layout, columns.current, columns.currentScale);
  if (columns.cycle >= 0) rows.cycle = ReadColumn(file, layout, columns.cycle, 1);
  if (columns.time >= 0) rows.time = ReadColumn(file, layout, columns.time, columns.timeScale);

  ImportedFile imported;
  imported.format = "EC-Lab binary";
  const Module* settings = FindModule(modules, "VMP Set");
  imported.technique = TechniqueOf(file, settings);
  imported.curves = SplitAtCycleNumbers(rows, "cycle");
  NoteColumns(imported, headings, columns);
  Stamp(imported.curves, source, SettingsOf(file, settings));
  return imported;
}

}  // namespace qalto
