// The settings window as designed: every control's place, size, texts and
// tab order, in pixels at 96 pixels per inch for a 12-pixel font.
#pragma once

#include <array>
#include <string_view>

namespace pictrim::ui::layout {

inline constexpr std::string_view kCaption = "pictrim2 設定";
inline constexpr int kClientWidth = 139;
inline constexpr int kClientHeight = 235;
inline constexpr int kLeft = 205;
inline constexpr int kTop = 126;
inline constexpr std::string_view kFontFamily = "ＭＳ Ｐゴシック";
inline constexpr int kFontPixelHeight = 12;

struct Label {
  std::string_view name;
  int left, top, width, height;
  std::string_view caption;
};

inline constexpr std::array<Label, 10> kLabels{{
    {"Label10", 8, 12, 31, 12, "モード"},
    {"Label8", 8, 36, 24, 12, "縮小"},
    {"Label9", 108, 36, 12, 12, "％"},
    {"Label1", 8, 60, 33, 12, "横Size"},
    {"Label6", 8, 84, 33, 12, "縦Size"},
    {"Label2", 8, 108, 36, 12, "付加名"},
    {"Label5", 108, 108, 17, 12, ".jpg"},
    {"Label7", 8, 132, 36, 12, "先頭名"},
    {"Label3", 8, 156, 24, 12, "画質"},
    {"Label4", 108, 156, 12, 12, "％"},
}};

enum class Kind { kList, kComboBox, kEdit, kCheckBox, kButton };

struct Control {
  std::string_view name;
  Kind kind;
  int left, top, width, height;
  int maxLength;  // 0: none
  int tabOrder;
  std::string_view text;  // the layout's text, replaced by the settings load
  std::string_view hint;
  bool showHint;
};

inline constexpr std::array<Control, 9> kControls{{
    {"cbTYPE", Kind::kList, 48, 8, 57, 20, 2, 8, "", "サイズ指定か縮小率指定か", true},
    {"cbSIZE", Kind::kComboBox, 48, 32, 57, 20, 3, 7, "cbSIZE",
     "画像の縦横縮小率で50だと約半分の大きさになります", true},
    {"sizeX", Kind::kEdit, 48, 56, 57, 20, 4, 5, "sizeX",
     "横幅のサイズを指定します(0の場合縦のサイズ比率に合わせます)", false},
    {"sizeY", Kind::kEdit, 48, 80, 57, 20, 4, 6, "sizeY",
     "縦高さのサイズを指定します(0の場合横のサイズ比率に合わせます)", false},
    {"cbNM", Kind::kComboBox, 48, 104, 57, 20, 4, 1, "cbNM",
     "ファイル名の末尾（拡張子の前）に付加する名前です（空だと上書きされます）", true},
    {"cbFT", Kind::kComboBox, 48, 128, 57, 20, 4, 4, "", "ファイル名の先頭に付加する名前です", true},
    {"cbGRP", Kind::kComboBox, 48, 152, 57, 20, 3, 2, "cbGRP", "画像の劣化率です（100だと現状維持）", true},
    {"chkKOMOJI", Kind::kCheckBox, 12, 180, 105, 17, 0, 3, "小文字統一",
     "ファイル名を全て小文字に統一したい場合", false},
    {"Button1", Kind::kButton, 8, 208, 113, 21, 0, 0, "設定完了＆保存", "設定内容を保存して終了します",
     false},
}};

struct List {
  std::string_view control;
  std::array<std::string_view, 4> items;
  int count;
};

inline constexpr std::array<List, 5> kLists{{
    {"cbTYPE", {"縮小", "Size"}, 2},
    {"cbSIZE", {"50", "80", "70", "30"}, 4},
    {"cbNM", {"_x", "0", "_0", "_1"}, 4},
    {"cbFT", {"", "img", "pic"}, 3},
    {"cbGRP", {"80", "50", "30"}, 3},
}};

// Hints appear after half a second and go after two and a half.
inline constexpr int kHintDelayMs = 500;
inline constexpr int kHintDurationMs = 2500;
// Characters typed into the mode list less than this apart search together.
inline constexpr int kTypeAheadIntervalMs = 500;

}  // namespace pictrim::ui::layout
