#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "text/ascii_case.h"
#include "text/command_line.h"
#include "text/integer_text.h"
#include "text/lead_bytes.h"
#include "text/messages.h"
#include "text/path_parts.h"

namespace pictrim::text {
namespace {

// Shift-JIS bytes of a few characters whose second byte is a delimiter or
// a letter.
const std::string kHyo = "\x95\x5C";        // 表: second byte is a backslash
const std::string kSo = "\x83\x5C";         // ソ
const std::string kA = "\x83\x41";          // ア: second byte "A"
const std::string kDi = "\x83\x61";         // ヂ: second byte "a"
const std::string kShuku = "\x8F\x6B";      // 縮
const std::string kNarau = "\x8F\x4B";      // 習
const std::string kAlbum = kA + "\x83\x8B\x83\x6F\x83\x80";  // アルバム

TEST(IntegerText, AcceptsTheDocumentedForms) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"0", 0},
      {"42", 42},
      {"   42", 42},
      {"+7", 7},
      {"-20", -20},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$10", 16},
      {"x1f", 31},
      {"X1F", 31},
      {"0x10", 16},
      {"0XfF", 255},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"-$10", 16},
      {"+0x10", 16},
      {"$000000000001", 1},
      {"0000000000000000000012", 12},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ParseIntegerText(text), std::optional<std::int32_t>(value)) << text;
    EXPECT_EQ(StrToInt(text), value) << text;
  }
}

TEST(IntegerText, RefusesEverythingElse) {
  const std::vector<std::string> cases = {
      "",     " ",     "+",          "-",           "$",         "0x",        "x",
      "12 ",  "\t12",  "1 2",        "abc",         "12abc",     "2147483648", "-2147483649",
      "99999999999", "$100000000", "$-10",  "--1", "+-1", "1.5", "0x1G", "- 5", "\xef\xbc\x91"};
  for (const std::string& text : cases) {
    EXPECT_EQ(ParseIntegerText(text), std::nullopt) << "[" << text << "]";
  }
}

TEST(IntegerText, ConversionErrorQuotesTheWholeText) {
  try {
    StrToInt(" 12 ");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "' 12 ' は整数ではありません");
  }
}

TEST(LeadBytes, SecondBytesFollowAnOddRunOfLeadBytes) {
  const LeadByteSet sjis = LeadByteSet::Cp932();
  EXPECT_TRUE(sjis.Contains(0x81));
  EXPECT_TRUE(sjis.Contains(0x9F));
  EXPECT_TRUE(sjis.Contains(0xE0));
  EXPECT_TRUE(sjis.Contains(0xFC));
  EXPECT_FALSE(sjis.Contains(0xA0));
  EXPECT_FALSE(sjis.Contains(0x80));
  EXPECT_FALSE(sjis.Contains(0xFD));

  const std::string text = "a" + kHyo + kHyo + "\\";
  EXPECT_FALSE(IsSecondByte(text, 0, sjis));
  EXPECT_FALSE(IsSecondByte(text, 1, sjis));
  EXPECT_TRUE(IsSecondByte(text, 2, sjis));
  EXPECT_TRUE(IsSecondByte(text, 4, sjis));
  EXPECT_FALSE(IsSecondByte(text, 5, sjis));  // the plain backslash after two characters
  EXPECT_FALSE(IsSecondByte(text, 2, LeadByteSet::None()));
}

struct PathCase {
  std::string path;
  std::string directory;
  std::string fileName;
  std::string extension;
};

TEST(PathParts, WindowsPathsWithDoubleByteNames) {
  const PathSyntax windows = PathSyntax::Windows(LeadByteSet::Cp932());
  const std::vector<PathCase> cases = {
      {"C:\\Photos\\DSC0001.JPG", "C:\\Photos\\", "DSC0001.JPG", ".JPG"},
      {"C:a.jpg", "C:", "a.jpg", ".jpg"},
      {"photo.tar.jpg", "", "photo.tar.jpg", ".jpg"},
      {"C:\\my.dir\\photo", "C:\\my.dir\\", "photo", ""},
      {"photo.", "", "photo.", "."},
      {"", "", "", ""},
      {"C:\\" + kHyo + ".JPG", "C:\\", kHyo + ".JPG", ".JPG"},
      {"d\\" + kSo + kHyo, "d\\", kSo + kHyo, ""},  // the backslashes inside ソ and 表 never count
      {kHyo + "\\x.jpg", kHyo + "\\", "x.jpg", ".jpg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectoryPrefix(c.path, windows), c.directory) << c.path;
    EXPECT_EQ(FileNamePart(c.path, windows), c.fileName) << c.path;
    EXPECT_EQ(ExtensionPart(c.path, windows), c.extension) << c.path;
  }
  // Without lead bytes the second byte of 表 is a plain backslash.
  EXPECT_EQ(FileNamePart("d\\" + kHyo, PathSyntax::Windows(LeadByteSet::None())), "");
}

TEST(PathParts, PosixPaths) {
  const PathSyntax posix = PathSyntax::Posix(LeadByteSet::None());
  const std::vector<PathCase> cases = {
      {"/home/u/DSC0001.JPG", "/home/u/", "DSC0001.JPG", ".JPG"},
      {"/a.JPG", "/", "a.JPG", ".JPG"},
      {"a.JPG", "", "a.JPG", ".JPG"},
      {"dir.d/photo", "dir.d/", "photo", ""},
      {"back\\slash.jpg", "", "back\\slash.jpg", ".jpg"},
      {"C:x.jpg", "", "C:x.jpg", ".jpg"},
      {"dir/", "dir/", "", ""},
      {".JPG", "", ".JPG", ".JPG"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectoryPrefix(c.path, posix), c.directory) << c.path;
    EXPECT_EQ(FileNamePart(c.path, posix), c.fileName) << c.path;
    EXPECT_EQ(ExtensionPart(c.path, posix), c.extension) << c.path;
  }
}

TEST(PathParts, ReplaceExtension) {
  const PathSyntax windows = PathSyntax::Windows(LeadByteSet::Cp932());
  EXPECT_EQ(ReplaceExtension("C:\\2003.12.25.JPG", "", windows), "C:\\2003.12.25");
  EXPECT_EQ(ReplaceExtension("a.JPG", ".jpg", windows), "a.jpg");
  EXPECT_EQ(ReplaceExtension("C:\\my.dir\\photo", ".bak", windows), "C:\\my.dir\\photo.bak");
  EXPECT_EQ(ReplaceExtension("photo.", "", windows), "photo");
}

TEST(AsciiCase, ChangesAsciiLettersByteForByte) {
  EXPECT_EQ(AsciiUpper("photo.Jpg 1"), "PHOTO.JPG 1");
  EXPECT_EQ(AsciiLower("PHOTO.Jpg 1"), "photo.jpg 1");
  // Blind to double-byte characters: second bytes in range change too.
  EXPECT_EQ(AsciiLower(kA), kDi);
  EXPECT_EQ(AsciiUpper(kShuku), kNarau);
  EXPECT_EQ(AsciiLower("\xC3\x89"), "\xC3\x89");  // É in UTF-8 is left alone
}

TEST(AsciiCase, NameLowerCaseKeepsDoubleByteCharacters) {
  const LeadByteSet sjis = LeadByteSet::Cp932();
  EXPECT_EQ(AsciiLowerName(kAlbum + "_X", sjis), kAlbum + "_x");
  EXPECT_EQ(AsciiLowerName("IMG" + kA + "B", sjis), "img" + kA + "b");
  EXPECT_EQ(AsciiLowerName("AB\x83", sjis), "ab\x83");  // a lone lead byte at the end
  EXPECT_EQ(AsciiLowerName(kA, LeadByteSet::None()), kDi);
}

TEST(CommandLine, SplitsOnBlanksAndJoinsQuotedStretches) {
  const LeadByteSet none = LeadByteSet::None();
  using Args = std::vector<std::string>;
  const std::vector<std::pair<std::string, Args>> cases = {
      {"prog a b", {"prog", "a", "b"}},
      {"  prog\t a\r\n\x01 b  ", {"prog", "a", "b"}},
      {"\"C:\\Program Files\\p.exe\" \"my photo.jpg\"", {"C:\\Program Files\\p.exe", "my photo.jpg"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"\" x", {"prog", "x"}},          // a pair of quotes before an argument is skipped
      {"prog \"\"\"\" x", {"prog", "x"}},
      {"prog a\"\"b", {"prog", "ab"}},
      {"prog \" \"", {"prog", " "}},
      {"prog \"unterminated quote", {"prog", "unterminated quote"}},
      {"prog a \"", {"prog", "a"}},           // an empty argument ends the list
      {"prog a\\\"b c\"", {"prog", "a\\b c"}},  // no escape character
      {"", {}},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(SplitCommandLine(line, none), expected) << line;
}

TEST(CommandLine, DoubleByteCharactersMoveAsOne) {
  // 0x81 0x22 is no character of code page 932, but a lead byte always takes
  // the next byte with it, so the quote does not open a quoted stretch.
  const std::string line = std::string("prog \x81\x22x y");
  EXPECT_EQ(SplitCommandLine(line, LeadByteSet::Cp932()),
            (std::vector<std::string>{"prog", "\x81\x22x", "y"}));
  EXPECT_EQ(SplitCommandLine(line, LeadByteSet::None()),
            (std::vector<std::string>{"prog", "\x81x y"}));
}

TEST(ErrorBoxText, AppendsADotAfterCharactersAboveIt) {
  const LeadByteSet sjis = LeadByteSet::Cp932();
  EXPECT_EQ(ErrorBoxText("JPEG error #52", sjis), "JPEG error #52.");
  EXPECT_EQ(ErrorBoxText("done.", sjis), "done.");
  EXPECT_EQ(ErrorBoxText("value -", sjis), "value -");  // '-' is below '.'
  EXPECT_EQ(ErrorBoxText("", sjis), "");
  EXPECT_EQ(ErrorBoxText("x" + kSo, sjis), "x" + kSo + ".");  // judged by its lead byte
  EXPECT_EQ(ErrorBoxText("ファイル a.JPG は開けません", LeadByteSet::None()),
            "ファイル a.JPG は開けません.");
}

TEST(ApplicationTitle, FirstCharacterThenLowerCaseUpToTheFirstDot) {
  const auto lower = [](std::string_view s) { return AsciiLower(s); };
  const PathSyntax windows = PathSyntax::Windows(LeadByteSet::Cp932());
  EXPECT_EQ(ApplicationTitle("C:\\Tools\\PHOTO.SHRINK.EXE", windows, lower), "Photo");
  EXPECT_EQ(ApplicationTitle("pictrim.exe", windows, lower), "pictrim");
  EXPECT_EQ(ApplicationTitle(kA + "BC.EXE", windows, lower), kA + "bc");
  const PathSyntax posix = PathSyntax::Posix(LeadByteSet::None());
  EXPECT_EQ(ApplicationTitle("/usr/local/bin/PicTrim", posix, lower), "Pictrim");
  EXPECT_EQ(ApplicationTitle("/opt/.hidden", posix, lower), "");
}

}  // namespace
}  // namespace pictrim::text
