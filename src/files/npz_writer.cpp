#include "files/npz_writer.h"

#include <array>
#include <cstring>
#include <limits>

#include "common/runtime_error.h"

namespace qalto {
namespace {

template <typename T>
void Append(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));  // the platforms we build for are little-endian
  out.append(bytes, sizeof(T));
}

std::uint32_t Crc32(const std::string& bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes)
    crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

// The .npy file: magic, version 1.0, a header padded to a multiple of 64 bytes, the data.
std::string ShapeText(const std::vector<std::int64_t>& shape) {
  std::string text = "(";
  for (size_t k = 0; k < shape.size(); ++k)
    text += (k ? ", " : "") + std::to_string(shape[k]);
  return text + (shape.size() == 1 ? ",)" : ")");
}

std::string NpyFile(const NpyArray& array) {
  std::string header = "{'descr': '" + array.dtype +
                       "', 'fortran_order': False, 'shape': " + ShapeText(array.shape) + ", }";
  const size_t unpadded = 10 + header.size() + 1;
  header.append((64 - unpadded % 64) % 64, ' ');
  header += '\n';
  std::string file = "\x93NUMPY";
  file += '\x01';
  file += '\x00';
  Append(file, static_cast<std::uint16_t>(header.size()));
  return file + header + array.data;
}

}  // namespace

NpyArray DoubleArray(std::string name, std::vector<std::int64_t> shape,
                     const std::vector<double>& values) {
  std::string data(values.size() * sizeof(double), '\0');
  if (!values.empty()) std::memcpy(data.data(), values.data(), data.size());
  return {std::move(name), "<f8", std::move(shape), std::move(data)};
}

NpyArray IntegerArray(std::string name, const std::vector<std::int64_t>& values) {
  std::string data(values.size() * sizeof(std::int64_t), '\0');
  if (!values.empty()) std::memcpy(data.data(), values.data(), data.size());
  return {std::move(name), "<i8", {static_cast<std::int64_t>(values.size())}, std::move(data)};
}

NpyArray UnsignedArray(std::string name, const std::vector<std::uint64_t>& values) {
  std::string data(values.size() * sizeof(std::uint64_t), '\0');
  if (!values.empty()) std::memcpy(data.data(), values.data(), data.size());
  return {std::move(name), "<u8", {static_cast<std::int64_t>(values.size())}, std::move(data)};
}

// Characters of the texts as UTF-32; the texts are names the user gave, taken byte by byte
// when they are not plain ASCII (a name in another script shows as its bytes).
NpyArray StringArray(std::string name, const std::vector<std::string>& values) {
  size_t width = 1;
  for (const std::string& value : values)
    width = std::max(width, value.size());
  std::string data;
  for (const std::string& value : values) {
    for (size_t k = 0; k < width; ++k) {
      Append(data, static_cast<std::uint32_t>(
                       k < value.size() ? static_cast<unsigned char>(value[k]) : 0));
    }
  }
  return {std::move(name),
          "<U" + std::to_string(width),
          {static_cast<std::int64_t>(values.size())},
          std::move(data)};
}

std::string NpzArchive(const std::vector<NpyArray>& arrays) {
  std::string archive;
  std::string directory;
  for (const NpyArray& array : arrays) {
    const std::string file = NpyFile(array);
    const std::string name = array.name + ".npy";
    if (archive.size() + file.size() + name.size() + 30 >=
        std::numeric_limits<std::uint32_t>::max())
      throw RuntimeError("The data set is larger than 4 GiB");
    const auto offset = static_cast<std::uint32_t>(archive.size());
    const auto size = static_cast<std::uint32_t>(file.size());
    const std::uint32_t crc = Crc32(file);
    // local file header: version 2.0, no flags, stored, no time stamp
    Append(archive, 0x04034b50u);
    Append(archive, std::uint16_t{20});
    Append(archive, std::uint16_t{0});
    Append(archive, std::uint16_t{0});
    Append(archive, std::uint32_t{0});
    Append(archive, crc);
    Append(archive, size);
    Append(archive, size);
    Append(archive, static_cast<std::uint16_t>(name.size()));
    Append(archive, std::uint16_t{0});
    archive += name;
    archive += file;
    // its central directory entry
    Append(directory, 0x02014b50u);
    Append(directory, std::uint16_t{20});
    Append(directory, std::uint16_t{20});
    Append(directory, std::uint16_t{0});
    Append(directory, std::uint16_t{0});
    Append(directory, std::uint32_t{0});
    Append(directory, crc);
    Append(directory, size);
    Append(directory, size);
    Append(directory, static_cast<std::uint16_t>(name.size()));
    Append(directory, std::uint16_t{0});
    Append(directory, std::uint16_t{0});
    Append(directory, std::uint16_t{0});
    Append(directory, std::uint16_t{0});
    Append(directory, std::uint32_t{0});
    Append(directory, offset);
    directory += name;
  }
  const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
  archive += directory;
  Append(archive, 0x06054b50u);
  Append(archive, std::uint16_t{0});
  Append(archive, std::uint16_t{0});
  Append(archive, static_cast<std::uint16_t>(arrays.size()));
  Append(archive, static_cast<std::uint16_t>(arrays.size()));
  Append(archive, static_cast<std::uint32_t>(directory.size()));
  Append(archive, directoryOffset);
  Append(archive, std::uint16_t{0});
  return archive;
}

}  // namespace qalto
