#include "qt/icons.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "support/temp_dir.h"

namespace {

QColor centre(const QIcon& icon) {
  return icon.pixmap(48, 48).toImage().pixelColor(24, 24);
}

// The windows show the icon installed beside the program, the one the
// desktop shows; without one, the logo drawn in code.
TEST(AppIcon, IsTheInstalledIconElseTheDrawnLogo) {
  testsupport::TempDir tmp;
  const QString share = QString::fromStdString(tmp.path() + "/share");
  ASSERT_TRUE(QDir().mkpath(share + "/icons/hicolor/48x48/apps"));
  QImage installed(48, 48, QImage::Format_ARGB32);
  installed.fill(QColor(200, 10, 20));
  ASSERT_TRUE(installed.save(share + "/icons/hicolor/48x48/apps/org.hangarpak.Hangarpak.png"));

  EXPECT_EQ(centre(qt::appIcon(share.toStdString())), QColor(200, 10, 20));
  const QIcon drawn = qt::appIcon(tmp.path() + "/elsewhere");
  ASSERT_FALSE(drawn.isNull());
  EXPECT_NE(centre(drawn), QColor(200, 10, 20));
}

}  // namespace
