#include "common/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "common/error_description.h"
#include "common/test_names.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

// Limits the size of the files this process writes: a write beyond the limit fails (EFBIG)
// as one on a full disk does, instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

// A write that fails at once (limit 0) or after 2 KB: the old file of 5400 bytes stays.
class FailingWrite : public ::testing::TestWithParam<rlim_t> {};

TEST_P(FailingWrite, LeavesTheOldFileByteForByte) {
  TempFolder folder;
  std::string old;
  for (int i = 0; old.size() < 5400; ++i)
    old += " ." + std::to_string(i) + " ,          1E-06 \r\n";
  old.resize(5400);
  std::string path = folder.Write("curve.csv", old);
  {
    FileSizeLimit limit(GetParam());
    EXPECT_EQ(ErrorDescription([&] { ReplaceFile(path, std::string(8000, 'x')); }),
              "File too large");
  }
  EXPECT_EQ(TempFolder::Read(path), old);
  EXPECT_EQ(folder.FileCount(), 1);  // no temporary file is left behind
}

INSTANTIATE_TEST_SUITE_P(AtOnceAndAfter2KB, FailingWrite, ::testing::Values(0, 2048), NumberName());

// Synced or only renamed into place: the name gets the new file with the old file's rights, and
// a hard link to the old file keeps the old bytes, as a rename leaves them.
class CompleteWrite : public ::testing::TestWithParam<Durability> {};

TEST_P(CompleteWrite, ReplacesTheFileAndKeepsItsRights) {
  namespace fs = std::filesystem;
  TempFolder folder;
  std::string path = folder.Write("run.par", "old");
  const fs::perms rights = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, rights);
  fs::create_hard_link(path, folder.Path("kept.par"));
  ReplaceFile(path, "new", GetParam());
  EXPECT_EQ(TempFolder::Read(path), "new");
  EXPECT_EQ(TempFolder::Read(folder.Path("kept.par")), "old");
  EXPECT_EQ(fs::status(path).permissions(), rights);
  EXPECT_EQ(folder.FileCount(), 2);  // no temporary file is left behind
}

// A new file gets the rights the process gives new files, and every piece written, also past
// what the writer holds back before handing it to the system.
TEST_P(CompleteWrite, NewFileHasTheUsualRightsAndEveryPiece) {
  TempFolder folder;
  const std::string path = folder.Path("long.csv");
  const std::string piece(50000, 'x');
  {
    FileReplacement file(path, GetParam());
    for (char end : {'1', '2', '3'}) {
      file.Write(piece);
      file.Write(std::string(1, end));
    }
    file.Commit();
  }
  EXPECT_EQ(TempFolder::Read(path), piece + "1" + piece + "2" + piece + "3");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask);
}

INSTANTIATE_TEST_SUITE_P(SyncedAndRenamed, CompleteWrite,
                         ::testing::Values(Durability::kOnDisk, Durability::kRenamed));

}  // namespace
}  // namespace qalto
