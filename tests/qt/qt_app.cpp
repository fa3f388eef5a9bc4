#include <gtest/gtest.h>

#include <QApplication>

namespace {

// One QApplication for the whole test program (offscreen platform, set by
// the test runner's environment).
class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QApplication::instance()) app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "qt_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
