#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "core/dialogs.h"

class QDialog;

namespace core {
class DriveTable;
}

namespace qt {

// The Qt side of the Dialogs seam: real message boxes, input and file
// dialogs, and the program's own dialogs through views registered by the
// type of their controller. It also runs the controllers' handlers for the views, so that the
// end of the program (core::EndProgram) and run-time errors nobody handled
// unwind through plain C++ frames, never through Qt's event dispatch.
class QtDialogs : public core::Dialogs {
 public:
  using ViewFactory = std::function<std::unique_ptr<QDialog>(core::ModalController&, QWidget* parent)>;

  QtDialogs();
  ~QtDialogs() override;

  // Paths of the file dialog go through the drive table; set once the
  // program's services exist.
  void setDrives(const core::DriveTable* drives) { drives_ = drives; }
  // The window dialogs are centred on (the main window).
  void setParent(QWidget* parent) { parent_ = parent; }
  // Shows a controller of type Form with a View(Form&, QtDialogs&, QWidget*
  // parent).
  template <class Form, class View>
  void registerView() {
    views_[std::type_index(typeid(Form))] = [this](core::ModalController& c,
                                                   QWidget* parent) -> std::unique_ptr<QDialog> {
      return std::make_unique<View>(dynamic_cast<Form&>(c), *this, parent);
    };
  }

  core::Answer msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon icon) override;
  std::optional<std::string> inputBox(std::string_view prompt, std::string_view title, std::string_view def) override;
  std::optional<std::string> openFile(std::string_view title, std::string_view filter,
                                      std::string_view startFolder) override;
  std::optional<std::string> chooseFolder(std::string_view title, std::string_view startFolder) override;
  std::optional<std::string> saveFile(std::string_view title, std::string_view filter, std::string_view name) override;
  void runModal(core::ModalController& controller) override;
  void keepPainting() override;
  void beep() override;

  // Runs one handler of a controller for a view. The end of the program
  // closes the open dialogs one by one (each rethrows from its runModal)
  // and finally leaves the event loop; a run-time error no handler took
  // shows its number and description and ends the program, as the classic
  // runtime does.
  void run(const std::function<void()>& handler);
  // The exit code once the program has ended; nullopt while it runs.
  std::optional<int> endedWith() const { return ended_; }

 private:
  const core::DriveTable* drives_ = nullptr;
  QPointer<QWidget> parent_;
  std::unordered_map<std::type_index, ViewFactory> views_;
  std::vector<QDialog*> modalStack_;
  std::optional<int> pendingEnd_;
  std::optional<int> ended_;
  // The folder of the last file saved, where the next save dialog starts.
  QString saveFolder_;
};

}  // namespace qt
