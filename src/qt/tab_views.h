#pragma once

#include <QWidget>

class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;

namespace ui {
class MainWindow;
}

namespace qt {

class QtDialogs;
class DriveFolderView;
class ListViewWidget;
class ComboWidget;

// The frame of the Install tab. The archive list follows its folder on
// disk: a change there, once the folder has been quiet for a moment, lists
// it anew.
class InstallTabView : public QWidget {
 public:
  InstallTabView(ui::MainWindow& main, QtDialogs& dialogs, QWidget* parent);
  void render();

 private:
  void watch(const QString& hostFolder);

  ui::MainWindow& main_;
  QtDialogs& dialogs_;
  DriveFolderView* browser_;
  QLineEdit* path_;
  QFileSystemWatcher* watcher_;
  QTimer* settle_;
  ListViewWidget* archives_;
  QLabel* info_;
  QLabel* version_;
  QPushButton* install_;
  QPushButton* exit_;
};

// The frame of the Aircraft tab.
class AircraftTabView : public QWidget {
 public:
  AircraftTabView(ui::MainWindow& main, QtDialogs& dialogs, QWidget* parent);
  void render();

 private:
  ui::MainWindow& main_;
  QtDialogs& dialogs_;
  ListViewWidget* fly_;
  QLineEdit* filter_;
  ComboWidget* panel_;
  ComboWidget* sound_;
  QLabel* flyLbl_;
  QLabel* fly2Lbl_;
  QLabel* panelLbl_;
  QLabel* panel2Lbl_;
  QLabel* lydLbl_;
  QLabel* lyd2Lbl_;
  QPushButton* update_;
  QPushButton* exit_;
};

// The frame of the Editor tab with its toolbar.
class EditorTabView : public QWidget {
 public:
  EditorTabView(ui::MainWindow& main, QtDialogs& dialogs, QWidget* parent);
  void render();

 private:
  ui::MainWindow& main_;
  QtDialogs& dialogs_;
  QToolBar* toolBar_;
  std::vector<QToolButton*> toolButtons_;
  ListViewWidget* list_;
  QLineEdit* name_;
  QLineEdit* path_;
  QPushButton* edit_;
  QPushButton* exit_;
};

}  // namespace qt
