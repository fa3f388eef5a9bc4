#pragma once

#include <functional>
#include <string>

#include "core/dialogs.h"

namespace core {

// The common part of the program's own dialogs: a caption, the view's
// change callback and the unload rule. A form unloads once; its Form_Unload
// runs then, whether an OK or Cancel handler or the close box unloaded it.
class Form : public ModalController {
 public:
  std::string caption;
  // The view re-renders when a handler changed the form.
  std::function<void()> onChange;

  bool unloaded() const override { return unloaded_; }
  // The close box unloads the form unless a form says otherwise.
  bool closeBox() override {
    unload();
    return true;
  }

 protected:
  // Runs Form_Unload the first time only; Form_Unload may end the program.
  void unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Form_Unload();
    changed();
  }
  virtual void Form_Unload() {}
  void changed() {
    if (onChange) onChange();
  }

 private:
  bool unloaded_ = false;
};

}  // namespace core
