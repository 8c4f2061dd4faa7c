#pragma once
// Fixed-size tables indexed from 0, as the model holds them. An index outside the table raises
// "Subscript out of range" instead of touching memory that is not the table's.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/runtime_error.h"

namespace qalto {

// Tables of numbers come zeroed from calloc and are not written again: a large table is then
// mapped pages that the system supplies zeroed when first touched, so that a run pays only for
// the rows it uses (the curve tables alone are over a megabyte).
template <typename T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <typename U>
  ZeroedAllocator(const ZeroedAllocator<U>&) {}
  T* allocate(size_t n) {
    void* cells = std::calloc(n, sizeof(T));
    if (cells == nullptr) throw std::bad_alloc();
    return static_cast<T*>(cells);
  }
  void deallocate(T* cells, size_t) { std::free(cells); }
  // Default construction leaves calloc's zeros; every other construction is the usual one.
  template <typename U>
  void construct(U* cell) {
    ::new (static_cast<void*>(cell)) U;
  }
  template <typename U, typename... Args>
  void construct(U* cell, Args&&... args) {
    ::new (static_cast<void*>(cell)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

template <typename T>
using TableCells =
    std::vector<T,
                std::conditional_t<std::is_arithmetic_v<T>, ZeroedAllocator<T>, std::allocator<T>>>;

template <typename T>
class Table1 {
 public:
  explicit Table1(int size) : cells_(static_cast<size_t>(size)) {}

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
  TableCells<T> cells_;
};

// Rows by columns, stored row after row: (point, curve) tables keep the curves of one point
// together.
template <typename T>
class Table2 {
 public:
  Table2(int rows, int columns)
      : rows_(rows), columns_(columns), cells_(static_cast<size_t>(rows * columns)) {}

  T& operator()(int i, int j) { return cells_[Checked(i, j)]; }
  const T& operator()(int i, int j) const { return cells_[Checked(i, j)]; }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  void Fill(const T& value) { cells_.assign(cells_.size(), value); }
  // The cells (i, 0..Columns()-1), with i checked once: for loops that fill a row whose columns
  // they have checked before.
  T* Row(int i) { return &cells_[Checked(i, 0)]; }

 private:
  size_t Checked(int i, int j) const {
    if (i < 0 || i >= rows_ || j < 0 || j >= columns_) throw RuntimeError::SubscriptOutOfRange();
    return static_cast<size_t>(i) * static_cast<size_t>(columns_) + static_cast<size_t>(j);
  }
  int rows_;
  int columns_;
  TableCells<T> cells_;
};

}  // namespace qalto
