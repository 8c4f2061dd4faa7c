#include "analysis/fourier_transform.h"

#include <cmath>
#include <cstddef>
#include <numbers>

namespace qalto {
namespace {

using Complex = std::complex<double>;
using Series = std::vector<Complex>;

bool IsPowerOfTwo(std::size_t n) {
  return n != 0 && (n & (n - 1)) == 0;
}

// In place, for a length that is a power of two; sign -1 forward, +1 backward (not scaled).
void Radix2(Series& a, int sign) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {  // bit-reversed order
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1)
      j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const double angle = sign * 2.0 * std::numbers::pi / static_cast<double>(length);
    const std::size_t half = length / 2;
    // The twiddle factors of this stage computed directly, so that no error accumulates.
    Series twiddle(half);
    for (std::size_t k = 0; k < half; ++k)
      twiddle[k] = std::polar(1.0, angle * static_cast<double>(k));
    for (std::size_t start = 0; start < n; start += length) {
      for (std::size_t k = 0; k < half; ++k) {
        const Complex u = a[start + k];
        const Complex v = a[start + k + half] * twiddle[k];
        a[start + k] = u + v;
        a[start + k + half] = u - v;
      }
    }
  }
}

// Bluestein: X(k) = conj(w(k)) sum (x(n) conj(w(n))) w(k - n), w(m) = e^(i pi m^2 / N) for the
// forward sign, the sum a circular convolution of a power-of-two length.
void Bluestein(Series& a, int sign) {
  const std::size_t n = a.size();
  std::size_t m = 1;
  while (m < 2 * n - 1)
    m <<= 1;
  Series chirp(n);
  for (std::size_t k = 0; k < n; ++k) {
    // k^2 mod 2N keeps the angle small and exact for long series.
    const std::size_t square = (k * k) % (2 * n);
    chirp[k] = std::polar(
        1.0, -sign * std::numbers::pi * static_cast<double>(square) / static_cast<double>(n));
  }
  Series x(m, Complex{}), w(m, Complex{});
  for (std::size_t k = 0; k < n; ++k)
    x[k] = a[k] * std::conj(chirp[k]);
  w[0] = chirp[0];
  for (std::size_t k = 1; k < n; ++k)
    w[k] = w[m - k] = chirp[k];
  Radix2(x, -1);
  Radix2(w, -1);
  for (std::size_t k = 0; k < m; ++k)
    x[k] *= w[k];
  Radix2(x, 1);
  const double scale = 1.0 / static_cast<double>(m);
  for (std::size_t k = 0; k < n; ++k)
    a[k] = x[k] * scale * std::conj(chirp[k]);
}

void Transform(Series& a, int sign) {
  if (a.size() < 2) return;
  if (IsPowerOfTwo(a.size())) {
    Radix2(a, sign);
  } else {
    Bluestein(a, sign);
  }
}

}  // namespace

void FourierTransform(Series& data) {
  Transform(data, -1);
}

void InverseFourierTransform(Series& data) {
  Transform(data, 1);
  const double scale = 1.0 / static_cast<double>(data.size());
  for (Complex& value : data)
    value *= scale;
}

}  // namespace qalto
