// The settings window, TpixFrm, and all of its handlers. It is created in
// every run: its creation loads the settings and, when files were given,
// runs the batch before anything is shown.
#pragma once

#include <array>
#include <functional>
#include <string>

#include <QIcon>
#include <QWidget>

#include "app/startup.h"
#include "settings/settings_holders.h"
#include "ui/exit_check.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pictrim::ui {

inline constexpr const char* kUsageMessage = "対象のJPEGファイルをこのアイコンに重ねることで変換されます";

// What the window asks of the desktop; tests put their own in place.
struct WindowServices {
  // The application's error box: title and the text to show.
  std::function<void(const std::string& title, const std::string& text)> errorBox;
  // The save button's explanation, modal; the save goes on however it closes.
  std::function<void(const std::string& title, const std::string& text)> messageDialog;
  // Ends the run once the current handler returns.
  std::function<void()> terminate;
};

// The real message boxes and QApplication::quit.
WindowServices DesktopServices();

class TpixFrm : public QWidget, public settings::SettingsHolders {
 public:
  // Builds the window and its controls from the layout, then runs
  // FormCreate; a failure there is shown in the error box and leaves the
  // window in settings mode.
  TpixFrm(const app::StartupContext& context, WindowServices services, QWidget* parent = nullptr);
  ~TpixFrm() override;

  // True when the creation ran a batch to its end: the run is over.
  bool BatchDone() const { return outcome_ == app::StartupOutcome::kBatchDone; }

  int TypeIndex() const override;
  void SetTypeIndex(int index) override;
  std::string RateText() const override;
  void SetRateText(const std::string& text) override;
  std::int32_t Left() const override;
  void SetLeft(std::int32_t left) override;
  std::int32_t Top() const override;
  void SetTop(std::int32_t top) override;
  std::string WidthText() const override;
  void SetWidthText(const std::string& text) override;
  std::string HeightText() const override;
  void SetHeightText(const std::string& text) override;
  std::string SuffixText() const override;
  void SetSuffixText(const std::string& text) override;
  std::string PrefixText() const override;
  void SetPrefixText(const std::string& text) override;
  std::string QualityText() const override;
  void SetQualityText(const std::string& text) override;
  bool LowerCase() const override;
  void SetLowerCase(bool on) override;

  // The controls, under their layout names.
  QComboBox* cbTYPE = nullptr;
  QComboBox* cbSIZE = nullptr;
  QLineEdit* sizeX = nullptr;
  QLineEdit* sizeY = nullptr;
  QComboBox* cbNM = nullptr;
  QComboBox* cbFT = nullptr;
  QComboBox* cbGRP = nullptr;
  QCheckBox* chkKOMOJI = nullptr;
  QPushButton* Button1 = nullptr;
  std::array<QLabel*, 10> labels{};  // Label1 ... Label10, in that order

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FormCreate();
  void Button1Click();
  void sizeXExit();
  void sizeYExit();
  void cbTYPEChange();
  void cbSIZEExit();

  void FocusChanged(QWidget* old, QWidget* now);
  void ShowFailure(std::exception_ptr failure);
  static void CheckField(QLineEdit* field, const ExitRule& rule);
  static void SetFieldState(QWidget* field, bool enabled);
  bool CanPlaceWindow() const;

  app::StartupContext context_;
  WindowServices services_;
  app::StartupOutcome outcome_ = app::StartupOutcome::kSettingsMode;
  // Where the window was put, for display servers that neither place
  // windows nor tell where they are: the save writes these back unchanged.
  std::int32_t left_;
  std::int32_t top_;
};

// MAINICON (32 x 32, 256 colours) with a larger rendering for modern desktops.
QIcon ApplicationIcon();

// The font family the window asks for, after any stand-in.
QString WindowFontFamily();

// The icon, hint timing and type-ahead for the whole application.
void ConfigureApplication();

// The program with a display: returns the exit code.
int RunWithDisplay(int& argc, char** argv, const app::StartupContext& context);

}  // namespace pictrim::ui
