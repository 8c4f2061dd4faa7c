#include "common/growing_table.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "model/model.h"

namespace qalto {
namespace {

// Rows never written read 0 and cost nothing; the index range is the fixed one.
TEST(GrowingTable, StoresOnlyTheRowsWrittenAndKeepsItsRange) {
  GrowingTable2<double> table(100001, 9);
  const GrowingTable2<double>& readOnly = table;
  EXPECT_EQ(readOnly(100000, 8), 0.0);
  EXPECT_EQ(table.StoredRows(), 0);
  table(10, 2) = 1.5;
  table(3, 5) = -2;
  EXPECT_EQ(table.StoredRows(), 11);
  EXPECT_EQ(readOnly(10, 2), 1.5);
  EXPECT_EQ(readOnly(3, 5), -2);
  EXPECT_EQ(readOnly(4, 5), 0.0);
  EXPECT_EQ(readOnly(50000, 2), 0.0);
  EXPECT_EQ(table.StoredRows(), 11);
  // A write to a row past the stored ones stores it, and every row below it.
  table(20, 2) = 0.5;
  EXPECT_EQ(table.StoredRows(), 21);
  for (auto [i, j] : {std::pair{-1, 1}, {100001, 1}, {1, -1}, {1, 9}}) {
    EXPECT_THROW(table(i, j), RuntimeError) << i << "," << j;
    EXPECT_THROW(readOnly(i, j), RuntimeError) << i << "," << j;
  }
  std::vector<double> read{7.0};  // appended to what it holds: stored rows, then unstored 0
  table.AppendColumnRows(2, 19, 22, read);
  EXPECT_EQ(read, (std::vector<double>{7.0, 0.0, 0.5, 0.0, 0.0}));
  EXPECT_THROW(table.AppendColumnRows(2, 99999, 100001, read), RuntimeError);
  GrowingTable2<double> copy = table;
  EXPECT_EQ(copy.StoredRows(), 21);
  EXPECT_EQ(copy(10, 2), 1.5);
  table.Clear();
  EXPECT_EQ(table.StoredRows(), 0);
  EXPECT_EQ(readOnly(10, 2), 0.0);
}

// A column's rows side by side: written in place, stored from then on, within the range.
TEST(GrowingTable, HandsOutAColumnsRowsToWriteInPlace) {
  GrowingTable2<double> table(101, 3);
  table(2, 1) = 4.0;
  std::span<double> rows = table.ColumnRows(1, 1, 50);
  ASSERT_EQ(rows.size(), 50u);
  EXPECT_EQ(rows[1], 4.0);  // row 2, as written before
  EXPECT_EQ(rows[49], 0.0);
  rows[49] = -1.5;
  EXPECT_EQ(table(50, 1), -1.5);
  EXPECT_EQ(table.StoredRows(), 51);
  EXPECT_EQ(table(2, 2), 0.0);  // the other columns as they were
  EXPECT_TRUE(table.ColumnRows(2, 5, 4).empty());
  EXPECT_THROW(table.ColumnRows(1, 1, 101), RuntimeError);
  EXPECT_THROW(table.ColumnRows(1, -1, 10), RuntimeError);
  volatile int beyond = 3;  // a column past the last, unknown to the optimiser's bounds check
  EXPECT_THROW(table.ColumnRows(beyond, 1, 10), RuntimeError);
}

// A working copy takes the experiment and the curves in use, not the results.
TEST(GrowingTable, AWorkingCopyHoldsTheExperimentAndTheCurvesInUse) {
  Model model;
  model.ScanRate = 0.1;
  model.ChargeE0(1) = 0.25;
  // The cell and the sign convention of a measured curve, which its fit simulates with.
  model.UncompensatedResistance = 120;
  model.CapacitanceSlope = 2e-7;
  model.BaselineOffset = 3e-8;
  model.QuietTime = 2;
  model.AnodicPositive = true;
  model.NumberOfPoints = 1202;
  for (int i = 0; i <= model.NumberOfPoints; ++i) {
    model.PotentialX(i) = 0.3 - 0.001 * i;
    model.CurrentY(i, 1) = 1e-6 * i;
  }
  model.PeakCount = 2;
  model.LastFit.valid = true;
  Model copy = WorkingCopy(model);
  EXPECT_EQ(copy.ScanRate, 0.1);
  EXPECT_EQ(copy.ChargeE0(1), 0.25);
  EXPECT_EQ(copy.UncompensatedResistance, 120);
  EXPECT_EQ(copy.CapacitanceSlope, 2e-7);
  EXPECT_EQ(copy.BaselineOffset, 3e-8);
  EXPECT_EQ(copy.QuietTime, 2);
  EXPECT_TRUE(copy.AnodicPositive);
  EXPECT_EQ(copy.NumberOfPoints, 1202);
  EXPECT_EQ(copy.CurrentY(1202, 1), model.CurrentY(1202, 1));
  EXPECT_EQ(copy.PotentialX.StoredRows(), 1203);
  EXPECT_EQ(copy.CurrentY.StoredRows(), 1203);
  EXPECT_EQ(copy.ReactionCurrents.StoredRows(), 0);
  EXPECT_EQ(copy.PeakCount, 0);
  EXPECT_FALSE(copy.LastFit.valid);
}

}  // namespace
}  // namespace qalto
