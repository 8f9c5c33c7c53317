// The settings window, TpixFrm, and all of its handlers. It is created in
// every run: its creation loads the settings and, when files were given,
// runs the batch before anything is shown.
#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "app/startup.h"
#include "settings/settings_holders.h"

namespace pictrim::ui {

// Shows a failure to the user: the application title and the message text.
using ErrorBox = std::function<void(const std::string& title, const std::string& text)>;

// The modal critical message box with one OK button.
void ShowCriticalBox(const std::string& title, const std::string& text);

class TpixFrm : public QWidget, public settings::SettingsHolders {
 public:
  // Builds the window and runs FormCreate; a failure is shown in `errorBox`
  // and leaves the window in settings mode.
  TpixFrm(const app::StartupContext& context, ErrorBox errorBox, QWidget* parent = nullptr);

  // True when the creation ran a batch to its end: the run is over.
  bool BatchDone() const { return outcome_ == app::StartupOutcome::kBatchDone; }

  int TypeIndex() const override { return values_.TypeIndex(); }
  void SetTypeIndex(int index) override { values_.SetTypeIndex(index); }
  std::string RateText() const override { return values_.RateText(); }
  void SetRateText(const std::string& text) override { values_.SetRateText(text); }
  std::int32_t Left() const override { return x(); }
  void SetLeft(std::int32_t left) override { move(left, y()); }
  std::int32_t Top() const override { return y(); }
  void SetTop(std::int32_t top) override { move(x(), top); }
  std::string WidthText() const override { return values_.WidthText(); }
  void SetWidthText(const std::string& text) override { values_.SetWidthText(text); }
  std::string HeightText() const override { return values_.HeightText(); }
  void SetHeightText(const std::string& text) override { values_.SetHeightText(text); }
  std::string SuffixText() const override { return values_.SuffixText(); }
  void SetSuffixText(const std::string& text) override { values_.SetSuffixText(text); }
  std::string PrefixText() const override { return values_.PrefixText(); }
  void SetPrefixText(const std::string& text) override { values_.SetPrefixText(text); }
  std::string QualityText() const override { return values_.QualityText(); }
  void SetQualityText(const std::string& text) override { values_.SetQualityText(text); }
  bool LowerCase() const override { return values_.LowerCase(); }
  void SetLowerCase(bool on) override { values_.SetLowerCase(on); }

 private:
  void FormCreate();
  void cbTYPEChange() {}

  app::StartupContext context_;
  ErrorBox errorBox_;
  settings::SettingsRecord values_;
  app::StartupOutcome outcome_ = app::StartupOutcome::kSettingsMode;
};

// The program with a display: returns the exit code.
int RunWithDisplay(int& argc, char** argv, const app::StartupContext& context);

}  // namespace pictrim::ui
