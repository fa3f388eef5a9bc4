#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabBar;
class QTextBrowser;

namespace ui {
class MainWindow;
class WaitForm;
}  // namespace ui

namespace qt {

class QtDialogs;
class InstallTabView;
class AircraftTabView;
class EditorTabView;

// The progress dialog waitFrm; not modal, shown and hidden by its form.
class WaitView : public QDialog {
 public:
  WaitView(ui::WaitForm& form, QtDialogs& dialogs, QWidget* parent);
  ~WaitView() override;
  void render();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

 private:
  ui::WaitForm& form_;
  QtDialogs& dialogs_;
  QLabel* wait_;
  // The lines of the message after its first (what the run had to tell).
  QLabel* notes_;
  QLabel* done_;
  QProgressBar* bar_;
  QPushButton* ok_;
};

// mainFrm: menus, tab strip, the three frames, the pop-up menu.
class MainView : public QMainWindow {
 public:
  MainView(ui::MainWindow& main, QtDialogs& dialogs);
  ~MainView() override;
  void render();
  // Start-up is through: from now on the window follows its form's
  // visibility (a command-line install keeps it hidden).
  void present();
  // An archive (a host path, or "" for none) another start of the program
  // handed over: the window comes forward and installs it, once no dialog
  // or install of its own is open.
  void takeHandedOver(const std::string& hostPath);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showHelp(const std::string& hostFile);
  void restoreLayout();
  void saveLayout();
  QAction* menuAction(QMenu* menu, void (ui::MainWindow::*handler)());

  ui::MainWindow& main_;
  QtDialogs& dialogs_;
  QTabBar* tabs_;
  InstallTabView* install_;
  AircraftTabView* aircraft_;
  EditorTabView* editor_;
  QAction* unzipCap_;
  QMenu* popMenu_;
  WaitView* wait_;
  QPointer<QTextBrowser> help_;
  bool rendering_ = false;
  bool busy_ = false;
  bool presented_ = false;
};

}  // namespace qt
