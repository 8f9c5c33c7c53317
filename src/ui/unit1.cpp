#include "ui/unit1.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QValidator>

#include "settings/settings_store.h"
#include "ui/form_layout.h"

namespace pictrim::ui {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }
QString FromLocal(const std::string& text) { return QString::fromLocal8Bit(text); }
std::string ToLocal(const QString& text) { return text.toLocal8Bit().toStdString(); }

const QColor kSilver(0xC0, 0xC0, 0xC0);  // the background of a field the mode does not use
const QColor kGreyText(0x80, 0x80, 0x80);  // the greyed text of a disabled field

// Limits what the user types to `maxLength` characters, while a longer text
// put in by the program is shown whole and may still be shortened by hand.
// (QLineEdit::setMaxLength would cut the program's text too.)
class TypingLimit : public QValidator {
 public:
  TypingLimit(QLineEdit* edit, int maxLength) : QValidator(edit), maxLength_(maxLength) {
    QObject::connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text.size(); });
  }
  State validate(QString& input, int&) const override {
    return (input.size() <= maxLength_ || input.size() <= accepted_) ? Acceptable : Invalid;
  }

 private:
  int maxLength_;
  qsizetype accepted_ = 0;
};

class HintTimingStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return layout::kHintDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

void ShowMessageDialog(const std::string& title, const std::string& text) {
  QMessageBox box;
  box.setWindowTitle(FromLocal(title));
  box.setText(FromLocal(text));
  box.setIcon(QMessageBox::NoIcon);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  ok->setText(QStringLiteral("OK"));
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

void ShowErrorBox(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Critical, FromLocal(title), FromLocal(text), QMessageBox::Ok);
  box.exec();
}

bool Within(const QWidget* field, const QWidget* widget) {
  return widget && (widget == field || field->isAncestorOf(widget));
}

}  // namespace

WindowServices DesktopServices() {
  return {ShowErrorBox, ShowMessageDialog, [] { QCoreApplication::quit(); }};
}

QIcon ApplicationIcon() {
  QIcon icon(QStringLiteral(":/MAINICON.ico"));
  icon.addFile(QStringLiteral(":/pictrim-256.png"));
  return icon;
}

void ConfigureApplication() {
  QApplication::setWindowIcon(ApplicationIcon());
  QApplication::setStyle(new HintTimingStyle);
  QApplication::setKeyboardInputInterval(layout::kTypeAheadIntervalMs);
}

// The designed font where the system has it; otherwise IPAPGothic, which
// keeps its metrics, then any Japanese proportional gothic.
QString WindowFontFamily() {
  const QStringList families = QFontDatabase::families();
  for (const QString& family : {FromUtf8(layout::kFontFamily), QStringLiteral("IPAPGothic"),
                                QStringLiteral("IPA Pゴシック"), QStringLiteral("VL PGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("TakaoPGothic")}) {
    if (families.contains(family, Qt::CaseInsensitive)) return family;
  }
  return FromUtf8(layout::kFontFamily);
}

TpixFrm::TpixFrm(const app::StartupContext& context, WindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      context_(context),
      services_(std::move(services)),
      left_(layout::kLeft),
      top_(layout::kTop) {
  BuildControls();
  connect(qApp, &QApplication::focusChanged, this, &TpixFrm::FocusChanged);
  try {
    FormCreate();
  } catch (...) {
    ShowFailure(std::current_exception());
  }
}

TpixFrm::~TpixFrm() { disconnect(qApp, nullptr, this, nullptr); }

void TpixFrm::BuildControls() {
  setObjectName(QStringLiteral("pixFrm"));
  setWindowTitle(FromUtf8(layout::kCaption));
  QFont font(WindowFontFamily());
  font.setPixelSize(layout::kFontPixelHeight);
  font.setStyleHint(QFont::SansSerif);
  setFont(font);
  setFixedSize(layout::kClientWidth, layout::kClientHeight);
  move(layout::kLeft, layout::kTop);

  for (std::size_t i = 0; i < layout::kLabels.size(); ++i) {
    const layout::Label& design = layout::kLabels[i];
    auto* label = new QLabel(FromUtf8(design.caption), this);
    label->setObjectName(FromUtf8(design.name));
    // Labels size themselves to their text; the designed widths are those
    // of the designed font.
    label->setGeometry(design.left, design.top, std::max(design.width, label->sizeHint().width()), design.height);
    const int number = QStringView(label->objectName()).mid(5).toInt();  // "Label7" -> 7
    labels[static_cast<std::size_t>(number - 1)] = label;
  }

  std::array<QWidget*, layout::kControls.size()> byTabOrder{};
  for (const layout::Control& design : layout::kControls) {
    QWidget* widget = nullptr;
    QLineEdit* edit = nullptr;
    switch (design.kind) {
      case layout::Kind::kList: {
        auto* list = new QComboBox(this);
        list->installEventFilter(this);
        widget = list;
        break;
      }
      case layout::Kind::kComboBox: {
        auto* combo = new QComboBox(this);
        combo->setEditable(true);  // brings case-insensitive inline completion
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->completer()->setCaseSensitivity(Qt::CaseInsensitive);
        combo->completer()->setCompletionMode(QCompleter::InlineCompletion);
        edit = combo->lineEdit();
        widget = combo;
        break;
      }
      case layout::Kind::kEdit:
        edit = new QLineEdit(this);
        widget = edit;
        break;
      case layout::Kind::kCheckBox:
        widget = new QCheckBox(FromUtf8(design.text), this);
        break;
      case layout::Kind::kButton: {
        auto* button = new QPushButton(FromUtf8(design.text), this);
        button->setAutoDefault(true);  // Enter presses it while it has the focus
        widget = button;
        break;
      }
    }
    widget->setObjectName(FromUtf8(design.name));
    widget->setGeometry(design.left, design.top, design.width, design.height);
    widget->setProperty("hint", FromUtf8(design.hint));
    if (design.showHint) {
      widget->setToolTip(FromUtf8(design.hint));
      widget->setToolTipDuration(layout::kHintDurationMs);
    }
    if (edit) {
      edit->setValidator(new TypingLimit(edit, design.maxLength));
      edit->setText(FromUtf8(design.text));
    }
    byTabOrder[static_cast<std::size_t>(design.tabOrder)] = widget;
  }

  cbTYPE = findChild<QComboBox*>(QStringLiteral("cbTYPE"));
  cbSIZE = findChild<QComboBox*>(QStringLiteral("cbSIZE"));
  sizeX = findChild<QLineEdit*>(QStringLiteral("sizeX"));
  sizeY = findChild<QLineEdit*>(QStringLiteral("sizeY"));
  cbNM = findChild<QComboBox*>(QStringLiteral("cbNM"));
  cbFT = findChild<QComboBox*>(QStringLiteral("cbFT"));
  cbGRP = findChild<QComboBox*>(QStringLiteral("cbGRP"));
  chkKOMOJI = findChild<QCheckBox*>(QStringLiteral("chkKOMOJI"));
  Button1 = findChild<QPushButton*>(QStringLiteral("Button1"));

  for (const layout::List& list : layout::kLists) {
    auto* combo = findChild<QComboBox*>(FromUtf8(list.control));
    const QString text = combo->currentText();
    for (int i = 0; i < list.count; ++i) combo->addItem(FromUtf8(list.items[static_cast<std::size_t>(i)]));
    if (combo->isEditable()) {
      combo->setEditText(text);  // adding items must not replace the layout's text
    } else {
      combo->setCurrentIndex(-1);
    }
  }

  for (std::size_t i = 0; i + 1 < byTabOrder.size(); ++i) setTabOrder(byTabOrder[i], byTabOrder[i + 1]);
  Button1->setFocus();

  connect(Button1, &QPushButton::clicked, this, &TpixFrm::Button1Click);
  connect(cbTYPE, &QComboBox::activated, this, &TpixFrm::cbTYPEChange);
}

void TpixFrm::FormCreate() {
  outcome_ = app::FormCreate(*this, [this] { cbTYPEChange(); }, context_);
}

void TpixFrm::ShowFailure(std::exception_ptr failure) {
  if (auto message = app::ErrorBoxMessage(failure, context_.lead)) services_.errorBox(context_.Title(), *message);
}

void TpixFrm::Button1Click() {
  try {
    services_.messageDialog(context_.Title(), kUsageMessage);
    settings::SaveSettings(*this, context_.SettingsPath());
    services_.terminate();
  } catch (...) {
    ShowFailure(std::current_exception());
  }
}

void TpixFrm::CheckField(QLineEdit* field, const ExitRule& rule) {
  const std::string text = ToLocal(field->text());
  const std::string checked = CheckedFieldText(text, rule);
  if (checked != text) field->setText(FromLocal(checked));
}

void TpixFrm::sizeXExit() { CheckField(sizeX, kSizeRule); }
void TpixFrm::sizeYExit() { CheckField(sizeY, kSizeRule); }
void TpixFrm::cbSIZEExit() { CheckField(cbSIZE->lineEdit(), kPercentRule); }

void TpixFrm::SetFieldState(QWidget* field, bool enabled) {
  field->setEnabled(enabled);
  const QColor background = enabled ? QApplication::palette().color(QPalette::Active, QPalette::Base) : kSilver;
  QPalette palette = field->palette();
  palette.setColor(QPalette::All, QPalette::Base, background);
  palette.setColor(QPalette::Disabled, QPalette::Text, kGreyText);  // readable on silver
  field->setPalette(palette);
}

void TpixFrm::cbTYPEChange() {
  const bool percentMode = cbTYPE->currentText() == QStringLiteral("縮小");
  SetFieldState(cbSIZE, percentMode);
  SetFieldState(sizeX, !percentMode);
  SetFieldState(sizeY, !percentMode);
}

// A field is left when the focus moves to another control of this window;
// another window or a list's popup taking the focus does not count.
void TpixFrm::FocusChanged(QWidget* old, QWidget* now) {
  if (!now || now->window() != this) return;
  if (Within(cbSIZE, old) && !Within(cbSIZE, now)) cbSIZEExit();
  if (Within(sizeX, old) && !Within(sizeX, now)) sizeXExit();
  if (Within(sizeY, old) && !Within(sizeY, now)) sizeYExit();
}

// Backspace in the mode list counts as a change, though it selects nothing.
bool TpixFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cbTYPE && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backspace) {
    cbTYPEChange();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool TpixFrm::CanPlaceWindow() const { return QGuiApplication::platformName() != QStringLiteral("wayland"); }

int TpixFrm::TypeIndex() const { return cbTYPE->currentIndex(); }
void TpixFrm::SetTypeIndex(int index) { cbTYPE->setCurrentIndex(index == 0 || index == 1 ? index : -1); }
std::string TpixFrm::RateText() const { return ToLocal(cbSIZE->currentText()); }
void TpixFrm::SetRateText(const std::string& text) { cbSIZE->setEditText(FromLocal(text)); }
std::int32_t TpixFrm::Left() const { return CanPlaceWindow() ? x() : left_; }
void TpixFrm::SetLeft(std::int32_t left) {
  left_ = left;
  move(left, y());
}
std::int32_t TpixFrm::Top() const { return CanPlaceWindow() ? y() : top_; }
void TpixFrm::SetTop(std::int32_t top) {
  top_ = top;
  move(x(), top);
}
std::string TpixFrm::WidthText() const { return ToLocal(sizeX->text()); }
void TpixFrm::SetWidthText(const std::string& text) { sizeX->setText(FromLocal(text)); }
std::string TpixFrm::HeightText() const { return ToLocal(sizeY->text()); }
void TpixFrm::SetHeightText(const std::string& text) { sizeY->setText(FromLocal(text)); }
std::string TpixFrm::SuffixText() const { return ToLocal(cbNM->currentText()); }
void TpixFrm::SetSuffixText(const std::string& text) { cbNM->setEditText(FromLocal(text)); }
std::string TpixFrm::PrefixText() const { return ToLocal(cbFT->currentText()); }
void TpixFrm::SetPrefixText(const std::string& text) { cbFT->setEditText(FromLocal(text)); }
std::string TpixFrm::QualityText() const { return ToLocal(cbGRP->currentText()); }
void TpixFrm::SetQualityText(const std::string& text) { cbGRP->setEditText(FromLocal(text)); }
bool TpixFrm::LowerCase() const { return chkKOMOJI->isChecked(); }
void TpixFrm::SetLowerCase(bool on) { chkKOMOJI->setChecked(on); }

int RunWithDisplay(int& argc, char** argv, const app::StartupContext& context) {
  QApplication application(argc, argv);
  ConfigureApplication();
  TpixFrm pixFrm(context, DesktopServices());
  if (pixFrm.BatchDone()) return 0;  // quit without ever showing the window
  pixFrm.show();
  application.exec();
  return 0;
}

}  // namespace pictrim::ui
