// The window model: modal loop and close query, closing forms, input rules, fonts, extension peers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/headless/headless_backend.h"

namespace {

using ui::headless::HeadlessBackend;

struct Fixture {
  HeadlessBackend* ui;
  ui::Application app;
  Fixture() : Fixture(std::make_unique<HeadlessBackend>()) {}
  explicit Fixture(std::unique_ptr<HeadlessBackend> b) : ui(b.get()), app(std::move(b)) {}
};

class Dialog : public ui::Form {
 public:
  explicit Dialog(ui::Application& app, const std::string& name = "dlg") : ui::Form(app, name) {}
  ui::GroupBox box{this, "box"};
  ui::Button ok{&box, "ok"};
  ui::Button cancel{this, "cancel"};
  ui::CheckBox check{this, "check"};
};

TEST(ModalLoop, CloseQueryDecidesAndARefusalClearsTheResult) {
  struct Case {
    const char* name;
    std::vector<bool> answers;  // close query answer at each attempt
    int expectedResult;
    int expectedQueries;
  };
  for (const Case& c : {Case{"allowed at once", {true}, ui::mr::kOk, 1},
                        Case{"refused then allowed", {false, true}, ui::mr::kOk, 2},
                        Case{"refused until the script ends", {false}, ui::mr::kNone, 1}}) {
    SCOPED_TRACE(c.name);
    Fixture f;
    Dialog d(f.app);
    f.app.createForm(d);
    int queries = 0;
    std::vector<int> resultsSeenAfterRefusal;
    d.onCloseQuery = [&](bool& can) { can = c.answers.at(static_cast<size_t>(queries++)); };
    d.ok.setModalResult(ui::mr::kOk);
    for (size_t i = 0; i < c.answers.size(); ++i)
      f.ui->whenModal("dlg", [&](ui::Form& form) {
        resultsSeenAfterRefusal.push_back(form.modalResult());
        d.ok.click();
      });
    int result = d.showModal();
    EXPECT_EQ(result, c.expectedResult);
    EXPECT_EQ(queries, c.expectedQueries);
    EXPECT_FALSE(d.visible());
    for (int r : resultsSeenAfterRefusal) EXPECT_EQ(r, ui::mr::kNone);
  }
}

TEST(ModalLoop, CloseOfAModalFormGivesCancelAndCloseActionNoneKeepsItOpen) {
  Fixture f;
  Dialog d(f.app);
  f.app.createForm(d);
  int closes = 0;
  d.onClose = [&](ui::CloseAction& a) {
    if (++closes == 1) a = ui::CloseAction::None;
  };
  f.ui->whenModal("dlg", [&](ui::Form& form) { form.close(); });
  f.ui->whenModal("dlg", [&](ui::Form& form) {
    EXPECT_TRUE(form.visible());
    form.close();
  });
  EXPECT_EQ(d.showModal(), ui::mr::kCancel);
  EXPECT_EQ(closes, 2);
  EXPECT_TRUE(f.ui->transcript().stuckModals.empty());
}

TEST(ModalLoop, ScriptWithoutAnActionReportsTheStuckFormInsteadOfHanging) {
  Fixture f;
  Dialog d(f.app, "lonely");
  f.app.createForm(d);
  EXPECT_EQ(d.showModal(), ui::mr::kNone);
  EXPECT_EQ(f.ui->transcript().stuckModals, std::vector<std::string>{"lonely"});
  EXPECT_EQ(f.ui->transcript().modalShown, std::vector<std::string>{"lonely"});
}

TEST(ModalLoop, NestedModalFormsReturnInnermostFirstAndActivateOnShow) {
  Fixture f;
  Dialog outer(f.app, "outer"), inner(f.app, "inner");
  f.app.createForm(outer);
  f.app.createForm(inner);
  std::vector<std::string> events;
  outer.onActivate = [&] { events.push_back("outer active"); };
  inner.onActivate = [&] { events.push_back("inner active"); };
  f.ui->whenModal("outer", [&](ui::Form&) {
    int r = inner.showModal();
    events.push_back("inner returned " + std::to_string(r));
    EXPECT_EQ(f.app.modalStack().size(), 1u);
    outer.setModalResult(ui::mr::kYes);
  });
  f.ui->whenModal("inner", [&](ui::Form& form) { form.setModalResult(ui::mr::kNo); });
  EXPECT_EQ(outer.showModal(), ui::mr::kYes);
  EXPECT_EQ(events, (std::vector<std::string>{"outer active", "inner active", "inner returned 7"}));
  EXPECT_TRUE(f.app.modalStack().empty());
}

TEST(Closing, MainFormEndsTheApplicationOtherFormsOnlyHide) {
  Fixture f;
  Dialog mainForm(f.app, "main"), other(f.app, "other");
  f.app.createForm(mainForm);
  f.app.createForm(other);
  other.show();
  other.close();
  EXPECT_FALSE(other.visible());
  EXPECT_FALSE(f.app.terminated());

  bool refuse = true;
  mainForm.onCloseQuery = [&](bool& can) { can = !refuse; };
  mainForm.show();
  mainForm.close();
  EXPECT_TRUE(mainForm.visible()) << "a refused close leaves the main form";
  EXPECT_FALSE(f.app.terminated());
  refuse = false;
  mainForm.close();
  EXPECT_FALSE(mainForm.visible());
  EXPECT_TRUE(f.app.terminated());
}

TEST(Closing, RunShowsTheMainFormAndItsFirstResizeCarriesTheProgram) {
  Fixture f(std::make_unique<HeadlessBackend>(ui::Size{800, 600}));
  Dialog back(f.app, "back"), dialog(f.app, "dialog");
  f.app.createForm(back);
  f.app.createForm(dialog);
  back.setWindowState(ui::WindowState::Maximised);
  int resizes = 0;
  back.onResize = [&] {
    ++resizes;
    EXPECT_EQ(back.width(), 800);
    EXPECT_EQ(back.height(), 600);
    dialog.showModal();
    back.close();
  };
  f.ui->whenModal("dialog", [](ui::Form& form) { form.setModalResult(ui::mr::kOk); });
  f.app.run();
  EXPECT_EQ(resizes, 1);
  EXPECT_TRUE(f.app.terminated());
  EXPECT_EQ(f.ui->pendingModalActions(), 0u);
}

TEST(Input, ClicksReachOnlyControlsThatCanTakeInput) {
  struct Case {
    const char* name;
    bool buttonEnabled, boxVisible, boxEnabled, formEnabled;
    bool clicked;
  };
  for (const Case& c : {Case{"all on", true, true, true, true, true},
                        Case{"button disabled", false, true, true, true, false},
                        Case{"parent hidden", true, false, true, true, false},
                        Case{"parent disabled", true, true, false, true, false},
                        Case{"form disabled", true, true, true, false, false}}) {
    SCOPED_TRACE(c.name);
    Fixture f;
    Dialog d(f.app);
    f.app.createForm(d);
    d.show();
    int clicks = 0;
    d.ok.onClick = [&] { ++clicks; };
    d.ok.setEnabled(c.buttonEnabled);
    d.box.setVisible(c.boxVisible);
    d.box.setEnabled(c.boxEnabled);
    d.setEnabled(c.formEnabled);
    d.ok.click();
    EXPECT_EQ(clicks, c.clicked ? 1 : 0);
  }
}

TEST(Input, CheckBoxClickTogglesBeforeItsHandlerAndNotWhenDisabled) {
  Fixture f;
  Dialog d(f.app);
  f.app.createForm(d);
  d.show();
  std::vector<bool> seen;
  d.check.onClick = [&] { seen.push_back(d.check.checked()); };
  d.check.click();
  d.check.click();
  d.check.setEnabled(false);
  d.check.click();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(d.check.checked());
}

TEST(Input, AccessKeysEnterAndEscape) {
  EXPECT_EQ(ui::AccessKeyOf("はい(&Y)"), 'Y');
  EXPECT_EQ(ui::AccessKeyOf("すべて保存(&a)"), 'A');
  EXPECT_EQ(ui::AccessKeyOf("R&&D"), 0) << "a doubled ampersand is a plain one";
  EXPECT_EQ(ui::AccessKeyOf("No key"), 0);

  Fixture f;
  Dialog d(f.app);
  f.app.createForm(d);
  d.show();
  std::string pressed;
  d.ok.setCaption("はい(&Y)");
  d.ok.onClick = [&] { pressed += "ok "; };
  d.cancel.setCaption("いいえ(&N)");
  d.cancel.onClick = [&] { pressed += "cancel "; };
  d.ok.setDefault(true);
  d.cancel.setCancel(true);
  EXPECT_TRUE(d.pressAccessKey('n'));
  EXPECT_TRUE(d.cancel.focused());
  EXPECT_TRUE(d.pressEnter()) << "the focused button takes Enter";
  d.setActiveControl(nullptr);
  EXPECT_TRUE(d.pressEnter());
  EXPECT_TRUE(d.pressEscape());
  d.ok.setEnabled(false);
  EXPECT_FALSE(d.pressAccessKey('Y'));
  EXPECT_EQ(pressed, "cancel cancel ok cancel ");
}

TEST(Model, FontsFollowTheParentUnlessSetAndLinesRoundTrip) {
  Fixture f;
  Dialog d(f.app);
  ui::Font own;
  own.name = "ＭＳ ゴシック";
  d.cancel.setFont(own);
  ui::Font formFont;
  formFont.size = 12;
  d.setFont(formFont);
  EXPECT_EQ(d.ok.font().size, 12) << "grandchild follows";
  EXPECT_EQ(d.cancel.font().name, "ＭＳ ゴシック");
  EXPECT_EQ(d.cancel.font().size, 9);

  ui::Memo memo(&d, "memo");
  memo.setLines({"a", "", "c"});
  EXPECT_EQ(memo.text(), "a\r\n\r\nc");
  EXPECT_EQ(memo.lines(), (std::vector<std::string>{"a", "", "c"}));

  ui::ProgressBar bar(&d, "bar");
  bar.setRange(0, 100);
  bar.setPosition(140);
  EXPECT_EQ(bar.position(), 100);
  bar.setPosition(-3);
  EXPECT_EQ(bar.position(), 0);
}

TEST(Model, AutoSizedLabelFollowsItsCaptionAndFixedOneKeepsItsBounds) {
  Fixture f;
  Dialog d(f.app);
  ui::Label sized(&d, "sized"), fixed(&d, "fixed");
  fixed.setAutoSize(false);
  fixed.setBounds(1, 2, 30, 40);
  sized.setCaption("ab");
  int narrow = sized.width();
  sized.setCaption("abcd\rxy");
  EXPECT_GT(sized.width(), narrow);
  EXPECT_GT(sized.height(), 0);
  ui::Size two = f.ui->measureText(sized.font(), "abcd\r\nxy", 0);
  EXPECT_EQ(sized.height(), two.height) << "CR alone and CR LF both end a line";
  fixed.setCaption("a much longer caption than before");
  EXPECT_EQ(fixed.bounds(), (ui::Rect{1, 2, 30, 40}));
  EXPECT_EQ(fixed.boundsInForm(), (ui::Rect{1, 2, 30, 40}));
  d.box.setBounds(10, 20, 100, 100);
  d.ok.setBounds(3, 4, 5, 6);
  EXPECT_EQ(d.ok.boundsInForm(), (ui::Rect{13, 24, 5, 6}));
}

// A control kind added from outside the core: its peer comes from a factory registered for its
// kind, and its own properties reach the peer.
class Gauge : public ui::Control {
 public:
  using ui::Control::Control;
  const char* kind() const override { return "Gauge"; }
  void setLevel(int l) {
    level_ = l;
    notify(ui::prop::kCustom + 1);
  }

 private:
  int level_ = 0;
};

struct RecordingPeer : ui::ControlPeer {
  std::vector<int>* log;
  explicit RecordingPeer(std::vector<int>* l) : log(l) {}
  void update(int property) override { log->push_back(property); }
};

TEST(Extension, NewKindGetsItsPeerFromItsFactoryAndUnknownKindsStayModelOnly) {
  Fixture f;
  std::vector<int> log;
  f.ui->registerPeer("Gauge", [&](ui::Control&) { return std::make_unique<RecordingPeer>(&log); });
  Dialog d(f.app);
  Gauge g(&d, "gauge");
  f.app.createForm(d);
  ASSERT_NE(g.peer(), nullptr);
  EXPECT_EQ(d.ok.peer(), nullptr);
  g.setLevel(3);
  g.setCaption("x");
  EXPECT_EQ(log, (std::vector<int>{ui::prop::kCustom + 1, ui::prop::kCaption}));
  Gauge late(&d, "late");
  late.realize();
  EXPECT_NE(late.peer(), nullptr) << "a control made after its form realizes itself";
}

}  // namespace
