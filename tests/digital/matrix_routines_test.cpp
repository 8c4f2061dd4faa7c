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

}  // namespace
}  // namespace qalto
