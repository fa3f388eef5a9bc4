#include "qt/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStandardPaths>

#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"

namespace qt {

namespace {

QString q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// CR LF breaks a line in the program's messages.
QString messageText(std::string_view text) {
  QString t = q(text);
  t.replace("\r\n", "\n");
  return t;
}

QMessageBox::Icon iconOf(core::Icon icon) {
  switch (icon) {
    case core::Icon::Critical:
      return QMessageBox::Critical;
    case core::Icon::Question:
      return QMessageBox::Question;
    case core::Icon::Exclamation:
      return QMessageBox::Warning;
    case core::Icon::Information:
      return QMessageBox::Information;
    case core::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

core::Answer QtDialogs::msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon icon) {
  // An empty title is the program's name, as the classic message box shows.
  QMessageBox box(iconOf(icon), title.empty() ? QStringLiteral("Hangarpak") : q(title), messageText(text),
                  QMessageBox::NoButton, parent_);
  switch (buttons) {
    case core::Buttons::OK:
      box.setStandardButtons(QMessageBox::Ok);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case core::Buttons::OKCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case core::Buttons::OKCancelDefaultCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Cancel);
      break;
    case core::Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case core::Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return core::Answer::OK;
    case QMessageBox::Yes:
      return core::Answer::Yes;
    case QMessageBox::No:
      // Closing a Yes/No box by its close box is not possible; No is the
      // answer of Escape there.
      return core::Answer::No;
    default:
      return buttons == core::Buttons::YesNo ? core::Answer::No : core::Answer::Cancel;
  }
}

std::optional<std::string> QtDialogs::inputBox(std::string_view prompt, std::string_view title, std::string_view def) {
  bool ok = false;
  const QString answer = QInputDialog::getText(parent_, title.empty() ? QStringLiteral("Hangarpak") : q(title),
                                               messageText(prompt), QLineEdit::Normal, q(def), &ok);
  if (!ok) return std::nullopt;
  return answer.toStdString();
}

namespace {

// "description|pattern": Qt wants the patterns in parentheses at the end
// of the description; a description that already shows them keeps its form.
QString qtFilterOf(std::string_view filter) {
  QString qtFilter;
  const auto bar = filter.find('|');
  if (bar != std::string_view::npos) {
    const std::string desc(filter.substr(0, bar)), pattern(filter.substr(bar + 1));
    qtFilter = core::iendsWith(desc, "(" + pattern + ")") ? q(desc) : q(desc + " (" + pattern + ")");
    qtFilter.replace(';', ' ');
  }
  return qtFilter;
}

}  // namespace

std::optional<std::string> QtDialogs::saveFile(std::string_view title, std::string_view filter, std::string_view name) {
  if (saveFolder_.isEmpty()) {
    // The documents folder, or home where there is none.
    saveFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(saveFolder_).isDir()) saveFolder_ = QDir::homePath();
  }
  QFileDialog dialog(parent_, q(title), saveFolder_ + "/" + q(name), qtFilterOf(filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QString suffix = QFileInfo(q(name)).suffix();
  if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().first();
  saveFolder_ = QFileInfo(chosen).absolutePath();
  return chosen.toStdString();
}

std::optional<std::string> QtDialogs::openFile(std::string_view title, std::string_view filter,
                                               std::string_view startFolder) {
  const QString qtFilter = qtFilterOf(filter);
  QString start;
  if (drives_) {
    try {
      // Without a folder of its own the dialog starts on drive C:, where a
      // simulator is most likely found.
      start = q(drives_->toHost(startFolder.empty() ? std::string_view("C:\\") : startFolder));
    } catch (const core::RuntimeError&) {
    }
  }
  for (;;) {
    QFileDialog dialog(parent_, q(title), start, qtFilter);
    // The same dialog everywhere; its filter ignores case as the simulator's
    // file names need (FS2002.EXE matches fs2002.exe).
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const std::string host = dialog.selectedFiles().first().toStdString();
    if (!drives_) return host;
    if (auto win = drives_->toWindows(host)) return *win;
    msgBox("The file " + host + " is on no drive of the drive table.", "Hangarpak", core::Buttons::OK,
           core::Icon::Exclamation);
    start = dialog.directory().absolutePath();
  }
}

std::optional<std::string> QtDialogs::chooseFolder(std::string_view title, std::string_view startFolder) {
  QFileDialog dialog(parent_, q(title), q(std::string(startFolder)));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

void QtDialogs::runModal(core::ModalController& controller) {
  controller.Form_Load();
  if (controller.unloaded()) return;
  auto it = views_.find(std::type_index(typeid(controller)));
  if (it == views_.end()) {
    msgBox("The dialog " + std::string(controller.formName()) + " is not available.", "Hangarpak", core::Buttons::OK,
           core::Icon::Exclamation);
    // Closed unseen, so that its unload still enables the main window.
    controller.closeBox();
    return;
  }
  std::unique_ptr<QDialog> view = it->second(controller, parent_);
  modalStack_.push_back(view.get());
  view->exec();
  modalStack_.pop_back();
  if (pendingEnd_) {
    const int code = *pendingEnd_;
    pendingEnd_.reset();
    throw core::EndProgram{code};
  }
}

void QtDialogs::keepPainting() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDialogs::beep() {
  QApplication::beep();
}

void QtDialogs::run(const std::function<void()>& handler) {
  if (ended_) return;
  std::optional<int> end;
  try {
    handler();
  } catch (const core::EndProgram& e) {
    end = e.exitCode;
  } catch (const core::RuntimeError& e) {
    msgBox("Run-time error '" + std::to_string(e.number()) + "':\r\n\r\n" + e.what(), "Hangarpak", core::Buttons::OK,
           core::Icon::Critical);
    end = 1;
  }
  if (!end) return;
  if (!modalStack_.empty()) {
    // The dialog's runModal rethrows in the frame that opened it.
    pendingEnd_ = *end;
    modalStack_.back()->done(QDialog::Rejected);
    return;
  }
  ended_ = *end;
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(*end);
}

}  // namespace qt
