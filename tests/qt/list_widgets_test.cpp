#include "qt/list_widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "core/controls.h"

namespace {

// Drops what a file manager drags (local files and, from a browser, a web
// address) onto the list's viewport; returns whether the drop was taken.
bool drop(qt::ListViewWidget& list, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  // As a drag does it: the drop goes to the widget that took the drag's entry.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &enter);
  QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &event);
  return enter.isAccepted() && event.isAccepted();
}

TEST(ListViewWidget, DroppedLocalFilesReachTheHandlerAndOtherDropsAreRefused) {
  core::ListView model;
  model.columns = {"Name"};
  qt::ListViewWidget list(model);
  list.show();
  const QList<QUrl> dragged{QUrl::fromLocalFile("/home/u/Downloads/b 737.zip"), QUrl("https://example.org/x.zip"),
                            QUrl::fromLocalFile("/tmp/readme.txt")};

  EXPECT_FALSE(drop(list, dragged)) << "a list that takes no drops";

  std::vector<std::string> received;
  int calls = 0;
  list.acceptFileDrops([&](const std::vector<std::string>& paths) {
    received = paths;
    ++calls;
  });
  EXPECT_TRUE(drop(list, dragged));
  EXPECT_EQ(received, (std::vector<std::string>{"/home/u/Downloads/b 737.zip", "/tmp/readme.txt"}));
  EXPECT_FALSE(drop(list, {QUrl("https://example.org/x.zip")})) << "nothing local";
  EXPECT_EQ(calls, 1);
}

}  // namespace
