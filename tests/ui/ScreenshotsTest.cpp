// Pictures of every page for the documentation, taken against the controller simulator at the
// window's design size. Runs only when ORV_SCREENSHOT_DIR names the folder to write
// page-<name>.png into (`make screenshots`).

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QToolButton>
#include <cstdlib>
#include <string>

#include "app/MainLayout.h"
#include "ui/PageTour.h"

namespace {

TEST(Screenshots, everyPageAgainstTheSimulator) {
  const char* folder = std::getenv("ORV_SCREENSHOT_DIR");
  if (!folder || !*folder) GTEST_SKIP() << "ORV_SCREENSHOT_DIR is not set";
  ASSERT_TRUE(QDir().mkpath(folder));
  // The firmware page lists the images of the folder it runs in (make screenshots puts a
  // demo image there).
  TourRig rig;
  ASSERT_TRUE(rig.Start(QDir::currentPath().toStdString()));
  TForm1& f = rig.Form();
  // ORV_SCREENSHOT_SIZE=WIDTHxHEIGHT takes the pictures at another client size.
  QSize size(kDesignClientWidth, 445);
  if (const char* wanted = std::getenv("ORV_SCREENSHOT_SIZE")) {
    const QStringList parts = QString(wanted).split('x');
    if (parts.size() == 2) size = QSize(parts[0].toInt(), parts[1].toInt());
  }
  f.resize(size);
  ASSERT_TRUE(PrepareTour(rig)) << "no controller";
  RunPolls(rig, 30);  // the traces fill
  TourEveryPage(rig, 25, [&](const TourPage& page) {
    EXPECT_EQ(f.CurrentPage(), page.page) << page.name;
    const QString path = QString("%1/page-%2.png").arg(folder, page.name);
    EXPECT_TRUE(f.grab().save(path)) << path.toStdString();
  });
}

// The parameters page in each language: docs/page-parameters-<code>.png, chosen on the set-up
// page as the fitter does.
TEST(Screenshots, theParametersPageInEachLanguage) {
  const char* folder = std::getenv("ORV_SCREENSHOT_DIR");
  if (!folder || !*folder) GTEST_SKIP() << "ORV_SCREENSHOT_DIR is not set";
  ASSERT_TRUE(QDir().mkpath(folder));
  TourRig rig;
  ASSERT_TRUE(rig.Start());
  TForm1& f = rig.Form();
  f.resize(QSize(kDesignClientWidth, 445));
  ASSERT_TRUE(PrepareTour(rig)) << "no controller";
  for (const char* code : {"en", "pl"}) {
    f.TabOfPage(Page::Setup)->click();
    const int item = f.Setup().CBLang->findText(code == std::string("en") ? "english" : "polski");
    ASSERT_GE(item, 0) << code;
    f.Setup().CBLang->setCurrentIndex(item);
    emit f.Setup().CBLang->activated(item);
    f.TabOfPage(Page::Parameters)->click();
    RunPolls(rig, 30);
    EXPECT_EQ(f.CurrentPage(), Page::Parameters) << code;
    const QString path = QString("%1/page-parameters-%2.png").arg(folder, code);
    EXPECT_TRUE(f.grab().save(path)) << path.toStdString();
  }
  f.TabOfPage(Page::Setup)->click();
  const int russian = f.Setup().CBLang->findText("russian");
  f.Setup().CBLang->setCurrentIndex(russian);
  emit f.Setup().CBLang->activated(russian);
}

}  // namespace
