#include "platform/private_profile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/files.h"

namespace pictrim::platform {
namespace {

// ---- Reading INI text ------------------------------------------------------

struct FindCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

class FindProfileValueTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindProfileValueTest, FindsTheValueAsTheFileMeansIt) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindProfileValue(c.text, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindProfileValueTest,
    testing::Values(
        FindCase{"Plain", "[main]\ntype=1\n", "main", "type", "1"},
        FindCase{"SectionAndKeyIgnoreCase", "[MaIn]\nTYPE=1\n", "main", "type", "1"},
        FindCase{"AskedInOtherCase", "[main]\nkomoji=1\n", "MAIN", "Komoji", "1"},
        FindCase{"BlanksAroundNamesAndValue", " \t[ main ]\t\n\t rate \t=  5 0 \t\n", "main", "rate",
                 "5 0"},
        FindCase{"CrLfLines", "[main]\r\nrate=50\r\nx=1\r\n", "main", "rate", "50"},
        FindCase{"LastLineWithoutLineEnd", "[main]\nrate=50", "main", "rate", "50"},
        FindCase{"ValueKeepsItsEqualsSigns", "[main]\nname_top=a=b\n", "main", "name_top", "a=b"},
        FindCase{"ValueKeepsQuotesAndSemicolons", "[main]\nx=\"1\" ;2\n", "main", "x", "\"1\" ;2"},
        FindCase{"EmptyValueIsNotAbsent", "[main]\nname_bottom=\n", "main", "name_bottom", ""},
        FindCase{"BlankValueIsEmpty", "[main]\nname_bottom= \t\n", "main", "name_bottom", ""},
        FindCase{"FirstOfDuplicateKeys", "[main]\nx=1\nx=2\n", "main", "x", "1"},
        FindCase{"FirstOfDuplicateSections", "[main]\ny=1\n[main]\nx=2\n", "main", "x", std::nullopt},
        FindCase{"CommentedOutKey", "[main]\n;x=1\n", "main", "x", std::nullopt},
        FindCase{"CommentAfterBlanks", "[main]\n  ; x=1\nx=2\n", "main", "x", "2"},
        FindCase{"KeyInOtherSection", "[other]\nx=1\n[main]\ny=2\n", "main", "x", std::nullopt},
        FindCase{"KeyBeforeAnySection", "x=1\n[main]\n", "main", "x", std::nullopt},
        FindCase{"SectionMissing", "[mainx]\nx=1\n", "main", "x", std::nullopt},
        FindCase{"KeyNameIsNotAPrefix", "[main]\nxx=1\n", "main", "x", std::nullopt},
        FindCase{"LineWithoutEquals", "[main]\nx\n", "main", "x", std::nullopt},
        FindCase{"UnclosedHeaderDoesNotEndTheSection", "[main]\n[other\nx=1\n", "main", "x", "1"},
        FindCase{"EmptyText", "", "main", "x", std::nullopt},
        FindCase{"Cp932BytesPassThrough", "[main]\nname_top=\x95\x5C\x83\x5C\n", "main", "name_top",
                 "\x95\x5C\x83\x5C"}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(FindProfileValueTest, CutsLongValuesAtTheReadBuffer) {
  const std::string full = std::string(kMaxProfileValueBytes, 'a') + "bcd";
  EXPECT_EQ(FindProfileValue("[main]\nx=" + full + "\n", "main", "x"),
            full.substr(0, kMaxProfileValueBytes));
  const std::string fits(kMaxProfileValueBytes, 'z');
  EXPECT_EQ(FindProfileValue("[main]\nx=" + fits + "\n", "main", "x"), fits);
}

// ---- Editing INI text ------------------------------------------------------

struct EditCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  const char* value;
  std::string expected;
};

class WithProfileValueTest : public testing::TestWithParam<EditCase> {};

TEST_P(WithProfileValueTest, ChangesOnlyWhatTheKeyNeeds) {
  const EditCase& c = GetParam();
  EXPECT_EQ(WithProfileValue(c.text, c.section, c.key, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WithProfileValueTest,
    testing::Values(
        EditCase{"NewFile", "", "main", "type", "0", "[main]\ntype=0\n"},
        EditCase{"ReplacesInPlace", "[main]\na=1\ntype=1\nb=2\n", "main", "type", "0",
                 "[main]\na=1\ntype=0\nb=2\n"},
        EditCase{"ReplacedLineIsRewrittenWhole", "; c\n[Main]\n  TYPE = 1 ;x\t\nb=2\n", "main", "type",
                 "-1", "; c\n[Main]\ntype=-1\nb=2\n"},
        EditCase{"ReplacesInCrLfFile", "[main]\r\ntype=1\r\nb=2\r\n", "main", "type", "0",
                 "[main]\r\ntype=0\r\nb=2\r\n"},
        EditCase{"ReplacesOnLastLineWithoutLineEnd", "[main]\ntype=1", "main", "type", "0",
                 "[main]\ntype=0"},
        EditCase{"ReplacesWithEmptyValue", "[main]\nname_top=ab\n", "main", "name_top", "",
                 "[main]\nname_top=\n"},
        EditCase{"ReplacesFirstOfDuplicates", "[main]\nx=1\nx=2\n[main]\nx=3\n", "main", "x", "9",
                 "[main]\nx=9\nx=2\n[main]\nx=3\n"},
        EditCase{"AppendsAtSectionEndBeforeOtherSections", "[main]\na=1\n\n[other]\nx=2\n", "main",
                 "x", "5", "[main]\na=1\nx=5\n\n[other]\nx=2\n"},
        EditCase{"AppendsAfterCommentsOfTheSection", "[main]\na=1\n;x=1\n\n[b]\n", "main", "x", "5",
                 "[main]\na=1\n;x=1\nx=5\n\n[b]\n"},
        EditCase{"AppendsToEmptySection", "[main]\n[other]\n", "main", "x", "5",
                 "[main]\nx=5\n[other]\n"},
        EditCase{"AppendsToSectionWithoutFinalLineEnd", "[main]\na=1", "main", "x", "5",
                 "[main]\na=1\nx=5\n"},
        EditCase{"AppendsToHeaderWithoutFinalLineEnd", "[main]", "main", "x", "5", "[main]\nx=5\n"},
        EditCase{"AppendsInCrLfFile", "[main]\r\na=1\r\n\r\n[b]\r\n", "main", "x", "5",
                 "[main]\r\na=1\r\nx=5\r\n\r\n[b]\r\n"},
        EditCase{"AppendsToFirstOfDuplicateSections", "[main]\na=1\n[main]\nb=2\n", "main", "x", "5",
                 "[main]\na=1\nx=5\n[main]\nb=2\n"},
        EditCase{"KeyBeforeAnySectionIsNotTheKey", "x=1\n[main]\n", "main", "x", "5",
                 "x=1\n[main]\nx=5\n"},
        EditCase{"NewSectionAtEnd", "[other]\nx=1\n", "main", "x", "5", "[other]\nx=1\n[main]\nx=5\n"},
        EditCase{"NewSectionAfterMissingLineEnd", "[other]\nx=1", "main", "x", "5",
                 "[other]\nx=1\n[main]\nx=5\n"},
        EditCase{"NewSectionInCrLfFile", "[other]\r\nx=1", "main", "x", "5",
                 "[other]\r\nx=1\r\n[main]\r\nx=5\r\n"},
        EditCase{"FirstLineDecidesLineEnds", "[other]\nx=1\r\n", "main", "x", "5",
                 "[other]\nx=1\r\n[main]\nx=5\n"},
        EditCase{"Cp932ValueWrittenAsBytes", "[main]\n", "main", "name_top", "\x95\x5C",
                 "[main]\nname_top=\x95\x5C\n"}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(WithProfileValueTest, RefusesLineBreaksThatWouldMakeLinesOfTheirOwn) {
  const std::string text = "[main]\nx=1\n";
  EXPECT_EQ(WithProfileValue(text, "main", "x", "1\n[evil]"), std::nullopt);
  EXPECT_EQ(WithProfileValue(text, "main", "x", "1\r"), std::nullopt);
  EXPECT_EQ(WithProfileValue(text, "main", "x\ny", "1"), std::nullopt);
  EXPECT_EQ(WithProfileValue(text, "ma\nin", "x", "1"), std::nullopt);
}

TEST(WithProfileValueTest, WrittenValuesReadBack) {
  std::string text = "; pictrim\r\n[other]\r\nrate=7";
  for (const char* key : {"type", "rate", "name_top"}) {
    text = WithProfileValue(text, "main", key, std::string(key) + "-value").value();
  }
  text = WithProfileValue(text, "MAIN", "RATE", "").value();
  EXPECT_EQ(FindProfileValue(text, "main", "type"), "type-value");
  EXPECT_EQ(FindProfileValue(text, "main", "rate"), "");
  EXPECT_EQ(FindProfileValue(text, "main", "name_top"), "name_top-value");
  EXPECT_EQ(FindProfileValue(text, "other", "rate"), "7");
  EXPECT_EQ(text, "; pictrim\r\n[other]\r\nrate=7\r\n[main]\r\ntype=type-value\r\nRATE=\r\n"
                  "name_top=name_top-value\r\n");
}

// ---- Files -----------------------------------------------------------------

class ProfileFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "private_profile_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = (dir_ / "pictrim.ini").string();
  }
  void TearDown() override {
    SetWriteFunctionForTesting(nullptr);
    std::filesystem::remove_all(dir_);
  }

  void WriteFile(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  std::string FileBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(ProfileFileTest, MissingFileReadsAsAbsentAndFirstWriteCreatesIt) {
  EXPECT_EQ(ReadProfileString(path_, "main", "type"), std::nullopt);
  ASSERT_TRUE(WriteProfileString(path_, "main", "type", "0"));
  EXPECT_EQ(FileBytes(), "[main]\ntype=0\n");
  EXPECT_EQ(ReadProfileString(path_, "main", "type"), "0");
}

TEST_F(ProfileFileTest, WriteKeepsEveryOtherByteOfTheFile) {
  WriteFile("; kept\r\n[Other]\r\nx=\x95\x5C\r\n[main]\r\nrate = 10 \r\n\r\n[tail]\r\nk=v");
  ASSERT_TRUE(WriteProfileString(path_, "main", "rate", "50"));
  ASSERT_TRUE(WriteProfileString(path_, "main", "grp", "80"));
  EXPECT_EQ(FileBytes(),
            "; kept\r\n[Other]\r\nx=\x95\x5C\r\n[main]\r\nrate=50\r\ngrp=80\r\n\r\n[tail]\r\nk=v");
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"pictrim.ini"});
}

TEST_F(ProfileFileTest, FileWithoutWriteBitIsNotWrittenEvenByRoot) {
  const std::string old = "[main]\ntype=1\n";
  WriteFile(old);
  ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
  EXPECT_FALSE(WriteProfileString(path_, "main", "type", "0"));
  EXPECT_EQ(FileBytes(), old);
  EXPECT_EQ(ReadProfileString(path_, "main", "type"), "1");
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"pictrim.ini"});
}

TEST_F(ProfileFileTest, DirectoryThatCannotTakeTheFileFails) {
  const std::string nowhere = (dir_ / "missing" / "pictrim.ini").string();
  EXPECT_FALSE(WriteProfileString(nowhere, "main", "type", "0"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

TEST_F(ProfileFileTest, DirectoryInPlaceOfTheFileIsNeitherReadNorReplaced) {
  std::filesystem::create_directory(path_);
  EXPECT_EQ(ReadProfileString(path_, "main", "type"), std::nullopt);
  EXPECT_FALSE(WriteProfileString(path_, "main", "type", "0"));
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

// Rewriting from nothing what could not be read would lose it.
TEST_F(ProfileFileTest, UnreadableFileInPlaceIsNotReplaced) {
  ASSERT_EQ(::mkfifo(path_.c_str(), 0666), 0);
  EXPECT_EQ(ReadProfileString(path_, "main", "type"), std::nullopt);
  EXPECT_FALSE(WriteProfileString(path_, "main", "type", "0"));
  EXPECT_TRUE(std::filesystem::is_fifo(path_));
}

TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string old = "[main]\ntype=1\nrate=50\n";
  WriteFile(old);
  SetWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  });
  EXPECT_FALSE(WriteProfileString(path_, "main", "type", "0"));
  SetWriteFunctionForTesting(nullptr);
  EXPECT_EQ(FileBytes(), old);
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"pictrim.ini"});
}

TEST_F(ProfileFileTest, ValueWithLineBreakIsNotWritten) {
  const std::string old = "[main]\nx=1\n";
  WriteFile(old);
  EXPECT_FALSE(WriteProfileString(path_, "main", "x", "2\ny=3"));
  EXPECT_EQ(FileBytes(), old);
}

}  // namespace
}  // namespace pictrim::platform
