#pragma once
// Fixed-size tables indexed from 0, as the model holds them. An index outside the table raises
// "Subscript out of range" instead of touching memory that is not the table's.

#include <cstddef>
#include <vector>

#include "common/runtime_error.h"

namespace qalto {

template <typename T>
class Table1 {
 public:
  explicit Table1(int size) : cells_(static_cast<size_t>(size), T{}) {}

  T& operator()(int i) { return cells_[Checked(i)]; }
  const T& operator()(int i) const { return cells_[Checked(i)]; }

  int Size() const { return static_cast<int>(cells_.size()); }
  void Fill(const T& value) { cells_.assign(cells_.size(), value); }
  T* Data() { return cells_.data(); }
  const T* Data() const { return cells_.data(); }

 private:
  size_t Checked(int i) const {
    if (i < 0 || i >= Size()) throw RuntimeError::SubscriptOutOfRange();
    return static_cast<size_t>(i);
  }
  std::vector<T> cells_;
};

// Rows by columns, stored row after row: (point, curve) tables keep the curves of one point
// together.
template <typename T>
class Table2 {
 public:
  Table2(int rows, int columns)
      : rows_(rows), columns_(columns), cells_(static_cast<size_t>(rows * columns), T{}) {}

  T& operator()(int i, int j) { return cells_[Checked(i, j)]; }
  const T& operator()(int i, int j) const { return cells_[Checked(i, j)]; }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  void Fill(const T& value) { cells_.assign(cells_.size(), value); }

 private:
  size_t Checked(int i, int j) const {
    if (i < 0 || i >= rows_ || j < 0 || j >= columns_) throw RuntimeError::SubscriptOutOfRange();
    return static_cast<size_t>(i) * static_cast<size_t>(columns_) + static_cast<size_t>(j);
  }
  int rows_;
  int columns_;
  std::vector<T> cells_;
};

}  // namespace qalto
