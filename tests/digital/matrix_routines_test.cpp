#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "digital/invert_matrix.h"
#include "digital/multiply_matrices.h"

namespace qalto {
namespace {

// The inverse of M times M, on both sides, is the identity; no message is shown.
void ExpectInvertible(const SpeciesMatrix& M, int n, double tolerance) {
  std::vector<std::string> shown;
  SpeciesMatrix inverse = M;
  InvertMatrix(inverse, n, [&](const std::string& text) { shown.push_back(text); });
  EXPECT_TRUE(shown.empty());
  SpeciesMatrix left{}, right{};
  MultiplyMatrices(inverse, M, left, n, n, n);
  MultiplyMatrices(M, inverse, right, n, n, n);
  for (int i = 1; i <= n; ++i) {
    for (int k = 1; k <= n; ++k) {
      EXPECT_NEAR(left[i][k], i == k ? 1.0 : 0.0, tolerance) << i << " " << k;
      EXPECT_NEAR(right[i][k], i == k ? 1.0 : 0.0, tolerance) << i << " " << k;
    }
  }
}

TEST(InvertMatrix, InverseTimesMatrixIsIdentityWithAndWithoutPivoting) {
  // A zero on the diagonal and a small leading entry force row exchanges.
  const double rows[4][4] = {
      {0.0, 2.0, 1.0, -1.0}, {3.0, 0.001, 4.0, 2.0}, {1.0, 5.0, 0.0, 3.0}, {2.0, -1.0, 6.0, 0.5}};
  SpeciesMatrix pivoted{};
  for (int i = 1; i <= 4; ++i)
    for (int k = 1; k <= 4; ++k)
      pivoted[i][k] = rows[i - 1][k - 1];
  ExpectInvertible(pivoted, 4, 1e-12);
  // Eight species, the largest block the simulation uses.
  SpeciesMatrix big{};
  for (int i = 1; i <= 8; ++i)
    for (int k = 1; k <= 8; ++k)
      big[i][k] = (i == k ? 10.0 : 0.0) + 1.0 / (i + 2 * k);
  ExpectInvertible(big, 8, 1e-13);
}

// A zero column stays exactly zero through the elimination: the message, and finite numbers
// the caller can go on with; sizes beyond the tables are out of range.
TEST(InvertMatrix, SingularMatrixShowsTheMessageAndCarriesOn) {
  SpeciesMatrix M{};
  M[1] = {0, 1, 0, 2};
  M[2] = {0, 3, 0, 4};
  M[3] = {0, 5, 0, 6};
  SpeciesMatrix again = M;
  std::vector<std::string> shown;
  EXPECT_NO_THROW(InvertMatrix(M, 3, [&](const std::string& text) { shown.push_back(text); }));
  EXPECT_EQ(shown, std::vector<std::string>{"Error: inverse matrix D=0"});
  for (int i = 1; i <= 3; ++i)
    for (int k = 1; k <= 3; ++k)
      EXPECT_TRUE(std::isfinite(M[i][k]));
  EXPECT_NO_THROW(InvertMatrix(again, 3, ShowMessage{}));  // without a message box
  EXPECT_THROW(InvertMatrix(M, 9, ShowMessage{}), RuntimeError);
  EXPECT_THROW(InvertMatrix(M, 0, ShowMessage{}), RuntimeError);
}

}  // namespace
}  // namespace qalto
