// The ten settings values have no record of their own while pictrim runs:
// whatever holds them (the settings window's controls, or a plain record when
// there is no window) answers for them. The batch and the save read them back
// from here, so every holder must give back what the window's controls would.
#pragma once

#include <cstdint>
#include <string>

namespace pictrim::settings {

class SettingsHolders {
 public:
  virtual ~SettingsHolders() = default;

  // Resize mode list: 0 percentage ("縮小"), 1 size ("Size"). Setting any
  // other value leaves no selection, which reads back as -1.
  virtual int TypeIndex() const = 0;
  virtual void SetTypeIndex(int index) = 0;

  virtual std::string RateText() const = 0;  // key rate
  virtual void SetRateText(const std::string& text) = 0;

  virtual std::int32_t Left() const = 0;  // window position, screen pixels
  virtual void SetLeft(std::int32_t left) = 0;
  virtual std::int32_t Top() const = 0;
  virtual void SetTop(std::int32_t top) = 0;

  virtual std::string WidthText() const = 0;  // key x
  virtual void SetWidthText(const std::string& text) = 0;
  virtual std::string HeightText() const = 0;  // key y
  virtual void SetHeightText(const std::string& text) = 0;

  virtual std::string SuffixText() const = 0;  // key name_bottom
  virtual void SetSuffixText(const std::string& text) = 0;
  virtual std::string PrefixText() const = 0;  // key name_top
  virtual void SetPrefixText(const std::string& text) = 0;
  virtual std::string QualityText() const = 0;  // key grp
  virtual void SetQualityText(const std::string& text) = 0;

  virtual bool LowerCase() const = 0;  // key komoji
  virtual void SetLowerCase(bool on) = 0;
};

// Holders for a run without a window. It starts as the window's designed
// layout does: no mode selected, the layout's placeholder texts, and the
// designed position; the settings load replaces all of it.
class SettingsRecord final : public SettingsHolders {
 public:
  int TypeIndex() const override { return type_; }
  void SetTypeIndex(int index) override { type_ = (index == 0 || index == 1) ? index : -1; }
  std::string RateText() const override { return rate_; }
  void SetRateText(const std::string& text) override { rate_ = text; }
  std::int32_t Left() const override { return left_; }
  void SetLeft(std::int32_t left) override { left_ = left; }
  std::int32_t Top() const override { return top_; }
  void SetTop(std::int32_t top) override { top_ = top; }
  std::string WidthText() const override { return x_; }
  void SetWidthText(const std::string& text) override { x_ = text; }
  std::string HeightText() const override { return y_; }
  void SetHeightText(const std::string& text) override { y_ = text; }
  std::string SuffixText() const override { return suffix_; }
  void SetSuffixText(const std::string& text) override { suffix_ = text; }
  std::string PrefixText() const override { return prefix_; }
  void SetPrefixText(const std::string& text) override { prefix_ = text; }
  std::string QualityText() const override { return quality_; }
  void SetQualityText(const std::string& text) override { quality_ = text; }
  bool LowerCase() const override { return lower_; }
  void SetLowerCase(bool on) override { lower_ = on; }

 private:
  int type_ = -1;
  std::string rate_ = "cbSIZE";
  std::int32_t left_ = 205;
  std::int32_t top_ = 126;
  std::string x_ = "sizeX";
  std::string y_ = "sizeY";
  std::string suffix_ = "cbNM";
  std::string prefix_;
  std::string quality_ = "cbGRP";
  bool lower_ = false;
};

}  // namespace pictrim::settings
