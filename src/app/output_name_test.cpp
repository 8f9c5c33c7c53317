#include "app/output_name.h"

#include <gtest/gtest.h>

#include <vector>

namespace pictrim::app {
namespace {

TEST(IsJpegName, TestsTheLastExtensionInAnyCase) {
  const text::PathSyntax posix = text::PathSyntax::Posix(text::LeadByteSet::None());
  for (const char* name : {"photo.JPG", "photo.jpg", "photo.Jpg", "dir/x.jPg", ".JPG", "a.b.JPG"}) {
    EXPECT_TRUE(IsJpegName(name, posix)) << name;
  }
  for (const char* name : {"photo.jpeg", "photo.JPG.bak", "photo", "jpg", "a.jpg/", "dir.jpg/x"}) {
    EXPECT_FALSE(IsJpegName(name, posix)) << name;
  }
}

struct NamingCase {
  std::string input;
  NamingRules rules;
  std::string output;
};

TEST(OutputPath, StemSuffixPrefixCaseAndExtension) {
  const text::PathSyntax posix = text::PathSyntax::Posix(text::LeadByteSet::None());
  const std::vector<NamingCase> cases = {
      {"/photos/DSC0001.JPG", {"_x", "", false}, "/photos/DSC0001_x.jpg"},
      {"/photos/DSC0001.JPG", {"_x", "IMG", true}, "/photos/imgdsc0001_x.jpg"},
      {"/PICS/A.JPG", {"_x", "", true}, "/PICS/a_x.jpg"},
      {"a.JPG", {"_x", "", false}, "a_x.jpg"},
      {"/a.JPG", {"_x", "", false}, "/a_x.jpg"},
      {"2003.12.25.JPG", {"_x", "", false}, "2003.12.25_x.jpg"},
      {".JPG", {"_x", "", false}, "_x.jpg"},
      {"dir/a.JPG", {"", "", false}, "dir/a.jpg"},
      {"dir/a.JPG", {"", "pic", false}, "dir/pica.jpg"},
      {"My.Dir/B.JPG", {"_S", "", true}, "My.Dir/b_s.jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(OutputPath(c.input, c.rules, posix), c.output) << c.input;
}

TEST(OutputPath, LowerCaseKeepsDoubleByteNames) {
  const std::string album = "\x83\x41\x83\x8B\x83\x6F\x83\x80";  // アルバム in Shift-JIS
  const text::PathSyntax windows = text::PathSyntax::Windows(text::LeadByteSet::Cp932());
  EXPECT_EQ(OutputPath("C:\\" + album + ".JPG", {"_x", "", true}, windows), "C:\\" + album + "_x.jpg");
  // A directory named with a backslash second byte stays a directory.
  const std::string hyo = "\x95\x5C";  // 表
  EXPECT_EQ(OutputPath("C:\\" + hyo + "\\A.JPG", {"_X", "P", true}, windows), "C:\\" + hyo + "\\pa_x.jpg");
}

}  // namespace
}  // namespace pictrim::app
