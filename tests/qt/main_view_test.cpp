#include "qt/main_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include "core/text.h"
#include "qt/list_widgets.h"
#include "qt/qt_dialogs.h"
#include "support/fs_configs.h"
#include "support/sim_fixture.h"
#include "ui/main_window.h"

namespace {

// The main window over a simulator with four aircraft, one of them hidden,
// and a folder of archives.
class MainViewTest : public testsupport::SimFixture {
 protected:
  MainViewTest() {
    makeSimulator(80, "FS2002");
    writeFile("C:\\FS2002\\Aircraft\\C172\\aircraft.cfg",
              testsupport::aircraftCfg({{.title = "Skyhawk"}, {.title = "Floats", .sim = ""}}));
    writeFile("C:\\FS2002\\Aircraft\\Lark\\aircraft.cfg", testsupport::aircraftCfg({{.title = "Lark"}}));
    writeFile("C:\\FS2002\\Aircraft\\Beaver\\aircraft.cfg", testsupport::aircraftCfg({{.title = "Otter"}}));
    writeFile("C:\\Games\\alpha.zip", "not an archive");
  }

  // The end of the program leaves Qt quitting, which would end the next
  // test's dialogs at once; one turn of the application's loop clears that.
  void TearDown() override {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }

  // A window as the program shows it, active so that its shortcuts work.
  std::unique_ptr<qt::MainView> open(ui::MainWindow& main) {
    auto view = std::make_unique<qt::MainView>(main, qtDialogs);
    main.installFra.ZipFileDir.setPath("C:\\Games");
    view->present();
    view->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    return view;
  }

  template <class W>
  static W* named(QWidget& view, const char* name) {
    auto* widget = view.findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // The titles of the Aircraft tab's rows in the order shown.
  static std::vector<std::string> shownTitles(ui::MainWindow& main, qt::ListViewWidget& list) {
    std::vector<std::string> titles;
    for (int row : list.shownRows()) titles.push_back(main.managerFra.flyLst.item(row).text);
    return titles;
  }

  qt::QtDialogs qtDialogs;
};

TEST_F(MainViewTest, SizeSplitterAndColumnsComeBackAsTheUserLeftThem) {
  int splitAt = 0;
  {
    ui::MainWindow main(ctx());
    auto view = open(main);
    view->resize(640, 470);
    auto* split = named<QSplitter>(*view, "installSplitter");
    split->setSizes({150, 400});
    splitAt = split->sizes().first();
    auto* fly = named<qt::ListViewWidget>(*view, "flyLst");
    fly->setColumnWidth(0, 123);
    fly->sortByColumn(1, Qt::DescendingOrder);
    view->close();
    ASSERT_EQ(qtDialogs.endedWith(), 0);
  }
  ui::MainWindow main(ctx());
  auto view = open(main);
  EXPECT_EQ(view->size(), QSize(640, 470));
  EXPECT_EQ(named<QSplitter>(*view, "installSplitter")->sizes().first(), splitAt);
  auto* fly = named<qt::ListViewWidget>(*view, "flyLst");
  EXPECT_EQ(fly->columnWidth(0), 123);
  EXPECT_EQ(fly->header()->sortIndicatorSection(), 1);
  EXPECT_EQ(fly->header()->sortIndicatorOrder(), Qt::DescendingOrder);
}

// A header click sorts by its column, the filter field keeps the rows with
// its text, and the rows the list reports are the catalogue's whatever the
// order shown.
TEST_F(MainViewTest, TheAircraftListSortsByAnyColumnAndFilters) {
  ui::MainWindow main(ctx());
  auto view = open(main);
  main.selectTab(2);
  auto* fly = named<qt::ListViewWidget>(*view, "flyLst");
  EXPECT_EQ(shownTitles(main, *fly), (std::vector<std::string>{"Floats", "Lark", "Otter", "Skyhawk"}));

  const auto clickHeader = [&](int column) {
    auto* header = fly->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  };
  clickHeader(2);  // folder: Beaver, C172 (Floats, Skyhawk in catalogue order), Lark
  EXPECT_EQ(shownTitles(main, *fly), (std::vector<std::string>{"Otter", "Floats", "Skyhawk", "Lark"}));
  clickHeader(1);  // state: the active ones first
  EXPECT_EQ(shownTitles(main, *fly), (std::vector<std::string>{"Lark", "Otter", "Skyhawk", "Floats"}));
  clickHeader(1);  // the hidden ones first, equal states in the catalogue's order
  EXPECT_EQ(shownTitles(main, *fly), (std::vector<std::string>{"Floats", "Lark", "Otter", "Skyhawk"}));
  clickHeader(0);
  clickHeader(0);
  EXPECT_EQ(shownTitles(main, *fly), (std::vector<std::string>{"Skyhawk", "Otter", "Lark", "Floats"}));

  // A click on the first row shown selects that variant in the controller.
  const QRect first = fly->visualRect(fly->model()->index(0, 0));
  QTest::mouseClick(fly->viewport(), Qt::LeftButton, {}, first.center());
  ASSERT_NE(main.managerFra.selectedVariant(), nullptr);
  EXPECT_EQ(main.managerFra.selectedVariant()->title, "Skyhawk");

  auto* filter = named<QLineEdit>(*view, "filterTxt");
  fly->setFocus();
  QTest::keyClick(view.get(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(filter->hasFocus()) << "Ctrl+F goes to the filter field";
  QTest::keyClicks(filter, "C172");
  EXPECT_EQ(shownTitles(main, *fly), (std::vector<std::string>{"Skyhawk", "Floats"}));
  QTest::keyClick(filter, Qt::Key_Escape);
  EXPECT_EQ(filter->text(), "");
  EXPECT_EQ(fly->shownRows().size(), 4u);
}

// One click on a folder lists its archives and a double click opens it; the
// list follows files that arrive; Ctrl+O opens the folder chosen.
TEST_F(MainViewTest, TheArchiveListFollowsClicksTheDiskAndTheFolderChosen) {
  writeFile("C:\\Games\\Old\\bravo.zip", "b");
  ui::MainWindow main(ctx());
  auto view = open(main);
  auto* folders = named<QWidget>(*view, "ZipFileDir")->findChild<QListWidget*>();
  const auto& archives = main.installFra.ZipFileLst2;
  const auto oldRow = [&] {
    return folders->visualItemRect(folders->findItems("Old", Qt::MatchContains).first()).center();
  };

  QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, oldRow());
  ASSERT_EQ(archives.count(), 1);
  EXPECT_EQ(archives.item(0).text, "bravo");
  EXPECT_EQ(main.installFra.ZipFileDir.path(), "C:\\Games");
  EXPECT_EQ(named<QLineEdit>(*view, "ZipPathTxt")->text().toStdString(), host("C:\\Games\\Old"));
  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, oldRow());
  EXPECT_EQ(main.installFra.ZipFileDir.path(), "C:\\Games\\Old");

  writeFile("C:\\Games\\Old\\charlie.zip", "c");
  EXPECT_TRUE(QTest::qWaitFor([&] { return archives.count() == 2; }, 5000)) << "the new archive is listed";

  dialogs.expectFolderChooser("Open Folder", host("C:\\FS2002"));
  main.selectTab(2);
  QTest::keyClick(view.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.folderChooserStarts, std::vector<std::string>{host("C:\\Games\\Old")});
  EXPECT_EQ(main.installFra.ZipFileDir.path(), "C:\\FS2002");
  EXPECT_EQ(main.selectedTab, 1);
}

// Each key of the window does what its menu entry or button does.
TEST_F(MainViewTest, KeysDoWhatTheirEntriesDo) {
  ui::MainWindow main(ctx());
  auto view = open(main);
  std::string helpShown;
  main.onShowHelp = [&](const std::string& file) { helpShown = file; };
  auto* archives = named<qt::ListViewWidget>(*view, "ZipFileLst2");

  QTest::keyClick(view.get(), Qt::Key_F1);
  EXPECT_EQ(helpShown, main.helpFile()) << "F1";

  writeFile("C:\\Games\\bravo.zip", "not an archive either");
  QTest::keyClick(view.get(), Qt::Key_F5);
  EXPECT_EQ(main.installFra.ZipFileLst2.count(), 2) << "F5 lists the folder anew";

  dialogs.allowAnyMessages();
  main.installFra.ZipFileLst2.select(1);
  view->render();
  archives->setFocus();
  QTest::keyClick(archives, Qt::Key_Return);
  ASSERT_FALSE(dialogs.messages().empty()) << "Enter installs the selected archive";
  EXPECT_NE(core::lower(dialogs.messages().back().text).find("bravo.zip"), std::string::npos)
      << dialogs.messages().back().text;
  const auto* summary = named<QLabel>(*view, "notesLbl");
  EXPECT_GE(summary->height(), summary->heightForWidth(summary->width())) << "the run's summary is cut off";
  dialogs.allowAnyMessages(false);

  main.selectTab(3);
  auto* editor = named<qt::ListViewWidget>(*view, "editLst");
  editor->setFocus();
  dialogs.expectMessage("", core::Answer::No);
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_TRUE(dialogs.done()) << "Delete asks to delete the selected aircraft";
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\Beaver\\aircraft.cfg"));

  QTest::keyClick(view.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(qtDialogs.endedWith(), 0) << "Ctrl+Q";
}

}  // namespace
