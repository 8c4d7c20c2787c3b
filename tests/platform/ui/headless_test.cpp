// The headless backend as tests use it: answered questions, hooks on letting messages run,
// virtual time with timers, the folder browser and placement of shown forms.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/headless/headless_backend.h"

namespace {

using ui::headless::HeadlessBackend;

struct Fixture {
  HeadlessBackend* ui;
  ui::Application app;
  Fixture() : Fixture(std::make_unique<HeadlessBackend>()) {}
  explicit Fixture(std::unique_ptr<HeadlessBackend> b) : ui(b.get()), app(std::move(b)) {}
};

TEST(MessageBoxes, QuestionsTakeQueuedAnswersInOrderAndOkBoxesNeverUseThem) {
  Fixture f;
  f.ui->answerMessageBoxes({ui::mb::kIdNo, ui::mb::kIdYes});
  EXPECT_EQ(f.app.messageBox("q1", "c", ui::mb::kYesNo | ui::mb::kIconQuestion), ui::mb::kIdNo);
  EXPECT_EQ(f.app.messageBox("info", "c", ui::mb::kIconExclamation), ui::mb::kIdOk);
  EXPECT_EQ(f.app.messageBox("q2", "c", ui::mb::kYesNo), ui::mb::kIdYes);
  EXPECT_EQ(f.app.messageBox("q3", "c", ui::mb::kYesNo), 0) << "no answer left";
  const auto& t = f.ui->transcript();
  ASSERT_EQ(t.messageBoxes.size(), 4u);
  EXPECT_EQ(t.messageBoxes[0].flags, 0x24u);
  EXPECT_EQ(t.messageBoxes[1].text, "info");
  EXPECT_EQ(t.messageBoxes[1].flags, 0x30u);
  ASSERT_EQ(t.unanswered.size(), 1u);
  EXPECT_EQ(t.unanswered[0].text, "q3");
}

TEST(ProcessMessages, HooksRunOnceAtTheFirstCallWhereTheirConditionHolds) {
  Fixture f;
  int step = 0;
  std::vector<std::string> ran;
  f.ui->whenProcessMessages([&] { ran.push_back("at step 3"); }, [&] { return step == 3; });
  f.ui->whenProcessMessages([&] { ran.push_back("next"); });
  for (step = 1; step <= 5; ++step) f.app.processMessages();
  EXPECT_EQ(ran, (std::vector<std::string>{"next", "at step 3"}));
  EXPECT_EQ(f.ui->transcript().processMessagesCalls, 5);
}

TEST(Time, SleepIsVirtualAndTimersFireOnlyWhenTheClockMovesOrMessagesRun) {
  Fixture f;
  std::vector<std::uint64_t> fired;
  int id = f.app.startTimer(300, [&] { fired.push_back(f.app.tickCount()); });
  f.app.sleep(400);
  EXPECT_EQ(f.app.tickCount(), 400u);
  EXPECT_TRUE(fired.empty()) << "sleeping lets no messages run";
  f.app.processMessages();
  EXPECT_EQ(fired, (std::vector<std::uint64_t>{300}));
  f.ui->advance(650);  // to 1050: due at 600 and 900
  EXPECT_EQ(fired, (std::vector<std::uint64_t>{300, 600, 900}));
  f.app.stopTimer(id);
  f.ui->advance(1000);
  EXPECT_EQ(fired.size(), 3u);
  EXPECT_EQ(f.ui->transcript().sleptMilliseconds, 400u);
}

TEST(Time, ATimerMayStopItselfAndTimersInterleaveByDueTime) {
  Fixture f;
  std::string order;
  int a = 0;
  a = f.app.startTimer(100, [&] {
    order += "a";
    if (order.size() >= 3) f.app.stopTimer(a);
  });
  f.app.startTimer(150, [&] { order += "b"; });
  f.ui->advance(400);  // a@100 b@150 a@200 (a stops) b@300
  EXPECT_EQ(order, "abab");
}

TEST(FolderBrowser, AnswersInOrderAndCancelWhenNoneIsQueued) {
  Fixture f;
  f.ui->answerFolderBrowser(std::string("C:\\"));
  f.ui->answerFolderBrowser(std::nullopt);
  ui::FolderBrowse r;
  r.title = "choose";
  EXPECT_TRUE(f.app.backend().browseForFolder(r));
  EXPECT_EQ(r.path, "C:\\");
  ui::FolderBrowse r2;
  EXPECT_FALSE(f.app.backend().browseForFolder(r2));
  EXPECT_FALSE(f.app.backend().browseForFolder(r2));
  EXPECT_EQ(f.ui->transcript().folderBrowses.size(), 3u);
}

TEST(Placement, ShownFormsAreCentredOrMaximisedOnTheScreen) {
  Fixture f(std::make_unique<HeadlessBackend>(ui::Size{1000, 700}));
  class Plain : public ui::Form {
   public:
    using ui::Form::Form;
  };
  Plain centred(f.app, "c"), maxed(f.app, "m");
  centred.setClientSize(489, 313);
  centred.setPosition(ui::Position::ScreenCentre);
  maxed.setWindowState(ui::WindowState::Maximised);
  f.app.createForm(centred);
  f.app.createForm(maxed);
  centred.show();
  maxed.show();
  EXPECT_EQ(centred.bounds(), (ui::Rect{255, 193, 489, 313}));
  EXPECT_EQ(maxed.bounds(), (ui::Rect{0, 0, 1000, 700}));
  EXPECT_TRUE(maxed.active());
  EXPECT_FALSE(centred.active());
}

}  // namespace
