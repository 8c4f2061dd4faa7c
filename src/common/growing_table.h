#pragma once
// Tables of numbers with a fixed range of indexes whose storage grows with the rows written: a
// row never written reads 0, as in a table filled with zeros, and costs nothing, so that a copy
// of the table copies only the rows in use. An index outside the range raises "Subscript out of
// range". Writing a row beyond the stored ones may move the column: a reference to a cell stays
// valid until the next write below the range's end that lies beyond the stored rows.

#include <algorithm>
#include <cstddef>
#include <span>
#include <type_traits>
#include <vector>

#include "common/runtime_error.h"

namespace qalto {

template <typename T>
class GrowingTable1 {
  static_assert(std::is_arithmetic_v<T>, "a growing table holds numbers");

 public:
  explicit GrowingTable1(int size) : size_(size) {}

  T& operator()(int i) {
    size_t row = Checked(i);
    if (row >= cells_.size()) cells_.resize(row + 1);
    return cells_[row];
  }
  const T& operator()(int i) const {
    size_t row = Checked(i);
    return row < cells_.size() ? cells_[row] : kZero;
  }

  // Rows first..last side by side, stored from now on: a solver writes them in place. Valid
  // until a later write beyond them.
  std::span<T> Rows(int first, int last) {
    if (last < first) return {};
    Checked(first);
    (*this)(last);
    return std::span<T>(cells_).subspan(static_cast<size_t>(first),
                                        static_cast<size_t>(last - first) + 1);
  }

  // Rows first..last appended to out, a row never written as 0.
  void AppendRows(int first, int last, std::vector<T>& out) const {
    if (last < first) return;
    const size_t begin = Checked(first), end = Checked(last) + 1;
    const size_t stored = std::clamp(cells_.size(), begin, end);
    out.insert(out.end(), cells_.begin() + static_cast<std::ptrdiff_t>(begin),
               cells_.begin() + static_cast<std::ptrdiff_t>(stored));
    out.resize(out.size() + (end - stored), T{});
  }

  int Size() const { return size_; }
  int StoredRows() const { return static_cast<int>(cells_.size()); }
  // Every row back to 0, nothing stored.
  void Clear() { cells_ = {}; }
  // Rows first..last read 0 afterwards: the stored ones among them are set to 0, the others
  // read 0 already.
  void Zero(int first, int last) {
    if (last < first) return;
    Checked(first);
    Checked(last);
    const size_t end = std::min(static_cast<size_t>(last) + 1, cells_.size());
    for (size_t row = static_cast<size_t>(first); row < end; ++row)
      cells_[row] = T{};
  }

 private:
  static constexpr T kZero{};
  size_t Checked(int i) const {
    if (i < 0 || i >= size_) throw RuntimeError::SubscriptOutOfRange();
    return static_cast<size_t>(i);
  }
  int size_;
  std::vector<T> cells_;
};

// Rows by columns, each column stored on its own and grown to the highest row written in it: a
// (point, curve) table holds only the points and curves in use.
template <typename T>
class GrowingTable2 {
 public:
  GrowingTable2(int rows, int columns)
      : columns_(static_cast<size_t>(columns), GrowingTable1<T>(rows)), rows_(rows) {}

  T& operator()(int i, int j) { return columns_[Column(j)](i); }
  const T& operator()(int i, int j) const { return columns_[Column(j)](i); }

  // Rows first..last of column j side by side (GrowingTable1::Rows).
  std::span<T> ColumnRows(int j, int first, int last) {
    return columns_[Column(j)].Rows(first, last);
  }

  // Rows first..last of column j appended to out (GrowingTable1::AppendRows).
  void AppendColumnRows(int j, int first, int last, std::vector<T>& out) const {
    columns_[Column(j)].AppendRows(first, last, out);
  }

  int Rows() const { return rows_; }
  int Columns() const { return static_cast<int>(columns_.size()); }
  void Clear() {
    for (GrowingTable1<T>& column : columns_)
      column.Clear();
  }
  // Rows first..last of every column read 0 afterwards.
  void ZeroRows(int first, int last) {
    for (GrowingTable1<T>& column : columns_)
      column.Zero(first, last);
  }
  // Rows stored in the longest column.
  int StoredRows() const {
    int rows = 0;
    for (const GrowingTable1<T>& column : columns_)
      rows = column.StoredRows() > rows ? column.StoredRows() : rows;
    return rows;
  }

 private:
  size_t Column(int j) const {
    if (j < 0 || j >= Columns()) throw RuntimeError::SubscriptOutOfRange();
    return static_cast<size_t>(j);
  }
  std::vector<GrowingTable1<T>> columns_;
  int rows_;
};

// Rows first..last of column `from` of `source` written into the same rows of column `to` of
// `target`, which may be the same table.
template <typename T>
void CopyColumnRows(GrowingTable2<T>& source, int from, GrowingTable2<T>& target, int to, int first,
                    int last) {
  const std::span<T> rows = source.ColumnRows(from, first, last);
  std::copy(rows.begin(), rows.end(), target.ColumnRows(to, first, last).begin());
}

}  // namespace qalto
