#pragma once
// Writing numpy's .npz archives: a zip file (stored, not compressed) of .npy arrays, which
// numpy.load reads as a dictionary of arrays. Arrays are little-endian, C order.

#include <cstdint>
#include <string>
#include <vector>

namespace qalto {

struct NpyArray {
  std::string name;                 // the key numpy.load gives it
  std::string dtype;                // "<f8", "<i8", "<u8" or "<U<n>" (strings of n characters)
  std::vector<std::int64_t> shape;  // rows, columns, ...
  std::string data;                 // the raw bytes, as many as the shape and dtype take
};

// One array of doubles, 64-bit integers or strings (as UTF-32, numpy's unicode arrays).
NpyArray DoubleArray(std::string name, std::vector<std::int64_t> shape,
                     const std::vector<double>& values);
NpyArray IntegerArray(std::string name, const std::vector<std::int64_t>& values);
NpyArray UnsignedArray(std::string name, const std::vector<std::uint64_t>& values);
NpyArray StringArray(std::string name, const std::vector<std::string>& values);

// The archive's bytes; raises a RuntimeError when it would pass the 4 GiB of a plain zip.
std::string NpzArchive(const std::vector<NpyArray>& arrays);

}  // namespace qalto
