#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "core/errors.h"
#include "core/form.h"
#include "qt/form_dialog.h"
#include "qt/main_view.h"
#include "qt/option_view.h"
#include "qt/qt_dialogs.h"
#include "qt/small_views.h"
#include "ui/main_window.h"
#include "ui/name_form.h"
#include "ui/option_form.h"
#include "ui/shell_fixture.h"

namespace {

template <class W>
W* child(QWidget& parent, const QString& text) {
  for (W* w : parent.findChildren<W*>())
    if (w->text() == text) return w;
  return nullptr;
}

class ShellViews : public uitest::ShellFixture {
 protected:
  ShellViews() { makeSimulator(80); }
  qt::QtDialogs qtDialogs;
};

// A form whose only handler ends the program.
class EndingForm : public core::Form {
 public:
  std::string_view formName() const override { return "endingFrm"; }
};

class EndingView : public qt::FormDialog {
 public:
  EndingView(EndingForm& form, qt::QtDialogs& dialogs, QWidget* parent) : FormDialog(form, dialogs, parent) {
    ready();
    QTimer::singleShot(0, this, [this] { act([] { throw core::EndProgram{7}; }); });
  }

 private:
  void render() override {}
};

TEST_F(ShellViews, TheEndOfTheProgramInsideADialogUnwindsFromItsRunModal) {
  qtDialogs.registerView<EndingForm, EndingView>();
  EndingForm form;
  try {
    qtDialogs.runModal(form);
    ADD_FAILURE() << "runModal returned";
  } catch (const core::EndProgram& end) {
    EXPECT_EQ(end.exitCode, 7);
  }
  EXPECT_FALSE(qtDialogs.endedWith()) << "the frame that opened the dialog decides";
}

TEST_F(ShellViews, TheMainViewFollowsTheTabAndClosingItShutsDown) {
  qt::MainView view(*main, qtDialogs);
  main->selectTab(2);
  EXPECT_EQ(view.windowTitle(), "Hangarpak Aircraft Manager");
  EXPECT_EQ(view.menuBar()->actions()[0]->menu()->actions().first()->text(), "U&pdate");

  // Hidden until start-up is through, and while a command-line install hides it.
  EXPECT_FALSE(view.isVisible());
  main->setVisible(false);
  view.present();
  EXPECT_FALSE(view.isVisible());
  main->setVisible(true);
  EXPECT_TRUE(view.isVisible());

  writeFile("C:\\Games\\a.zip");
  main->installFra.ZipFileDir.setPath("C:\\Games");
  view.close();
  EXPECT_EQ(qtDialogs.endedWith(), 0);
  EXPECT_EQ(setting("Main", "Startup Path"), "C:\\Games");
}

TEST_F(ShellViews, TheOptionsViewShowsTheFormAndForwardsTheUser) {
  ui::OptionForm form(ctx(), *main);
  form.Form_Load();
  qt::OptionView view(form, qtDialogs, nullptr);

  auto* fs2002 = child<QRadioButton>(view, "Flight Simulator 2002");
  auto* fs98 = child<QRadioButton>(view, "Flight Simulator 98");
  ASSERT_TRUE(fs2002 && fs98);
  EXPECT_TRUE(fs2002->isChecked());
  EXPECT_FALSE(fs98->isEnabled()) << "not registered";

  auto* doc = child<QCheckBox>(view, "Install document files");
  ASSERT_NE(doc, nullptr);
  doc->click();
  EXPECT_EQ(form.docChk.value, 1);

  auto* ok = child<QPushButton>(view, "&OK");
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_TRUE(form.unloaded());
  EXPECT_EQ(setting("Options", "Install Doc"), "1");
}

TEST_F(ShellViews, EscapeCancelsTheNamePrompt) {
  state().askName(core::NamePrompt::AircraftName);
  state().archiveBaseName = "b737";
  ui::NameForm form(ctx());
  form.Form_Load();
  qt::NameView view(form, qtDialogs, nullptr);
  view.show();
  QTest::keyClick(&view, Qt::Key_Escape);
  EXPECT_TRUE(form.unloaded());
  EXPECT_FALSE(state().nameConfirmed) << "not taken as OK";
}

}  // namespace
