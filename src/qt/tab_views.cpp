#include "qt/tab_views.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "qt/drive_folder_view.h"
#include "qt/icons.h"
#include "qt/list_widgets.h"
#include "qt/qt_dialogs.h"
#include "ui/drive_choice.h"
#include "ui/main_window.h"

namespace qt {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Reports each key released in a widget, with the shift state as the
// program's handlers take it (1 shift, 2 control, 4 alt).
class KeyUpFilter : public QObject {
 public:
  KeyUpFilter(std::function<void(int key, int shift)> onKeyUp, QObject* parent)
      : QObject(parent), onKeyUp_(std::move(onKeyUp)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) {
        const Qt::KeyboardModifiers m = key->modifiers();
        onKeyUp_(key->key(),
                 (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void(int, int)> onKeyUp_;
};

void renderControl(QLabel* label, const core::Label& model) {
  label->setText(q(model.caption));
  label->setVisible(model.visible);
  label->setEnabled(model.enabled);
}

void renderControl(QPushButton* button, const core::Button& model) {
  button->setText(q(model.caption));
  button->setVisible(model.visible);
  button->setEnabled(model.enabled);
}

void renderControl(QLineEdit* box, const core::TextBox& model) {
  if (box->text().toStdString() != model.text) box->setText(q(model.text));
  box->setVisible(model.visible);
  box->setEnabled(model.enabled);
}

}  // namespace

InstallTabView::InstallTabView(ui::MainWindow& main, QtDialogs& dialogs, QWidget* parent)
    : QWidget(parent), main_(main), dialogs_(dialogs) {
  auto& tab = main.installFra;
  auto* grid = new QGridLayout(this);
  auto* left = new QVBoxLayout;
  auto* logo = new QLabel(this);
  logo->setPixmap(logoPicture(150, 150));
  logo->setFixedWidth(160);
  logo->setAlignment(Qt::AlignCenter);
  left->addWidget(logo, 0, Qt::AlignHCenter);
  info_ = new QLabel(this);
  info_->setWordWrap(true);
  info_->setFixedWidth(160);
  left->addWidget(info_);
  left->addStretch();
  version_ = new QLabel(this);
  left->addWidget(version_);

  // The path field, with a button that asks for a folder as File > Open
  // Folder does.
  auto* pathRow = new QHBoxLayout;
  auto* pathLbl = new QLabel(q("Fol&der:"), this);
  path_ = new QLineEdit(this);
  path_->setObjectName("ZipPathTxt");
  path_->setPlaceholderText(q("Type or paste a folder, such as ~/Downloads, and press Enter"));
  pathLbl->setBuddy(path_);
  auto* choose = new QToolButton(this);
  choose->setObjectName("openFolderButton");
  choose->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  choose->setToolTip(q("Open Folder... (Ctrl+O)"));
  pathRow->addWidget(pathLbl);
  pathRow->addWidget(path_, 1);
  pathRow->addWidget(choose);

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setObjectName("installSplitter");
  split->setChildrenCollapsible(false);
  browser_ = new DriveFolderView(split);
  browser_->setObjectName("ZipFileDir");
  archives_ = new ListViewWidget(tab.ZipFileLst2, split);
  archives_->setObjectName("ZipFileLst2");
  archives_->setColumnWidth(0, 160);
  // The state ("installed") beside the name, where a long path cannot hide it.
  archives_->header()->moveSection(2, 1);
  archives_->setColumnWidth(2, 70);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  install_ = new QPushButton(this);
  exit_ = new QPushButton(this);
  buttons->addWidget(install_);
  buttons->addWidget(exit_);

  grid->addLayout(left, 0, 0, 3, 1);
  grid->addLayout(pathRow, 0, 1);
  grid->addWidget(split, 1, 1);
  grid->addLayout(buttons, 2, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);

  watcher_ = new QFileSystemWatcher(this);
  settle_ = new QTimer(this);
  settle_->setSingleShot(true);
  settle_->setInterval(300);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
  connect(settle_, &QTimer::timeout, this, [this] {
    // An install or a dialog runs: the list follows once it is over.
    if (!main_.enabled || main_.busyCursor() || QApplication::activeModalWidget()) {
      settle_->start();
      return;
    }
    dialogs_.run([&] { main_.installFra.archiveFolderChanged(); });
    main_.changed();
  });
  connect(path_, &QLineEdit::textEdited, this,
          [this](const QString& t) { main_.installFra.ZipPathTxt.text = t.toStdString(); });
  connect(path_, &QLineEdit::returnPressed, this, [this] {
    dialogs_.run([&] { main_.installFra.openPath(path_->text().toStdString()); });
    main_.changed();
  });
  connect(choose, &QToolButton::clicked, this, [this] {
    dialogs_.run([&] { main_.openCap_Click(); });
    main_.changed();
  });

  browser_->onDrivePicked = [this](const std::string& d) {
    dialogs_.run([&] { main_.installFra.ZipFileDrv_Change(d); });
    main_.changed();
  };
  browser_->onFolderPicked = [this](const std::string& f) {
    dialogs_.run([&] { main_.installFra.ZipFileDir_Click(f); });
    main_.changed();
  };
  browser_->onFolderOpened = [this](const std::string& f) {
    dialogs_.run([&] { ui::OpenFolder(main_.installFra.ZipFileDir, f); });
    main_.changed();
  };
  archives_->onDoubleClick = [this](int) {
    dialogs_.run([&] { main_.installFra.ZipFileLst2_DblClick(); });
    main_.changed();
  };
  // The archive under the pointer is picked by the press itself.
  archives_->onRightClick = [this](int) {
    QMenu menu(this);
    auto* preview = menu.addAction(QString::fromStdString(main_.previewCap.caption));
    if (menu.exec(QCursor::pos()) != preview) return;
    dialogs_.run([&] { main_.installFra.previewCap_Click(); });
    main_.changed();
  };
  archives_->onEnter = [this] {
    dialogs_.run([&] { main_.installFra.unzipCmd_Click(); });
    main_.changed();
  };
  archives_->acceptFileDrops([this](const std::vector<std::string>& hostPaths) {
    dialogs_.run([&] { main_.installFra.ZipFileLst2_OLEDragDrop(hostPaths); });
    main_.changed();
  });
  connect(install_, &QPushButton::clicked, this, [this] {
    dialogs_.run([&] { main_.installFra.unzipCmd_Click(); });
    main_.changed();
  });
  connect(exit_, &QPushButton::clicked, this, [this] { dialogs_.run([&] { main_.lukkCmd_Click(); }); });
}

void InstallTabView::render() {
  const auto& tab = main_.installFra;
  setVisible(tab.visible);
  browser_->render(tab.ZipFileDrv, tab.ZipFileDir, tab.shownFolder());
  renderControl(path_, tab.ZipPathTxt);
  watch(QString::fromStdString(tab.shownHostFolder()));
  archives_->render();
  renderControl(info_, tab.infoLbl);
  renderControl(version_, tab.versionLbl);
  renderControl(install_, tab.unzipCmd);
  renderControl(exit_, tab.lukkCmd);
}

void InstallTabView::watch(const QString& hostFolder) {
  const QStringList watched = watcher_->directories();
  if (watched == QStringList{hostFolder} || (watched.isEmpty() && hostFolder.isEmpty())) return;
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  // A folder that cannot be watched (gone, or out of watches) is listed
  // when it is opened and on F5.
  if (!hostFolder.isEmpty()) watcher_->addPath(hostFolder);
}

AircraftTabView::AircraftTabView(ui::MainWindow& main, QtDialogs& dialogs, QWidget* parent)
    : QWidget(parent), main_(main), dialogs_(dialogs) {
  auto& tab = main.managerFra;
  auto* grid = new QGridLayout(this);
  flyLbl_ = new QLabel(this);
  fly2Lbl_ = new QLabel(this);
  fly_ = new ListViewWidget(tab.flyLst, this);
  fly_->setObjectName("flyLst");
  fly_->setColumnWidth(0, 300);
  fly_->setColumnWidth(1, 70);
  filter_ = makeFilterField(fly_, this);
  panelLbl_ = new QLabel(this);
  panel2Lbl_ = new QLabel(this);
  panel_ = new ComboWidget(tab.panelCom, this);
  lydLbl_ = new QLabel(this);
  lyd2Lbl_ = new QLabel(this);
  sound_ = new ComboWidget(tab.lydCom, this);
  update_ = new QPushButton(this);
  exit_ = new QPushButton(this);

  auto* head = new QHBoxLayout;
  head->addWidget(flyLbl_);
  head->addStretch();
  head->addWidget(fly2Lbl_);
  head->addWidget(filter_, 1);
  grid->addLayout(head, 0, 0, 1, 2);
  grid->addWidget(fly_, 1, 0, 1, 2);
  auto* panelHead = new QHBoxLayout;
  panelHead->addWidget(panelLbl_);
  panelHead->addStretch();
  panelHead->addWidget(panel2Lbl_);
  auto* soundHead = new QHBoxLayout;
  soundHead->addWidget(lydLbl_);
  soundHead->addStretch();
  soundHead->addWidget(lyd2Lbl_);
  grid->addLayout(panelHead, 2, 0);
  grid->addLayout(soundHead, 2, 1);
  grid->addWidget(panel_, 3, 0);
  grid->addWidget(sound_, 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(update_);
  buttons->addWidget(exit_);
  grid->addLayout(buttons, 4, 0, 1, 2);
  grid->setRowStretch(1, 1);

  auto runAndRender = [this](const std::function<void()>& handler) {
    dialogs_.run(handler);
    main_.changed();
  };
  panel_->onPick = [this, runAndRender](int i) { runAndRender([&] { main_.managerFra.panelCom.userPick(i); }); };
  sound_->onPick = [this, runAndRender](int i) { runAndRender([&] { main_.managerFra.lydCom.userPick(i); }); };
  connect(update_, &QPushButton::clicked, this,
          [this, runAndRender] { runAndRender([&] { main_.managerFra.updateCmd_Click(); }); });
  // Active variants show the aircraft image, hidden ones the hidden one.
  fly_->imageOf = [](int icon) {
    return icon == ui::AircraftTab::HiddenIcon ? 4 : icon == ui::AircraftTab::ActiveIcon ? 1 : 0;
  };
  fly_->onMouseDown = [this](int button) { main_.managerFra.flyLst_MouseDown(button); };
  fly_->onItemClick = [this, runAndRender](int row) { runAndRender([&] { main_.managerFra.flyLst_ItemClick(row); }); };
  fly_->onDoubleClick = [this, runAndRender](int) { runAndRender([&] { main_.managerFra.flyLst_DblClick(); }); };
  // The row under the pointer is picked by the press itself.
  fly_->onRightClick = [this, runAndRender](int row) {
    runAndRender([&] { main_.managerFra.flyLst_ItemClick(row); });
    QMenu menu(this);
    auto* hide = menu.addAction(q(main_.managerFra.hideCaption()));
    if (menu.exec(QCursor::pos()) == hide) runAndRender([&] { main_.managerFra.hideCap_Click(); });
  };
  connect(exit_, &QPushButton::clicked, this, [this] { dialogs_.run([&] { main_.lukk2Cmd_Click(); }); });
}

void AircraftTabView::render() {
  const auto& tab = main_.managerFra;
  setVisible(tab.visible);
  fly_->render();
  panel_->render();
  sound_->render();
  renderControl(flyLbl_, tab.flyLbl);
  renderControl(fly2Lbl_, tab.fly2Lbl);
  renderControl(panelLbl_, tab.panelLbl);
  renderControl(panel2Lbl_, tab.panel2Lbl);
  renderControl(lydLbl_, tab.lydLbl);
  renderControl(lyd2Lbl_, tab.lyd2Lbl);
  renderControl(update_, tab.updateCmd);
  renderControl(exit_, tab.lukk2Cmd);
}

EditorTabView::EditorTabView(ui::MainWindow& main, QtDialogs& dialogs, QWidget* parent)
    : QWidget(parent), main_(main), dialogs_(dialogs) {
  auto& tab = main.editFra;
  auto* layout = new QVBoxLayout(this);
  toolBar_ = new QToolBar(this);
  toolBar_->setIconSize(QSize(24, 24));
  for (std::size_t i = 0; i < main.toolButtons.size(); ++i) {
    const auto& model = main.toolButtons[i];
    if (model.style == ui::ToolButton::Style::Placeholder) {
      toolBar_->addSeparator();
      toolButtons_.push_back(nullptr);
      continue;
    }
    auto* button = new QToolButton(toolBar_);
    button->setToolTip(q(model.toolTip));
    button->setCheckable(model.style == ui::ToolButton::Style::Group);
    button->setAutoRaise(true);
    toolBar_->addWidget(button);
    toolButtons_.push_back(button);
    const int number = static_cast<int>(i) + 1;
    connect(button, &QToolButton::clicked, this, [this, number] {
      dialogs_.run([&] { main_.ToolBar_ButtonClick(number); });
      main_.changed();
    });
  }
  layout->addWidget(toolBar_);
  list_ = new ListViewWidget(tab.editLst, this);
  list_->setObjectName("editLst");
  list_->setColumnWidth(0, 300);
  layout->addWidget(makeFilterField(list_, this));
  layout->addWidget(list_, 1);
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(q(tab.nameLbl.caption), this), 0, 0);
  name_ = new QLineEdit(this);
  fields->addWidget(name_, 0, 1);
  fields->addWidget(new QLabel(q(tab.pathLbl.caption), this), 1, 0);
  path_ = new QLineEdit(this);
  fields->addWidget(path_, 1, 1);
  layout->addLayout(fields);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  edit_ = new QPushButton(this);
  exit_ = new QPushButton(this);
  buttons->addWidget(edit_);
  buttons->addWidget(exit_);
  layout->addLayout(buttons);

  auto runAndRender = [this](const std::function<void()>& handler) {
    dialogs_.run(handler);
    main_.changed();
  };
  list_->onMouseDown = [this](int button) { main_.editFra.editLst_MouseDown(button); };
  list_->onItemClick = [this, runAndRender](int row) { runAndRender([&] { main_.editFra.editLst_ItemClick(row); }); };
  // A right button selects the row and opens popMenu (editLst_ItemClick).
  list_->onRightClick = [this, runAndRender](int row) { runAndRender([&] { main_.editFra.editLst_ItemClick(row); }); };
  list_->onLabelEdited = [this, runAndRender](int row, const std::string& text) {
    runAndRender([&] {
      main_.editFra.editLst.select(row);
      bool cancel = false;
      main_.editFra.editLst_AfterLabelEdit(cancel, text);
    });
  };
  main.editFra.onStartLabelEdit = [this](int row) { list_->editRow(row); };
  list_->onDelete = [this, runAndRender] { runAndRender([&] { main_.delCap_Click(); }); };
  connect(name_, &QLineEdit::textEdited, this,
          [this](const QString& t) { main_.editFra.nameTxt.text = t.toStdString(); });
  // Every key released in the name box renames the entry.
  name_->installEventFilter(new KeyUpFilter(
      [this, runAndRender](int key, int shift) {
        runAndRender([&] {
          main_.editFra.nameTxt.text = name_->text().toStdString();
          main_.editFra.nameTxt_KeyUp(key, shift);
        });
      },
      name_));
  connect(edit_, &QPushButton::clicked, this, [this] {
    dialogs_.run([&] { main_.editFra.editCmd_Click(); });
    main_.changed();
  });
  connect(exit_, &QPushButton::clicked, this, [this] { dialogs_.run([&] { main_.lukk3Cmd_Click(); }); });
}

void EditorTabView::render() {
  const auto& tab = main_.editFra;
  setVisible(tab.visible);
  for (std::size_t i = 0; i < toolButtons_.size(); ++i) {
    QToolButton* button = toolButtons_[i];
    if (!button) continue;
    const auto& model = main_.toolButtons[i];
    button->setIcon(toolbarImage(model.image));
    // Without its image (a start-up that did not get that far) the button
    // still says what it does.
    button->setText(model.image == 0 ? q(model.toolTip) : QString());
    button->setToolButtonStyle(model.image == 0 ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    button->setChecked(model.pressed);
  }
  list_->render();
  renderControl(name_, tab.nameTxt);
  renderControl(path_, tab.pathTxt);
  renderControl(edit_, tab.editCmd);
  renderControl(exit_, tab.lukk3Cmd);
}

}  // namespace qt
