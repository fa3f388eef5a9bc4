// The least a Qt window program does before its first window is shown: the
// floor the window program's start-up is compared with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Hangarpak floor");
  window.resize(640, 480);
  window.show();
  return QApplication::exec();
}
