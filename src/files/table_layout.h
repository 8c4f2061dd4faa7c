#pragma once
// How the data lines of a measurement table are cut into cells, and, for comma-separated data,
// which reading of the commas the whole file supports. A comma is a delimiter, but software
// set to a decimal comma writes it inside the numbers too: "0,100, 1,000e-6" (CH Instruments:
// a comma and a blank between the values) or "-0,500,-1,000e-05" (fixed decimals, nothing
// between). Such a file is read right where the file shows how, and refused where it does not,
// never read as E = -0 V and I = 500 A.

#include <string_view>
#include <vector>

namespace qalto {

// How the cells of a data line are cut.
enum class CellSplit {
  kDelimiter,   // at every delimiter (kBlanks: at each run of blanks)
  kCommaBlank,  // at a comma followed by a blank; the numbers carry decimal commas
  kCommaPairs,  // at every comma, two cells making one number with a decimal comma
};

// The layout of a table: where its data lines are and how their cells are written.
struct TableLayout {
  size_t firstLine = 0;  // index of the first data line
  size_t endLine = 0;    // index one past the last data line
  char delimiter = ',';
  char decimalMark = '.';
  CellSplit split = CellSplit::kDelimiter;
  size_t width = 0;  // the most filled cells a data line may hold (FilledCells); 0: any
};

// The cells of the line as the layout cuts them, each without the blanks around it.
std::vector<std::string_view> RowCells(std::string_view line, const TableLayout& layout);

// The number of cells up to the last that is not empty: a delimiter at the end of a line adds
// no value.
size_t FilledCells(const std::vector<std::string_view>& cells);

// Comma data as the program's own Export writes them, each value in a print zone with a blank
// before every comma (" .3 ,          1.24E-06 ,  ..."): after the potential and the current it
// may hold a square wave's forward and reverse currents, which the import leaves aside.
bool IsOwnExport(const std::vector<std::string_view>& lines, const TableLayout& layout);

// The reading of comma-separated data lines [layout.firstLine, layout.endLine) on the whole
// file, with named the number of columns the headings name (0 without headings): decimal points
// (or numbers without any mark, as wide as the headings or two) leave the commas delimiters;
// otherwise the commas followed by a blank, or fixed decimals in comma pairs, are read as
// decimal commas where every line agrees. Returns the layout with its split, decimal mark and
// width (named, or two without headings); raises a FileFormatError "Ambiguous decimal comma"
// at the first line that no reading explains.
TableLayout CommaLayoutOfFile(const std::vector<std::string_view>& lines, TableLayout layout,
                              size_t named);

}  // namespace qalto
