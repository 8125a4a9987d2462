#include "qt/qt_user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QString>

namespace varnel {

void QtUserDialogs::showMessage(const std::string& text) {
  QMessageBox::information(parent_, QStringLiteral("Varnel"), QString::fromStdString(text));
}

std::optional<std::string> QtUserDialogs::chooseFile(const std::string& title, const std::string& filter,
                                                     const std::string& presetPath) {
  const QString chosen = QFileDialog::getOpenFileName(parent_, QString::fromStdString(title),
                                                      QString::fromStdString(presetPath),
                                                      QString::fromStdString(filter));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

}  // namespace varnel
