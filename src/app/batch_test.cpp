#include "app/batch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/startup.h"
#include "imaging/jpeg_image.h"
#include "platform/errors.h"
#include "settings/settings_holders.h"

namespace pictrim::app {
namespace {

namespace fs = std::filesystem;

// A directory holding photos and, beside a pretend executable, pictrim.ini.
class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pictrim-batch-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    // The holders as a load without a settings file leaves them.
    holders_.SetTypeIndex(0);
    holders_.SetRateText("50");
    holders_.SetWidthText("100");
    holders_.SetHeightText("100");
    holders_.SetSuffixText("_x");
    holders_.SetPrefixText("");
    holders_.SetQualityText("80");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // A width x height photo, encoded by pictrim itself.
  std::string Photo(const std::string& name, int width = 64, int height = 48) {
    imaging::TargetBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width * 3; ++x) bitmap.Row(y)[x] = static_cast<unsigned char>(x * 7 + y * 3);
    }
    imaging::SaveJpegFile(imaging::EncodeJpeg(bitmap, 90), Path(name));
    return Path(name);
  }
  std::string File(const std::string& name, const std::string& content) {
    std::ofstream(Path(name), std::ios::binary) << content;
    return Path(name);
  }
  std::string Content(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::pair<int, int> SizeOf(const std::string& name) const {
    const imaging::SourceImage image = imaging::LoadJpegFile(Path(name));
    return {image.width, image.height};
  }
  void Run(const std::vector<std::string>& arguments) { RunBatch(holders_, arguments, posix_); }

  fs::path dir_;
  settings::SettingsRecord holders_;
  const text::PathSyntax posix_ = text::PathSyntax::Posix(text::LeadByteSet::None());
};

template <typename Failure>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST_F(BatchTest, ConvertsEveryJpegArgumentAtHalfSize) {
  Photo("a.JPG", 64, 48);
  Photo("b.jpg", 33, 20);
  Photo("c.Jpg", 3, 3);
  File("notes.txt", "not a photo");
  Run({Path("a.JPG"), Path("notes.txt"), Path("b.jpg"), Path("c.Jpg")});
  EXPECT_EQ(SizeOf("a_x.jpg"), std::make_pair(32, 24));
  EXPECT_EQ(SizeOf("b_x.jpg"), std::make_pair(16, 10));
  EXPECT_EQ(SizeOf("c_x.jpg"), std::make_pair(1, 1));
  EXPECT_FALSE(fs::exists(Path("notes_x.jpg")));
}

TEST_F(BatchTest, UsesTheStoredNameAndTheArgumentsDirectory) {
  Photo("DSC0001.JPG");
  holders_.SetPrefixText("IMG");
  holders_.SetLowerCase(true);
  Run({Path("dsc0001.jpg")});
  EXPECT_TRUE(fs::exists(Path("imgdsc0001_x.jpg")));

  // A bare name counts from the current directory.
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  holders_.SetPrefixText("");
  holders_.SetLowerCase(false);
  holders_.SetSuffixText("_here");
  Run({"DSC0001.JPG"});
  fs::current_path(previous);
  EXPECT_TRUE(fs::exists(Path("DSC0001_here.jpg")));
}

TEST_F(BatchTest, AWildcardConvertsOnlyTheFirstMatch) {
  Photo("b.jpg");
  Photo("a.jpg");
  Run({Path("*.JPG")});
  EXPECT_TRUE(fs::exists(Path("a_x.jpg")));
  EXPECT_FALSE(fs::exists(Path("b_x.jpg")));
}

TEST_F(BatchTest, SizeModeAndItsProportionalSide) {
  Photo("a.JPG", 48, 64);
  holders_.SetTypeIndex(1);
  holders_.SetWidthText("0");
  holders_.SetHeightText("32");
  Run({Path("a.JPG")});
  EXPECT_EQ(SizeOf("a_x.jpg"), std::make_pair(24, 32));

  holders_.SetTypeIndex(-1);  // no selection counts as size mode too
  holders_.SetWidthText("$20");
  holders_.SetHeightText("10");
  Run({Path("a.JPG")});
  EXPECT_EQ(SizeOf("a_x.jpg"), std::make_pair(32, 10));
}

TEST_F(BatchTest, AnEmptySuffixReplacesTheInputItself) {
  Photo("a.jpg", 40, 40);
  holders_.SetSuffixText("");
  Run({Path("a.jpg")});
  EXPECT_EQ(SizeOf("a.jpg"), std::make_pair(20, 20));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(BatchTest, AFailureEndsTheBatchAndKeepsEarlierOutputs) {
  Photo("1.JPG");
  Photo("2.JPG");
  File("3.JPG", "\x89PNG\r\n\x1a\n");
  Photo("4.JPG");
  Photo("5.JPG");
  std::vector<std::string> arguments;
  for (const char* name : {"1.JPG", "2.JPG", "3.JPG", "4.JPG", "5.JPG"}) arguments.push_back(Path(name));
  EXPECT_EQ(MessageOf<EJPEG>([&] { Run(arguments); }), "JPEG エラー #52");
  EXPECT_TRUE(fs::exists(Path("1_x.jpg")));
  EXPECT_TRUE(fs::exists(Path("2_x.jpg")));
  EXPECT_FALSE(fs::exists(Path("3_x.jpg")));
  EXPECT_FALSE(fs::exists(Path("4_x.jpg")));
  EXPECT_FALSE(fs::exists(Path("5_x.jpg")));
}

TEST_F(BatchTest, TheQualityIsReadBeforeAnyArgument) {
  holders_.SetQualityText("abc");
  File("a.txt", "x");
  EXPECT_EQ(MessageOf<EConvertError>([&] { Run({Path("a.txt")}); }), "'abc' は整数ではありません");
  Photo("a.JPG");
  EXPECT_THROW(Run({Path("a.JPG")}), EConvertError);
  EXPECT_FALSE(fs::exists(Path("a_x.jpg")));
}

TEST_F(BatchTest, TheSizeTextIsReadAfterLoading) {
  holders_.SetTypeIndex(1);
  holders_.SetWidthText("abc");
  EXPECT_NO_THROW(Run({Path("nothing.txt")}));
  // A missing photo is reported by the load before the bad text is seen.
  EXPECT_EQ(MessageOf<EFOpenError>([&] { Run({Path("gone.JPG")}); }),
            "ファイル " + Path("gone.JPG") + " は開けません");
  Photo("a.JPG");
  EXPECT_EQ(MessageOf<EConvertError>([&] { Run({Path("a.JPG")}); }), "'abc' は整数ではありません");
}

TEST_F(BatchTest, EmptyFilesAndEmptyTargets) {
  File("a.JPG", "");
  holders_.SetTypeIndex(1);
  const std::vector<std::string> argument{Path("a.JPG")};
  holders_.SetWidthText("0");
  holders_.SetHeightText("100");
  EXPECT_EQ(MessageOf<EZeroDivide>([&] { Run(argument); }), "0 による浮動小数点数除算");
  holders_.SetWidthText("100");
  holders_.SetHeightText("0");
  EXPECT_THROW(Run(argument), EZeroDivide);
  holders_.SetWidthText("0");
  EXPECT_EQ(MessageOf<EInvalidOp>([&] { Run(argument); }), "不正な浮動小数点数演算命令");
  holders_.SetTypeIndex(0);
  EXPECT_EQ(MessageOf<EJPEG>([&] { Run(argument); }), "JPEG エラー #41");

  Photo("b.JPG");
  holders_.SetTypeIndex(1);
  holders_.SetWidthText("0");
  holders_.SetHeightText("0");
  EXPECT_EQ(MessageOf<EJPEG>([&] { Run({Path("b.JPG")}); }), "JPEG エラー #31");
  holders_.SetWidthText("-5");
  holders_.SetHeightText("5");
  EXPECT_THROW(Run({Path("b.JPG")}), EOutOfResources);
  EXPECT_FALSE(fs::exists(Path("a_x.jpg")));
  EXPECT_FALSE(fs::exists(Path("b_x.jpg")));
}

TEST_F(BatchTest, ADirectoryNamedLikeAPhotoFailsToOpen) {
  fs::create_directory(dir_ / "album.jpg");
  fs::create_directory(dir_ / "album");
  EXPECT_NO_THROW(Run({Path("album")}));
  EXPECT_THROW(Run({Path("album.jpg")}), EFOpenError);
}

TEST_F(BatchTest, AReadOnlyOutputIsNotReplaced) {
  Photo("a.JPG");
  File("a_x.jpg", "keep me");
  ASSERT_EQ(::chmod(Path("a_x.jpg").c_str(), 0444), 0);
  EXPECT_EQ(MessageOf<EFCreateError>([&] { Run({Path("a.JPG")}); }),
            "ファイル " + Path("a_x.jpg") + " を作成できません");
  EXPECT_EQ(Content("a_x.jpg"), "keep me");
}

// The whole start without a display, as main runs it.
class HeadlessRun : public BatchTest {
 protected:
  int RunHeadless(const std::vector<std::string>& arguments, std::string& errors) {
    StartupContext context;
    context.executablePath = Path("pictrim");
    context.arguments = arguments;
    std::FILE* sink = std::tmpfile();
    const int status = RunWithoutDisplay(context, sink);
    std::rewind(sink);
    errors.clear();
    for (int c; (c = std::fgetc(sink)) != EOF;) errors += static_cast<char>(c);
    std::fclose(sink);
    return status;
  }
};

TEST_F(HeadlessRun, ExitStatusAndErrorsOnStandardError) {
  std::string errors;
  Photo("a.JPG", 40, 20);
  EXPECT_EQ(RunHeadless({Path("a.JPG")}, errors), 0);
  EXPECT_EQ(errors, "");
  EXPECT_EQ(SizeOf("a_x.jpg"), std::make_pair(20, 10));  // defaults without a settings file

  EXPECT_EQ(RunHeadless({Path("gone.JPG")}, errors), 1);
  EXPECT_EQ(errors, "pictrim: ファイル " + Path("gone.JPG") + " は開けません.\n");

  EXPECT_EQ(RunHeadless({}, errors), 2);
  EXPECT_NE(errors.find("usage"), std::string::npos);
}

TEST_F(HeadlessRun, TheSettingsFileBesideTheExecutableGovernsTheBatch) {
  File("pictrim.ini", "[main]\ntype=1\nx=0\ny=10\nname_bottom=_s\ngrp=abc\n");
  Photo("a.JPG", 40, 20);
  std::string errors;
  EXPECT_EQ(RunHeadless({Path("a.JPG")}, errors), 1);
  EXPECT_EQ(errors, "pictrim: 'abc' は整数ではありません.\n");
  File("pictrim.ini", "[main]\ntype=1\nx=0\ny=10\nname_bottom=_s\ngrp=50\n");
  EXPECT_EQ(RunHeadless({Path("a.JPG")}, errors), 0);
  EXPECT_EQ(SizeOf("a_s.jpg"), std::make_pair(20, 10));
}

}  // namespace
}  // namespace pictrim::app
