#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/directory_search.h"
#include "platform/files.h"
#include "platform/locale.h"

namespace pictrim::platform {
namespace {

namespace fs = std::filesystem;

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pictrim-platform-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string Touch(const std::string& name, const std::string& content = "") {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::string Dir() const { return dir_.string() + "/"; }

  fs::path dir_;
};

using DirectorySearch = ScratchDir;

TEST_F(DirectorySearch, FindsTheStoredNameOfAnEntry) {
  Touch("DSC0001.JPG");
  Touch("b.jpg");
  Touch("a.jpg");
  Touch("a.JPG");
  fs::create_directory(dir_ / "Sub.Jpg");
  Touch("[1].jpg");
  Touch("back\\slash.jpg");

  struct Case {
    std::string pattern;
    std::optional<std::string> stored;
  };
  const std::vector<Case> cases = {
      {"dsc0001.jpg", "DSC0001.JPG"},  // other letter case: the stored name
      {"a.jpg", "a.jpg"},              // an exact match wins over a.JPG, which sorts first
      {"A.jpg", "a.JPG"},              // otherwise the first in byte order
      {"*.jpg", "DSC0001.JPG"},
      {"?.jpg", "a.JPG"},
      {"b*", "b.jpg"},
      {"sub.jpg", "Sub.Jpg"},  // directories take part
      {"[1].JPG", "[1].jpg"},  // brackets are plain bytes
      {"BACK\\SLASH.JPG", "back\\slash.jpg"},
      {"..", ".."},
      {"missing.jpg", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FindStoredName(Dir(), c.pattern), c.stored) << c.pattern;
  EXPECT_EQ(FindStoredName(Dir() + "nowhere/", "a.jpg"), std::nullopt);
}

TEST_F(DirectorySearch, EmptyDirectoryMeansTheCurrentOne) {
  Touch("Here.JPG");
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  const auto stored = FindStoredName("", "here.jpg");
  fs::current_path(previous);
  EXPECT_EQ(stored, "Here.JPG");
}

TEST(NameMatches, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(NameMatches("PHOTO.JPG", "photo.jpg"));
  EXPECT_FALSE(NameMatches("\xC3\x89.jpg", "\xC3\xA9.jpg"));  // É is not é here
  EXPECT_TRUE(NameMatches("*", ".hidden"));
  EXPECT_FALSE(NameMatches("a?c", "ac"));
}

TEST(Locale, LeadBytesFollowTheCodeSetAndLanguage) {
  EXPECT_FALSE(LeadBytesFor("SHIFT_JIS", "ja").Empty());
  EXPECT_FALSE(LeadBytesFor("sjis", "ja").Empty());
  EXPECT_FALSE(LeadBytesFor("CP932", "ja").Empty());
  EXPECT_FALSE(LeadBytesFor("Windows-31J", "ja").Empty());
  EXPECT_TRUE(LeadBytesFor("UTF-8", "ja").Empty());
  EXPECT_TRUE(LeadBytesFor("EUC-JP", "ja").Empty());
  EXPECT_TRUE(LeadBytesFor("SHIFT_JIS", "en").Empty());  // the Western languages never have them
  EXPECT_TRUE(LeadBytesFor("SHIFT_JIS", "").Empty());
  EXPECT_EQ(LanguageOf("ja_JP.SJIS"), "ja");
  EXPECT_EQ(LanguageOf("de_DE@euro"), "de");
  EXPECT_EQ(LanguageOf("C.UTF-8"), "");
  EXPECT_EQ(LanguageOf("POSIX"), "");
}

TEST(Locale, LowerCaseFallsBackToAsciiForBadBytes) {
  EXPECT_EQ(LocaleLower("PicTrim"), "pictrim");
  EXPECT_EQ(LocaleLower("AB\xFF"), "ab\xFF");
}

using Files = ScratchDir;

TEST_F(Files, ReadsRegularFilesOnly) {
  std::vector<unsigned char> bytes;
  EXPECT_EQ(ReadWholeFile(Touch("a.jpg", "abc"), bytes), ReadResult::kOk);
  EXPECT_EQ(bytes, (std::vector<unsigned char>{'a', 'b', 'c'}));
  EXPECT_EQ(ReadWholeFile(Dir() + "missing", bytes), ReadResult::kCannotOpen);
  EXPECT_EQ(ReadWholeFile(Dir(), bytes), ReadResult::kCannotOpen);
  const std::string fifo = Dir() + "pipe.jpg";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(fifo, bytes), ReadResult::kCannotOpen);
}

TEST_F(Files, ReplacingKeepsModeAndRefusesReadOnlyFiles) {
  const std::string path = Touch("out.jpg", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  EXPECT_EQ(ReplaceFileContents(path, "new"), ReplaceResult::kOk);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  std::vector<unsigned char> bytes;
  ASSERT_EQ(ReadWholeFile(path, bytes), ReadResult::kOk);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");

  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);  // no write bit: refused even for root
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_EQ(ReplaceFileContents(path, "newer"), ReplaceResult::kCannotCreate);
  ASSERT_EQ(ReadWholeFile(path, bytes), ReadResult::kOk);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");

  EXPECT_EQ(ReplaceFileContents(Dir() + "no/such/dir.jpg", "x"), ReplaceResult::kCannotCreate);
  EXPECT_EQ(ReplaceFileContents(Dir(), "x"), ReplaceResult::kCannotCreate);
}

TEST_F(Files, NewFilesGetTheUmaskedDefaultMode) {
  const mode_t previous = ::umask(027);
  const std::string path = Dir() + "fresh.jpg";
  const ReplaceResult result = ReplaceFileContents(path, "x");
  ::umask(previous);
  ASSERT_EQ(result, ReplaceResult::kOk);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(Files, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
  const std::string path = Touch("out.jpg", "precious");
  SetWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  });
  const ReplaceResult result = ReplaceFileContents(path, "replacement");
  SetWriteFunctionForTesting(nullptr);
  EXPECT_EQ(result, ReplaceResult::kWriteFailed);
  std::vector<unsigned char> bytes;
  ASSERT_EQ(ReadWholeFile(path, bytes), ReadResult::kOk);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "precious");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace pictrim::platform
