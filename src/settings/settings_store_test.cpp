#include "settings/settings_store.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/files.h"
#include "settings/ini_file.h"
#include "text/lead_bytes.h"
#include "text/path_parts.h"

namespace pictrim::settings {
namespace {

using text::LeadByteSet;
using text::PathSyntax;

// ---- Where the file lives --------------------------------------------------

struct PathCase {
  const char* executable;
  bool windows;
  const char* expected;
};

class SettingsFilePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(SettingsFilePathTest, SitsBesideTheExecutable) {
  const PathCase& c = GetParam();
  const LeadByteSet lead = LeadByteSet::Cp932();
  const PathSyntax syntax = c.windows ? PathSyntax::Windows(lead) : PathSyntax::Posix(lead);
  EXPECT_EQ(SettingsFilePath(c.executable, syntax), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFilePathTest,
    testing::Values(PathCase{"C:\\Tools\\PICTRIM.EXE", true, "C:\\Tools\\pictrim.ini"},
                    PathCase{"C:PICTRIM.EXE", true, "C:pictrim.ini"},
                    PathCase{"PICTRIM.EXE", true, "pictrim.ini"},
                    // The second byte of 表 is a backslash but no delimiter.
                    PathCase{"C:\\Tools\\\x95\x5C.exe", true, "C:\\Tools\\pictrim.ini"},
                    PathCase{"/opt/pictrim/bin/pictrim", false, "/opt/pictrim/bin/pictrim.ini"}));

// ---- Files -----------------------------------------------------------------

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "settings_store_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = (dir_ / "pictrim.ini").string();
  }
  void TearDown() override {
    platform::SetWriteFunctionForTesting(nullptr);
    std::filesystem::remove_all(dir_);
  }

  void WriteFile(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string FileBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  SettingsRecord LoadFrom(const std::string& fileBytes) {
    WriteFile(fileBytes);
    SettingsRecord record;
    LoadSettings(record, path_);
    return record;
  }

  std::filesystem::path dir_;
  std::string path_;
};

void ExpectDefaults(const SettingsRecord& r) {
  EXPECT_EQ(r.TypeIndex(), 0);
  EXPECT_EQ(r.RateText(), "50");
  EXPECT_EQ(r.Left(), 205);
  EXPECT_EQ(r.Top(), 126);
  EXPECT_EQ(r.WidthText(), "100");
  EXPECT_EQ(r.HeightText(), "100");
  EXPECT_EQ(r.SuffixText(), "_x");
  EXPECT_EQ(r.PrefixText(), "");
  EXPECT_EQ(r.QualityText(), "80");
  EXPECT_FALSE(r.LowerCase());
}

TEST_F(SettingsFileTest, NoFileGivesEveryDefault) {
  SettingsRecord record;
  LoadSettings(record, path_);
  ExpectDefaults(record);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(SettingsFileTest, OtherSectionsAndUnreadableFileGiveDefaults) {
  ExpectDefaults(LoadFrom("[other]\ntype=1\nrate=10\nkomoji=1\n"));
  std::filesystem::remove(path_);
  std::filesystem::create_directory(path_);
  SettingsRecord record;
  LoadSettings(record, path_);
  ExpectDefaults(record);
}

// One setting per row: the file's line for it (empty: no such key) and what
// its holder shows after the load, read through `show`.
struct LoadCase {
  const char* name;
  const char* line;
  std::function<std::string(const SettingsRecord&)> show;
  std::string expected;
};

std::string Type(const SettingsRecord& r) { return std::to_string(r.TypeIndex()); }
std::string Komoji(const SettingsRecord& r) { return r.LowerCase() ? "ticked" : "clear"; }
std::string LeftTop(const SettingsRecord& r) {
  return std::to_string(r.Left()) + "," + std::to_string(r.Top());
}
std::string Suffix(const SettingsRecord& r) { return r.SuffixText(); }
std::string Width(const SettingsRecord& r) { return r.WidthText(); }

class LoadValueTest : public SettingsFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadValueTest, HolderShowsWhatTheFileHolds) {
  const LoadCase& c = GetParam();
  EXPECT_EQ(c.show(LoadFrom(std::string("[main]\n") + c.line + "\n")), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadValueTest,
    testing::Values(
        LoadCase{"Type1SelectsSize", "type=1", Type, "1"},
        LoadCase{"Type0SelectsPercentage", "type=0", Type, "0"},
        LoadCase{"Type2LeavesNoSelection", "type=2", Type, "-1"},
        LoadCase{"TypeMinus5LeavesNoSelection", "type=-5", Type, "-1"},
        LoadCase{"TypeMinus1LeavesNoSelection", "type=-1", Type, "-1"},
        LoadCase{"TypeAbcIsDefault", "type=abc", Type, "0"},
        LoadCase{"TypeEmptyIsDefault", "type=", Type, "0"},
        LoadCase{"TypeMissingIsDefault", "", Type, "0"},
        LoadCase{"TypeHex0x1", "type=0x1", Type, "1"},
        LoadCase{"TypeHex0X1", "type=0X1", Type, "1"},
        LoadCase{"TypeHexDollar1", "type=$1", Type, "1"},
        LoadCase{"TypeBlanksAroundValue", "type = 1 ", Type, "1"},
        LoadCase{"KomojiOne", "komoji=1", Komoji, "ticked"},
        LoadCase{"KomojiTwo", "komoji=2", Komoji, "ticked"},
        LoadCase{"KomojiMinusOne", "komoji=-1", Komoji, "ticked"},
        LoadCase{"KomojiZero", "komoji=0", Komoji, "clear"},
        LoadCase{"KomojiYesIsDefault", "komoji=yes", Komoji, "clear"},
        LoadCase{"LeftAsRead", "left=-1500", LeftTop, "-1500,126"},
        LoadCase{"TopAsRead", "top=40000", LeftTop, "205,40000"},
        LoadCase{"LeftNoIntegerKeepsPosition", "left=12px", LeftTop, "205,126"},
        LoadCase{"LeftOutOfRangeKeepsPosition", "left=2147483648", LeftTop, "205,126"},
        LoadCase{"SuffixEmptyIsNotDefault", "name_bottom=", Suffix, ""},
        LoadCase{"SuffixMissingIsDefault", "", Suffix, "_x"},
        LoadCase{"SuffixLongerThanFieldKeptWhole", "name_bottom=_small", Suffix, "_small"},
        LoadCase{"SuffixCp932Bytes", "name_bottom=_\x8F\x6B", Suffix, "_\x8F\x6B"},
        LoadCase{"WidthNoIntegerUnchanged", "x=abc", Width, "abc"}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, PositionDefaultsToWhereTheHoldersStand) {
  WriteFile("[main]\ntop=x\n");
  SettingsRecord record;
  record.SetLeft(-7);
  record.SetTop(999);
  LoadSettings(record, path_);
  EXPECT_EQ(record.Left(), -7);
  EXPECT_EQ(record.Top(), 999);
}

TEST_F(SettingsFileTest, SaveAfterStartWithoutFileWritesTheDefaultsInOrder) {
  SettingsRecord record;
  LoadSettings(record, path_);
  SaveSettings(record, path_);
  EXPECT_EQ(FileBytes(),
            "[main]\ntype=0\nrate=50\nleft=205\ntop=126\nx=100\ny=100\nname_bottom=_x\n"
            "name_top=\ngrp=80\nkomoji=0\n");
}

TEST_F(SettingsFileTest, NoSelectionIsSavedAsMinusOneAndLoadsBackSo) {
  SettingsRecord record = LoadFrom("[main]\ntype=2\n");
  ASSERT_EQ(record.TypeIndex(), -1);
  SaveSettings(record, path_);
  EXPECT_NE(FileBytes().find("\ntype=-1\n"), std::string::npos);
  SettingsRecord reloaded;
  reloaded.SetTypeIndex(1);
  LoadSettings(reloaded, path_);
  EXPECT_EQ(reloaded.TypeIndex(), -1);
}

TEST_F(SettingsFileTest, SaveThenLoadRoundTripsAllTenValues) {
  SettingsRecord saved;
  saved.SetTypeIndex(1);
  saved.SetRateText("33");
  saved.SetLeft(-1500);
  saved.SetTop(2147483647);
  saved.SetWidthText("abc");
  saved.SetHeightText("0");
  saved.SetSuffixText("_small");
  saved.SetPrefixText("\x8F\x6B=");
  saved.SetQualityText("");
  saved.SetLowerCase(true);
  SaveSettings(saved, path_);

  SettingsRecord loaded;
  LoadSettings(loaded, path_);
  EXPECT_EQ(loaded.TypeIndex(), 1);
  EXPECT_EQ(loaded.RateText(), "33");
  EXPECT_EQ(loaded.Left(), -1500);
  EXPECT_EQ(loaded.Top(), 2147483647);
  EXPECT_EQ(loaded.WidthText(), "abc");
  EXPECT_EQ(loaded.HeightText(), "0");
  EXPECT_EQ(loaded.SuffixText(), "_small");
  EXPECT_EQ(loaded.PrefixText(), "\x8F\x6B=");
  EXPECT_EQ(loaded.QualityText(), "");
  EXPECT_TRUE(loaded.LowerCase());
}

TEST_F(SettingsFileTest, SaveKeepsOtherSectionsAndKeys) {
  WriteFile("; pictrim\r\n[other]\r\ntype=7\r\n[MAIN]\r\nextra=keep\r\nRate = 10\r\n\r\n[tail]\r\nk=v");
  SettingsRecord record;
  record.SetTypeIndex(0);
  record.SetRateText("50");
  SaveSettings(record, path_);
  EXPECT_EQ(FileBytes(),
            "; pictrim\r\n[other]\r\ntype=7\r\n[MAIN]\r\nextra=keep\r\nrate=50\r\ntype=0\r\n"
            "left=205\r\ntop=126\r\nx=sizeX\r\ny=sizeY\r\nname_bottom=cbNM\r\nname_top=\r\n"
            "grp=cbGRP\r\nkomoji=0\r\n\r\n[tail]\r\nk=v");
}

TEST_F(SettingsFileTest, ReadOnlyFileFailsAtTheFirstKeyAndKeepsItsContent) {
  const std::string old = "[main]\ntype=1\nrate=10\n";
  WriteFile(old);
  ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
  SettingsRecord record;
  record.SetTypeIndex(0);
  try {
    SaveSettings(record, path_);
    FAIL() << "save into a read-only file succeeded";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), path_ + " に書き込めません");
  }
  EXPECT_EQ(FileBytes(), old);
}

TEST_F(SettingsFileTest, MissingDirectoryFailsWithTheFilesPath) {
  const std::string nowhere = (dir_ / "gone" / "pictrim.ini").string();
  try {
    SaveSettings(SettingsRecord(), nowhere);
    FAIL() << "save into a missing directory succeeded";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), nowhere + " に書き込めません");
  }
}

// Lets the given number of write(2) calls through, then fails every one.
int g_writesLeft = 0;
ssize_t WriteUntilDiskFull(int fd, const void* data, size_t size) {
  if (g_writesLeft == 0) {
    errno = ENOSPC;
    return -1;
  }
  --g_writesLeft;
  return ::write(fd, data, size);
}

TEST_F(SettingsFileTest, FailurePartWayKeepsEarlierKeysNewAndLaterKeysOld) {
  WriteFile("[main]\ntype=0\nrate=1\nleft=2\ntop=3\nx=4\ny=5\nname_bottom=6\nname_top=7\ngrp=8\n"
            "komoji=0\n");
  SettingsRecord record;
  record.SetTypeIndex(1);
  record.SetLowerCase(true);
  g_writesLeft = 8;  // each key replaces the file with one write; grp is the ninth
  platform::SetWriteFunctionForTesting(WriteUntilDiskFull);
  EXPECT_THROW(SaveSettings(record, path_), EIniFileException);
  platform::SetWriteFunctionForTesting(nullptr);
  EXPECT_EQ(FileBytes(),
            "[main]\ntype=1\nrate=cbSIZE\nleft=205\ntop=126\nx=sizeX\ny=sizeY\nname_bottom=cbNM\n"
            "name_top=\ngrp=8\nkomoji=0\n");
}

// ---- Reading numbers -------------------------------------------------------

struct IntegerCase {
  const char* stored;  // nullptr: no such key
  std::int32_t expected;
};

class ReadIntegerTest : public SettingsFileTest, public testing::WithParamInterface<IntegerCase> {};

TEST_P(ReadIntegerTest, ReadsIntegerTextOrGivesTheDefault) {
  const IntegerCase& c = GetParam();
  WriteFile(c.stored ? std::string("[main]\nn=") + c.stored + "\n" : "[main]\n");
  const IniFile ini(path_);
  EXPECT_EQ(ini.ReadInteger("main", "n", 77), c.expected);
  EXPECT_EQ(ini.ReadBool("main", "n", true), c.expected != 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadIntegerTest,
                         testing::Values(IntegerCase{nullptr, 77}, IntegerCase{"", 77},
                                         IntegerCase{"0", 0}, IntegerCase{"-2147483648", INT32_MIN},
                                         IntegerCase{"2147483648", 77}, IntegerCase{"0x1F", 31},
                                         IntegerCase{"0X1f", 31}, IntegerCase{"0x", 77},
                                         IntegerCase{"x10", 16}, IntegerCase{"-$10", 16},
                                         IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"0x100000000", 77},
                                         IntegerCase{"1 2", 77}, IntegerCase{"yes", 77}));

}  // namespace
}  // namespace pictrim::settings
