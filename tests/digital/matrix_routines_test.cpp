#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "digital/invert_matrix.h"
#include "digital/multiply_matrices.h"

namespace qalto {
namespace {

SpeciesMatrix FromRows(const std::vector<std::vector<double>>& rows) {
  SpeciesMatrix M{};
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t k = 0; k < rows[i].size(); ++k)
      M[i + 1][k + 1] = rows[i][k];
  }
  return M;
}

void ExpectIdentity(const SpeciesMatrix& P, int n, double tolerance) {
  for (int i = 1; i <= n; ++i) {
    for (int k = 1; k <= n; ++k)
      EXPECT_NEAR(P[i][k], i == k ? 1.0 : 0.0, tolerance);
  }
}

struct Messages {
  std::vector<std::string> shown;
  ShowMessage Sink() {
    return [this](const std::string& text) { shown.push_back(text); };
  }
};

TEST(InvertMatrix, InverseTimesMatrixIsIdentityWithAndWithoutPivoting) {
  Messages messages;
  // A zero on the diagonal and a small leading entry force row exchanges.
  const SpeciesMatrix pivoted = FromRows(
      {{0.0, 2.0, 1.0, -1.0}, {3.0, 0.001, 4.0, 2.0}, {1.0, 5.0, 0.0, 3.0}, {2.0, -1.0, 6.0, 0.5}});
  SpeciesMatrix inverse = pivoted;
  InvertMatrix(inverse, 4, messages.Sink());
  SpeciesMatrix product{};
  MultiplyMatrices(inverse, pivoted, product, 4, 4, 4);
  ExpectIdentity(product, 4, 1e-12);
  MultiplyMatrices(pivoted, inverse, product, 4, 4, 4);
  ExpectIdentity(product, 4, 1e-12);

  // The largest entry lies off the diagonal, so the elimination exchanges the rows; undoing the
  // exchange gives the same inverse as the formula of a 2 x 2 matrix.
  const SpeciesMatrix swapped = FromRows({{1.0, 4.0}, {3.0, 2.0}});  // det = -10
  SpeciesMatrix swappedInverse = swapped;
  InvertMatrix(swappedInverse, 2, messages.Sink());
  EXPECT_NEAR(swappedInverse[1][1], -0.2, 1e-15);
  EXPECT_NEAR(swappedInverse[1][2], 0.4, 1e-15);
  EXPECT_NEAR(swappedInverse[2][1], 0.3, 1e-15);
  EXPECT_NEAR(swappedInverse[2][2], -0.1, 1e-15);

  // Eight species, the largest block the simulation uses.
  SpeciesMatrix big{};
  for (int i = 1; i <= 8; ++i) {
    for (int k = 1; k <= 8; ++k)
      big[i][k] = (i == k ? 10.0 : 0.0) + 1.0 / (i + 2 * k);
  }
  SpeciesMatrix bigInverse = big;
  InvertMatrix(bigInverse, 8, messages.Sink());
  MultiplyMatrices(bigInverse, big, product, 8, 8, 8);
  ExpectIdentity(product, 8, 1e-13);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(InvertMatrix, DiagonalMatrixIsInvertedEntryByEntry) {
  Messages messages;
  SpeciesMatrix M = FromRows({{2.0, 0.0, 0.0}, {0.0, 4.0, 0.0}, {0.0, 0.0, -0.5}});
  M[4][1] = 7.0;  // outside the 3 x 3 block: neither read nor changed
  InvertMatrix(M, 3, messages.Sink());
  EXPECT_EQ(M[1][1], 0.5);
  EXPECT_EQ(M[2][2], 0.25);
  EXPECT_EQ(M[3][3], -2.0);
  EXPECT_EQ(M[1][2], 0.0);
  EXPECT_EQ(M[3][1], 0.0);
  EXPECT_EQ(M[4][1], 7.0);
  EXPECT_TRUE(messages.shown.empty());

  // A zero on the diagonal of a diagonal matrix is a division by zero, not a singular message.
  SpeciesMatrix zero = FromRows({{1.0, 0.0}, {0.0, 0.0}});
  try {
    InvertMatrix(zero, 2, messages.Sink());
    FAIL() << "expected a division by zero";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Description(), "Division by zero");
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST(InvertMatrix, SingularMatrixShowsTheMessageAndCarriesOn) {
  Messages messages;
  // A zero column stays exactly zero through the elimination.
  const SpeciesMatrix singular = FromRows({{1.0, 0.0, 2.0}, {3.0, 0.0, 4.0}, {5.0, 0.0, 6.0}});
  SpeciesMatrix M = singular;
  EXPECT_NO_THROW(InvertMatrix(M, 3, messages.Sink()));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "Error: inverse matrix D=0");
  // Partly transformed: no longer the input, and the caller can go on using it.
  EXPECT_NE(M, singular);
  for (int i = 1; i <= 3; ++i) {
    for (int k = 1; k <= 3; ++k)
      EXPECT_TRUE(std::isfinite(M[i][k]));
  }
  // Without a message box the routine still returns.
  SpeciesMatrix again = singular;
  EXPECT_NO_THROW(InvertMatrix(again, 3, ShowMessage{}));
}

TEST(InvertMatrix, SizeBeyondTheTablesIsOutOfRange) {
  SpeciesMatrix M{};
  EXPECT_THROW(InvertMatrix(M, 9, ShowMessage{}), RuntimeError);
  EXPECT_THROW(InvertMatrix(M, 0, ShowMessage{}), RuntimeError);
}

TEST(MultiplyMatrices, RectangularProductClearsItsResultFirst) {
  const SpeciesMatrix A = FromRows({{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}});       // 2 x 3
  const SpeciesMatrix B = FromRows({{7.0, 8.0}, {9.0, 10.0}, {11.0, 12.0}});  // 3 x 2
  SpeciesMatrix C{};
  for (auto& row : C)
    row.fill(99.0);
  MultiplyMatrices(A, B, C, 2, 3, 2);
  EXPECT_EQ(C[1][1], 58.0);
  EXPECT_EQ(C[1][2], 64.0);
  EXPECT_EQ(C[2][1], 139.0);
  EXPECT_EQ(C[2][2], 154.0);
  EXPECT_EQ(C[3][3], 99.0);  // outside the 2 x 2 result: untouched
  EXPECT_EQ(C[1][3], 99.0);
  EXPECT_THROW(MultiplyMatrices(A, B, C, 9, 1, 1), RuntimeError);
}

}  // namespace
}  // namespace qalto
