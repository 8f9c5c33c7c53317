// The settings window, driven as a user would on the offscreen platform.
#include "ui/unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <iterator>
#include <memory>

#include <sys/stat.h>

namespace pictrim::ui {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

class Unit1Test : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::vector<std::string> errors_;
  std::vector<std::string> dialogs_;
  int terminations_ = 0;

  std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
  void WriteFile(const char* name, const std::string& content) { std::ofstream(Path(name), std::ios::binary) << content; }
  std::string ReadFile(const char* name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  WindowServices Recorders() {
    return {[this](const std::string&, const std::string& text) { errors_.push_back(text); },
            [this](const std::string&, const std::string& text) { dialogs_.push_back(text); },
            [this] { ++terminations_; }};
  }

  std::unique_ptr<TpixFrm> Open(std::vector<std::string> files = {}, WindowServices services = {}) {
    app::StartupContext context;
    context.executablePath = Path("pictrim");
    context.arguments = std::move(files);
    auto window = std::make_unique<TpixFrm>(context, services.errorBox ? services : Recorders());
    return window;
  }

  // Shows the window and waits until it has the keyboard.
  static bool ShowActive(TpixFrm& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  }

  static void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
      edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
      combo->lineEdit()->selectAll();
    }
    QTest::keyClicks(QApplication::focusWidget(), text);
  }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    QFile::remove(dir_.path() + "/pictrim.ini");
    errors_.clear();
    dialogs_.clear();
    terminations_ = 0;
  }

  void windowFrame() {
    auto window = Open();
    QCOMPARE(window->windowTitle(), Utf8("pictrim2 設定"));
    QCOMPARE(window->size(), QSize(139, 235));
    QCOMPARE(window->minimumSize(), window->maximumSize());  // no resizing
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->font().pixelSize(), 12);
    // The designed font or a Japanese proportional stand-in, really in use.
    const QString family = WindowFontFamily();
    QVERIFY2(family == Utf8("ＭＳ Ｐゴシック") || family == "IPAPGothic", qPrintable(family));
    QCOMPARE(QFontInfo(window->font()).family(), family);
    QCOMPARE(QFontInfo(window->chkKOMOJI->font()).family(), family);
  }

  void controlGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    const std::vector<std::pair<const char*, QRect>> rows = {
        {"cbTYPE", {48, 8, 57, 20}},      {"cbSIZE", {48, 32, 57, 20}},  {"sizeX", {48, 56, 57, 20}},
        {"sizeY", {48, 80, 57, 20}},      {"cbNM", {48, 104, 57, 20}},   {"cbFT", {48, 128, 57, 20}},
        {"cbGRP", {48, 152, 57, 20}},     {"chkKOMOJI", {12, 180, 105, 17}}, {"Button1", {8, 208, 113, 21}},
        {"Label10", {8, 12, 31, 12}},     {"Label8", {8, 36, 24, 12}},   {"Label9", {108, 36, 12, 12}},
        {"Label1", {8, 60, 33, 12}},      {"Label6", {8, 84, 33, 12}},   {"Label2", {8, 108, 36, 12}},
        {"Label5", {108, 108, 17, 12}},   {"Label7", {8, 132, 36, 12}},  {"Label3", {8, 156, 24, 12}},
        {"Label4", {108, 156, 12, 12}},
    };
    for (const auto& [name, geometry] : rows) QTest::newRow(name) << QString(name) << geometry;
  }

  void controlGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    auto window = Open();
    QWidget* control = window->findChild<QWidget*>(name);
    QVERIFY(control);
    if (auto* label = qobject_cast<QLabel*>(control)) {
      // A label sizes itself to its text: at least the designed width.
      QCOMPARE(label->pos(), geometry.topLeft());
      QCOMPARE(label->height(), geometry.height());
      QVERIFY(label->width() >= geometry.width());
      QVERIFY(label->width() >= label->sizeHint().width());
    } else {
      QCOMPARE(control->geometry(), geometry);
    }
  }

  void captionsListsAndHints() {
    auto window = Open();
    QCOMPARE(window->labels[7]->text(), Utf8("縮小"));  // Label8
    QCOMPARE(window->labels[8]->text(), Utf8("％"));
    QCOMPARE(window->labels[4]->text(), Utf8(".jpg"));
    QCOMPARE(window->chkKOMOJI->text(), Utf8("小文字統一"));
    QCOMPARE(window->Button1->text(), Utf8("設定完了＆保存"));

    const auto items = [](QComboBox* combo) {
      QStringList list;
      for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
      return list;
    };
    QCOMPARE(items(window->cbTYPE), QStringList({Utf8("縮小"), "Size"}));
    QCOMPARE(items(window->cbSIZE), QStringList({"50", "80", "70", "30"}));
    QCOMPARE(items(window->cbNM), QStringList({"_x", "0", "_0", "_1"}));
    QCOMPARE(items(window->cbFT), QStringList({"", "img", "pic"}));
    QCOMPARE(items(window->cbGRP), QStringList({"80", "50", "30"}));
    QVERIFY(!window->cbTYPE->isEditable());
    for (QComboBox* combo : {window->cbSIZE, window->cbNM, window->cbFT, window->cbGRP}) QVERIFY(combo->isEditable());

    // Five controls show their hints; the other four keep theirs unshown.
    for (QWidget* shown : std::initializer_list<QWidget*>{window->cbTYPE, window->cbSIZE, window->cbNM, window->cbFT,
                                                          window->cbGRP}) {
      QVERIFY2(!shown->toolTip().isEmpty(), qPrintable(shown->objectName()));
      QCOMPARE(shown->toolTipDuration(), 2500);
    }
    for (QWidget* silent :
         std::initializer_list<QWidget*>{window->sizeX, window->sizeY, window->chkKOMOJI, window->Button1}) {
      QVERIFY2(silent->toolTip().isEmpty(), qPrintable(silent->objectName()));
      QVERIFY(!silent->property("hint").toString().isEmpty());
    }
    QCOMPARE(window->cbGRP->toolTip(), Utf8("画像の劣化率です（100だと現状維持）"));
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    QCOMPARE(window->sizeX->property("hint").toString(),
             Utf8("横幅のサイズを指定します(0の場合縦のサイズ比率に合わせます)"));
  }

  void iconIsMainIconWithALargerRendering() {
    QFile ico(":/MAINICON.ico");
    QVERIFY(ico.open(QIODevice::ReadOnly));
    const QByteArray bytes = ico.readAll();
    // One 32 x 32 image of 8 bits a pixel with its 256-entry palette, and the mask after the pixels.
    QCOMPARE(static_cast<unsigned char>(bytes[6]), 32);
    QCOMPARE(static_cast<unsigned char>(bytes[12]), 8);
    QCOMPARE(bytes.size(), 6 + 16 + 40 + 256 * 4 + 32 * 32 + 32 * 4);
    const QImage small(":/MAINICON.ico");
    QCOMPARE(small.size(), QSize(32, 32));
    QVERIFY(small.hasAlphaChannel());
    QCOMPARE(qAlpha(small.pixel(0, 31)), 0);   // transparent corner
    QCOMPARE(qAlpha(small.pixel(16, 8)), 255);  // the photo
    const QIcon icon = ApplicationIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    QCOMPARE(QApplication::windowIcon().availableSizes(), icon.availableSizes());
  }

  void startWithoutSettingsFile() {
    auto window = Open();
    QCOMPARE(window->cbTYPE->currentText(), Utf8("縮小"));
    QCOMPARE(window->cbSIZE->currentText(), QString("50"));
    QCOMPARE(window->pos(), QPoint(205, 126));
    QCOMPARE(window->sizeX->text(), QString("100"));
    QCOMPARE(window->sizeY->text(), QString("100"));
    QCOMPARE(window->cbNM->currentText(), QString("_x"));
    QCOMPARE(window->cbFT->currentText(), QString(""));
    QCOMPARE(window->cbGRP->currentText(), QString("80"));
    QVERIFY(!window->chkKOMOJI->isChecked());
    QVERIFY(!window->BatchDone());
    QVERIFY(errors_.empty());
    // Percentage mode: its field enabled, the size fields greyed silver.
    QVERIFY(window->cbSIZE->isEnabled());
    QVERIFY(!window->sizeX->isEnabled());
    QCOMPARE(window->sizeY->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
  }

  void loadedTextsAreShownWhole() {
    WriteFile("pictrim.ini", "[main]\ntype=2\nleft=-1500\ntop=40\ny=99999\nname_bottom=_small\nkomoji=2\n");
    auto window = Open();
    QCOMPARE(window->cbTYPE->currentIndex(), -1);
    QCOMPARE(window->cbTYPE->currentText(), QString());
    QCOMPARE(window->pos(), QPoint(-1500, 40));
    QCOMPARE(window->sizeY->text(), QString("99999"));
    QCOMPARE(window->cbNM->currentText(), QString("_small"));
    QVERIFY(window->chkKOMOJI->isChecked());
    // No selection counts as size mode.
    QVERIFY(!window->cbSIZE->isEnabled());
    QVERIFY(window->sizeX->isEnabled());
    QCOMPARE(window->sizeX->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Active, QPalette::Base));
  }

  void typingIsLimitedButLoadedTextsAreNot() {
    WriteFile("pictrim.ini", "[main]\ntype=1\ny=99999\n");
    auto window = Open();
    QVERIFY(ShowActive(*window));
    window->SetTypeIndex(0);  // all fields enabled: the checks do not matter here
    for (QWidget* field : std::initializer_list<QWidget*>{window->cbSIZE, window->sizeX, window->sizeY}) {
      field->setEnabled(true);
    }
    const std::vector<std::pair<QWidget*, int>> limits = {{window->cbSIZE, 3}, {window->sizeX, 4},
                                                          {window->cbNM, 4},   {window->cbFT, 4},
                                                          {window->cbGRP, 3}};
    for (const auto& [field, limit] : limits) {
      TypeInto(field, "123456789");
      const QLineEdit* edit = qobject_cast<QLineEdit*>(field);
      if (!edit) edit = qobject_cast<QComboBox*>(field)->lineEdit();
      QCOMPARE(edit->text(), QString("123456789").left(limit));
    }
    // The over-long loaded height is shown whole and can be shortened by hand.
    QCOMPARE(window->sizeY->text(), QString("99999"));
    window->sizeY->setFocus();
    window->sizeY->end(false);
    QTest::keyClick(window->sizeY, Qt::Key_Backspace);
    QCOMPARE(window->sizeY->text(), QString("9999"));
    QTest::keyClick(window->sizeY, Qt::Key_5);
    QCOMPARE(window->sizeY->text(), QString("9999"));
  }

  void anOverLongLoadedHeightIsCorrectedOnlyWhenLeft() {
    WriteFile("pictrim.ini", "[main]\ntype=1\ny=99999\n");
    auto window = Open();
    QVERIFY(ShowActive(*window));
    QCOMPARE(window->sizeY->text(), QString("99999"));
    window->sizeY->setFocus();
    QTest::keyClick(window->sizeY, Qt::Key_Tab);
    QCOMPARE(window->sizeY->text(), QString("2048"));

    // In percentage mode the field cannot be entered: the text is saved back as loaded.
    WriteFile("pictrim.ini", "[main]\ntype=0\ny=99999\n");
    auto percent = Open();
    QVERIFY(ShowActive(*percent));
    QTest::keyClick(percent->Button1, Qt::Key_Return);
    QVERIFY(ReadFile("pictrim.ini").find("\ny=99999\n") != std::string::npos);
  }

  void closingTheWindowSavesNothing() {
    auto window = Open();
    QVERIFY(ShowActive(*window));
    window->sizeX->setText("640");
    QVERIFY(window->close());
    QVERIFY(!QFile::exists(QString::fromStdString(Path("pictrim.ini"))));
    QCOMPARE(terminations_, 0);
    QVERIFY(dialogs_.empty());
  }

  void inlineCompletionIsCaseInsensitive() {
    auto window = Open();
    QVERIFY(ShowActive(*window));
    TypeInto(window->cbSIZE, "5");
    QCOMPARE(window->cbSIZE->currentText(), QString("50"));
    TypeInto(window->cbFT, "I");
    QCOMPARE(window->cbFT->currentText().toLower(), QString("img"));
    QVERIFY(window->cbFT->lineEdit()->hasSelectedText());  // the completed rest
  }

  void exitChecks_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    const std::vector<std::array<const char*, 3>> rows = {
        {"sizeX", "abc", "0"},   {"sizeX", "", "0"},       {"sizeX", "12 ", "0"},   {"sizeX", "2049", "2048"},
        {"sizeX", "$801", "2048"}, {"sizeX", "2048", "2048"}, {"sizeX", "$800", "$800"}, {"sizeX", "-5", "-5"},
        {"sizeX", "0x10", "0x10"}, {"sizeX", " 12", " 12"},  {"sizeY", "abc", "0"},   {"sizeY", "9999", "2048"},
        {"cbSIZE", "abc", "50"}, {"cbSIZE", "150", "100"}, {"cbSIZE", "0", "0"},     {"cbSIZE", "-20", "-20"},
    };
    for (const auto& [field, typed, after] : rows) {
      QTest::newRow(qPrintable(QString("%1 '%2'").arg(field, typed))) << field << typed << after;
    }
  }

  void exitChecks() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    WriteFile("pictrim.ini", field == "cbSIZE" ? "[main]\ntype=0\n" : "[main]\ntype=1\n");
    auto window = Open();
    QVERIFY(ShowActive(*window));
    QWidget* control = window->findChild<QWidget*>(field);
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (!edit) edit = qobject_cast<QComboBox*>(control)->lineEdit();
    control->setFocus();
    edit->setText(typed);  // put in whole: the check must see exactly this text
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(!control->hasFocus());
    QCOMPARE(edit->text(), after);
  }

  void noCheckWhileTheFocusStaysOrLeavesTheWindow() {
    WriteFile("pictrim.ini", "[main]\ntype=1\n");
    auto window = Open();
    QVERIFY(ShowActive(*window));
    window->sizeX->setFocus();
    window->sizeX->setText("abc");
    QLineEdit other;  // another window whose field takes the focus
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.setFocus();
    QVERIFY(other.hasFocus());
    QCOMPARE(window->sizeX->text(), QString("abc"));  // another window took the focus
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(window->sizeX->text(), QString("abc"));
    window->sizeY->setFocus();
    QCOMPARE(window->sizeX->text(), QString("0"));
  }

  void modeSwitchFollowsTheUsersChoice() {
    auto window = Open();
    QVERIFY(ShowActive(*window));
    window->cbTYPE->setFocus();
    QTest::keyClick(window->cbTYPE, Qt::Key_Down);  // 縮小 -> Size
    QCOMPARE(window->cbTYPE->currentText(), QString("Size"));
    QVERIFY(!window->cbSIZE->isEnabled());
    QCOMPARE(window->cbSIZE->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    QVERIFY(window->sizeX->isEnabled());
    QVERIFY(window->sizeY->isEnabled());
    QCOMPARE(window->sizeY->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Active, QPalette::Base));

    QTest::keyClick(window->cbTYPE, Qt::Key_Backspace);  // counts as a change, selects nothing
    QCOMPARE(window->cbTYPE->currentText(), QString("Size"));
    QVERIFY(window->sizeX->isEnabled());

    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, Utf8("縮"));
    QApplication::sendEvent(window->cbTYPE, &typed);  // type-ahead selects the first match
    QCOMPARE(window->cbTYPE->currentIndex(), 0);
    QVERIFY(window->cbSIZE->isEnabled());
    QVERIFY(!window->sizeX->isEnabled());
    QVERIFY(!window->sizeY->isEnabled());

    // Setting the selection from the program runs no handler.
    window->SetTypeIndex(1);
    QVERIFY(window->cbSIZE->isEnabled());
  }

  void tabOrderSkipsDisabledFields() {
    WriteFile("pictrim.ini", "[main]\ntype=1\n");
    auto window = Open();
    QVERIFY(ShowActive(*window));
    QCOMPARE(QApplication::focusWidget(), window->Button1);
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();  // a combo's line edit
      visited << (focus ? focus->objectName() : QString());
    }
    QCOMPARE(visited, QStringList({"cbNM", "cbGRP", "chkKOMOJI", "cbFT", "sizeX", "sizeY", "cbTYPE", "Button1"}));
  }

  void saveFromAnUntouchedWindow() {
    auto window = Open();
    QVERIFY(ShowActive(*window));
    QTest::keyClick(window->Button1, Qt::Key_Return);  // Enter right away presses the button
    QCOMPARE(dialogs_, std::vector<std::string>{kUsageMessage});
    QCOMPARE(terminations_, 1);
    QVERIFY(errors_.empty());
    QCOMPARE(ReadFile("pictrim.ini"),
             std::string("[main]\ntype=0\nrate=50\nleft=205\ntop=126\nx=100\ny=100\nname_bottom=_x\nname_top=\n"
                         "grp=80\nkomoji=0\n"));
  }

  void clickingSaveRunsTheFieldsCheckFirst() {
    WriteFile("pictrim.ini", "[main]\ntype=1\ngrp=abc\n");
    auto window = Open();
    QVERIFY(ShowActive(*window));
    window->sizeY->setFocus();
    window->sizeY->setText("abc");
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    QCOMPARE(terminations_, 1);
    const std::string saved = ReadFile("pictrim.ini");
    QVERIFY2(saved.find("\ny=0\n") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("\ngrp=abc\n") != std::string::npos);  // no check on the quality
    QVERIFY(saved.find("\ntype=1\n") != std::string::npos);
  }

  void aReadOnlySettingsFileKeepsTheWindowOpen() {
    const std::string original = "[main]\ntype=1\nx=640\n";
    WriteFile("pictrim.ini", original);
    QVERIFY(::chmod(Path("pictrim.ini").c_str(), 0444) == 0);
    auto window = Open();
    QVERIFY(ShowActive(*window));
    window->sizeX->setText("320");
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    QCOMPARE(dialogs_.size(), std::size_t{1});
    QCOMPARE(errors_, std::vector<std::string>{Path("pictrim.ini") + " に書き込めません."});
    QCOMPARE(terminations_, 0);
    QVERIFY(window->isVisible());
    QCOMPARE(window->sizeX->text(), QString("320"));
    QVERIFY(window->sizeX->isEnabled());
    QCOMPARE(ReadFile("pictrim.ini"), original);
    QVERIFY(::chmod(Path("pictrim.ini").c_str(), 0644) == 0);
  }

  void theRealDialogClosedWithEscStillSaves() {
    WindowServices services = Recorders();
    services.messageDialog = DesktopServices().messageDialog;
    auto window = Open({}, services);
    QVERIFY(ShowActive(*window));
    QString seenText, seenTitle;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seenText = box->text();
      seenTitle = box->windowTitle();
      QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::mouseClick(window->Button1, Qt::LeftButton);
    QCOMPARE(seenText, Utf8(kUsageMessage));
    QCOMPARE(seenTitle, QString("pictrim"));
    QCOMPARE(terminations_, 1);
    QVERIFY(ReadFile("pictrim.ini").starts_with("[main]\ntype=0\n"));
  }

  void aFailedBatchLeavesTheWindowWithTheLoadedSettings() {
    WriteFile("pictrim.ini", "[main]\ntype=1\nx=abc\nname_bottom=_s\n");
    WriteFile("a.JPG", "not a jpeg");
    auto window = Open({Path("a.JPG")});
    QCOMPARE(errors_, std::vector<std::string>{"JPEG エラー #52."});
    QVERIFY(!window->BatchDone());
    QCOMPARE(window->sizeX->text(), QString("abc"));
    QCOMPARE(window->cbNM->currentText(), QString("_s"));
    QVERIFY(window->sizeX->isEnabled());  // the mode switch ran before the batch
    QCOMPARE(ReadFile("pictrim.ini"), std::string("[main]\ntype=1\nx=abc\nname_bottom=_s\n"));
  }

  void aCompleteBatchEndsTheRun() {
    auto window = Open({Path("nothing.txt")});
    QVERIFY(window->BatchDone());
    QVERIFY(errors_.empty());
    QVERIFY(!window->isVisible());
  }
};

}  // namespace
}  // namespace pictrim::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  pictrim::ui::ConfigureApplication();
  pictrim::ui::Unit1Test test;
  return QTest::qExec(&test, argc, argv);
}

#include "unit1_test.moc"
