#include "ui/unit1.h"

#include <QApplication>
#include <QMessageBox>

namespace pictrim::ui {

void ShowCriticalBox(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromLocal8Bit(title), QString::fromLocal8Bit(text),
                  QMessageBox::Ok);
  box.exec();
}

TpixFrm::TpixFrm(const app::StartupContext& context, ErrorBox errorBox, QWidget* parent)
    : QWidget(parent), context_(context), errorBox_(std::move(errorBox)) {
  setWindowTitle(QString::fromUtf8("pictrim2 設定"));
  move(205, 126);
  try {
    FormCreate();
  } catch (...) {
    if (auto message = app::ErrorBoxMessage(std::current_exception(), context_.lead)) {
      errorBox_(context_.Title(), *message);
    }
  }
}

void TpixFrm::FormCreate() { outcome_ = app::FormCreate(*this, [this] { cbTYPEChange(); }, context_); }

int RunWithDisplay(int& argc, char** argv, const app::StartupContext& context) {
  QApplication application(argc, argv);
  TpixFrm pixFrm(context, ShowCriticalBox);
  if (pixFrm.BatchDone()) return 0;  // quit without ever showing the window
  pixFrm.show();
  application.exec();
  return 0;
}

}  // namespace pictrim::ui
