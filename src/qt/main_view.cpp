#include "qt/main_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

#include "core/errors.h"
#include "qt/icons.h"
#include "qt/list_widgets.h"
#include "qt/qt_dialogs.h"
#include "qt/tab_views.h"
#include "ui/main_window.h"

namespace qt {

namespace {
QString q(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

WaitView::WaitView(ui::WaitForm& form, QtDialogs& dialogs, QWidget* parent)
    : QDialog(parent), form_(form), dialogs_(dialogs) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  wait_ = new QLabel(this);
  QFont big = wait_->font();
  big.setPointSizeF(big.pointSizeF() * 1.3);
  big.setBold(true);
  wait_->setFont(big);
  wait_->setAlignment(Qt::AlignCenter);
  notes_ = new QLabel(this);
  notes_->setObjectName("notesLbl");
  notes_->setWordWrap(true);
  notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  done_ = new QLabel(this);
  done_->setAlignment(Qt::AlignCenter);
  bar_ = new QProgressBar(this);
  ok_ = new QPushButton(this);
  ok_->setDefault(true);
  layout->addWidget(wait_);
  layout->addWidget(notes_);
  layout->addWidget(done_);
  layout->addWidget(bar_);
  layout->addWidget(ok_, 0, Qt::AlignHCenter);
  setMinimumWidth(320);
  connect(ok_, &QPushButton::clicked, this, [this] { dialogs_.run([this] { form_.okCmd_Click(); }); });
  form_.onChange = [this] { render(); };
}

WaitView::~WaitView() {
  form_.onChange = nullptr;
}

void WaitView::render() {
  setWindowTitle(q(form_.caption));
  const std::string& message = form_.waitLbl.caption;
  const auto lineEnd = message.find("\r\n");
  wait_->setText(q(message.substr(0, lineEnd)));
  wait_->setVisible(form_.waitLbl.visible);
  QString notes = lineEnd == std::string::npos ? QString() : q(message.substr(lineEnd + 2));
  notes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const bool notesChanged = notes != notes_->text();
  notes_->setText(notes);
  notes_->setVisible(form_.waitLbl.visible && !notes.isEmpty());
  done_->setText(q(form_.doneLbl.caption));
  done_->setVisible(form_.doneLbl.visible);
  bar_->setRange(form_.progBar.min, form_.progBar.max);
  bar_->setValue(form_.progBar.value);
  bar_->setVisible(form_.progBar.visible);
  ok_->setText(q(form_.okCmd.caption));
  ok_->setVisible(form_.okCmd.visible);
  ok_->setEnabled(form_.okCmd.enabled);
  const bool shown = form_.loaded && form_.visible;
  if (shown && !isVisible()) {
    show();
    raise();
  } else if (!shown && isVisible()) {
    hide();
  }
  // The window grows with the run's summary, so that none of it is cut off.
  if (isVisible() && notesChanged) adjustSize();
}

void WaitView::closeEvent(QCloseEvent* event) {
  event->ignore();
  dialogs_.run([this] { form_.closeBox(); });
}

MainView::MainView(ui::MainWindow& main, QtDialogs& dialogs) : main_(main), dialogs_(dialogs) {
  auto* file = menuBar()->addMenu(q("&File"));
  unzipCap_ = menuAction(file, &ui::MainWindow::unzipCap_Click);
  auto* open = menuAction(file, &ui::MainWindow::openCap_Click);
  open->setText(q(main.openCap.caption));
  open->setShortcut(QKeySequence::Open);
  menuAction(file, &ui::MainWindow::historyCap_Click)->setText(q(main.historyCap.caption));
  auto* refresh = menuAction(file, &ui::MainWindow::refreshCap_Click);
  refresh->setText(q(main.refreshCap.caption));
  refresh->setShortcut(QKeySequence::Refresh);
  file->addSeparator();
  auto* exit = file->addAction(q(main.exitCap.caption));
  // Ctrl+Q on every desktop, also where the platform names no quit key.
  exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(exit, &QAction::triggered, this, [this] { dialogs_.run([this] { main_.exitCap_Click(); }); });
  auto* options = menuBar()->addAction(q(main.OptCap.caption));
  connect(options, &QAction::triggered, this, [this] {
    dialogs_.run([this] { main_.OptCap_Click(); });
    render();
  });
  auto* help = menuBar()->addMenu(q("&Help"));
  auto* helpTopics = menuAction(help, &ui::MainWindow::helpCap_Click);
  helpTopics->setText(q(main.helpCap.caption));
  helpTopics->setShortcut(QKeySequence::HelpContents);
  help->addSeparator();
  menuAction(help, &ui::MainWindow::homesiteCap_Click)->setText(q(main.homesiteCap.caption));
  help->addSeparator();
  menuAction(help, &ui::MainWindow::aboutCap_Click)->setText(q(main.aboutCap.caption));

  popMenu_ = new QMenu(this);
  menuAction(popMenu_, &ui::MainWindow::delCap_Click)->setText(q(main.delCap.caption));
  popMenu_->addSeparator();
  menuAction(popMenu_, &ui::MainWindow::editCap_Click)->setText(q(main.editCap.caption));
  menuAction(popMenu_, &ui::MainWindow::renCap_Click)->setText(q(main.renCap.caption));
  popMenu_->addSeparator();
  menuAction(popMenu_, &ui::MainWindow::scanCap_Click)->setText(q(main.scanCap.caption));

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  tabs_ = new QTabBar(central);
  for (const auto& tab : main.tabs) tabs_->addTab(q(tab.caption));
  tabs_->setExpanding(false);
  layout->addWidget(tabs_);
  auto* line = new QFrame(central);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);
  install_ = new InstallTabView(main, dialogs, central);
  aircraft_ = new AircraftTabView(main, dialogs, central);
  editor_ = new EditorTabView(main, dialogs, central);
  layout->addWidget(install_, 1);
  layout->addWidget(aircraft_, 1);
  layout->addWidget(editor_, 1);
  setCentralWidget(central);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (rendering_) return;
    dialogs_.run([this, index] { main_.selectTab(index + 1); });
    render();
  });

  wait_ = new WaitView(main.waitFrm, dialogs, this);
  main_.onChange = [this] { render(); };
  main_.onPopMenu = [this] { popMenu_->exec(QCursor::pos()); };
  main_.onShowHelp = [this](const std::string& page) { showHelp(page); };
  main_.onSaveLayout = [this] { saveLayout(); };
  resize(760, 520);
  restoreLayout();
  render();
}

namespace {

QByteArray stored(const std::string& text) {
  return QByteArray::fromBase64(QByteArray::fromStdString(text));
}

std::string storable(const QByteArray& state) {
  return state.toBase64().toStdString();
}

}  // namespace

// The window's size and place, each named splitter's sizes and each named
// list's columns (widths, order, the sorted column) come back as the user
// left them.
void MainView::restoreLayout() {
  if (const auto geometry = stored(main_.layout("Main Window")); !geometry.isEmpty()) restoreGeometry(geometry);
  for (auto* split : findChildren<QSplitter*>())
    if (!split->objectName().isEmpty())
      if (const auto state = stored(main_.layout(split->objectName().toStdString())); !state.isEmpty())
        split->restoreState(state);
  for (auto* list : findChildren<ListViewWidget*>())
    if (!list->objectName().isEmpty())
      if (const auto state = stored(main_.layout(list->objectName().toStdString() + " Columns")); !state.isEmpty())
        list->header()->restoreState(state);
}

void MainView::saveLayout() {
  main_.keepLayout("Main Window", storable(saveGeometry()));
  for (auto* split : findChildren<QSplitter*>())
    if (!split->objectName().isEmpty())
      main_.keepLayout(split->objectName().toStdString(), storable(split->saveState()));
  for (auto* list : findChildren<ListViewWidget*>())
    if (!list->objectName().isEmpty())
      main_.keepLayout(list->objectName().toStdString() + " Columns", storable(list->header()->saveState()));
}

MainView::~MainView() {
  main_.onChange = nullptr;
  main_.onPopMenu = nullptr;
  main_.onShowHelp = nullptr;
  main_.onSaveLayout = nullptr;
  if (busy_) QApplication::restoreOverrideCursor();
}

QAction* MainView::menuAction(QMenu* menu, void (ui::MainWindow::*handler)()) {
  auto* action = menu->addAction(QString());
  connect(action, &QAction::triggered, this, [this, handler] {
    // Through std::invoke: GCC's vptr check takes a member-pointer call
    // written here for one on the view, and stops the sanitizer build.
    dialogs_.run([this, handler] { std::invoke(handler, main_); });
    render();
  });
  return action;
}

void MainView::render() {
  rendering_ = true;
  setWindowTitle(q(main_.caption));
  unzipCap_->setText(q(main_.unzipCap.caption));
  tabs_->setCurrentIndex(main_.selectedTab - 1);
  centralWidget()->setEnabled(main_.enabled);
  menuBar()->setEnabled(main_.enabled);
  install_->render();
  aircraft_->render();
  editor_->render();
  wait_->render();
  if (main_.busyCursor() != busy_) {
    busy_ = main_.busyCursor();
    if (busy_)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  }
  if (presented_ && main_.visible && !isVisible())
    show();
  else if (presented_ && !main_.visible && isVisible())
    hide();
  rendering_ = false;
}

void MainView::present() {
  presented_ = true;
  render();
}

void MainView::takeHandedOver(const std::string& hostPath) {
  if (QApplication::activeModalWidget() || !main_.enabled || main_.busyCursor() || main_.waitFrm.loaded) {
    QTimer::singleShot(500, this, [this, hostPath] { takeHandedOver(hostPath); });
    return;
  }
  if (!main_.visible) main_.setVisible(true);
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  if (hostPath.empty()) return;
  dialogs_.run([&] {
    main_.selectTab(1);
    main_.installFra.installHandedOver(hostPath);
  });
  render();
}

void MainView::showHelp(const std::string& hostFile) {
  const QString file = q(hostFile);
  if (!QFileInfo::exists(file)) throw core::RuntimeError(core::err::FileNotFound);
  if (!help_) {
    help_ = new QTextBrowser;
    help_->setAttribute(Qt::WA_DeleteOnClose);
    help_->setOpenExternalLinks(true);
    help_->setWindowTitle(q("Hangarpak Help"));
    help_->resize(640, 560);
  }
  help_->setSource(QUrl::fromLocalFile(file));
  help_->show();
  help_->raise();
}

void MainView::closeEvent(QCloseEvent* event) {
  // Closing the window is the same shutdown as the Exit buttons.
  dialogs_.run([this] { main_.Form_Unload(); });
  if (dialogs_.endedWith()) {
    if (help_) help_->close();
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace qt
