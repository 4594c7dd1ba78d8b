#include <gtest/gtest.h>

#include "app/app.h"
#include "app/boxes.h"
#include "tests/harness/ui.h"

namespace {

// A plain visible top-level window to own boxes.
class OwnerWindow {
 public:
  OwnerWindow() {
    hwnd_ = CreateWindowExA(0, "STATIC", "box owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_;
};

struct AskCase {
  bool owned;
  std::uint32_t type;
  std::uint16_t defaultButton;
  std::vector<int> buttons;
  int expectedDefault;
};

TEST(BoxAskEx, ButtonSetsDefaultsAndModalityFromTheRealBox) {
  OwnerWindow owner;
  const AskCase cases[] = {
      {false, 4, 2, {IDYES, IDNO}, IDNO},
      {true, 3, 3, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
      {true, 3, 1, {IDYES, IDNO, IDCANCEL}, IDYES},
      {true, 7, 0, {IDYES, IDNO}, IDYES},
      {true, 3, 2, {IDYES, IDNO, IDCANCEL}, IDNO},
      {true, 4, 3, {IDYES, IDNO}, IDYES},  // 3 only means Cancel in the three-button set
  };
  for (const AskCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "owned=" << c.owned << " type=" << c.type << " default=" << c.defaultButton);
    auto answer = ui::AnswerNextBox(IDYES);
    const auto reply = BoxAskEx(c.owned ? BoxOwner(owner.Handle()) : BoxOwner(), "Question", "Go on?", c.type,
                                c.defaultButton);
    ui::BoxSnapshot box = answer.get();
    ASSERT_NE(box.hwnd, nullptr) << "no box appeared";
    EXPECT_EQ(reply, 6);
    EXPECT_EQ(box.title, "Question");
    EXPECT_EQ(box.text, "Go on?");
    EXPECT_EQ(box.icon, ui::IconKind::Question);
    EXPECT_EQ(box.buttons.size(), c.buttons.size());
    for (int id : c.buttons) EXPECT_TRUE(box.HasButton(id)) << "button " << id;
    EXPECT_EQ(box.DefaultButton(), c.expectedDefault);
    EXPECT_EQ(box.owner, c.owned ? owner.Handle() : nullptr);
  }
}

TEST(BoxAskEx, ReplyCodePerButton) {
  OwnerWindow owner;
  const std::pair<int, std::uint16_t> presses[] = {{IDCANCEL, 1}, {IDNO, 3}, {IDYES, 6}};
  for (auto [button, code] : presses) {
    auto answer = ui::AnswerNextBox(button);
    EXPECT_EQ(BoxAskEx(owner.Handle(), "t", "q", 3, 3), code) << "button " << button;
    answer.get();
  }
}

TEST(BoxAskEx, StyleBitsOfEveryCombination) {
  EXPECT_EQ(BoxAskExStyle(false, 4, 2), static_cast<UINT>(0x20 | 4 | 0x100 | 0x2000));
  EXPECT_EQ(BoxAskExStyle(true, 3, 3), static_cast<UINT>(0x20 | 3 | 0x200));
  EXPECT_EQ(BoxAskExStyle(true, 3, 2), static_cast<UINT>(0x20 | 3 | 0x100));
  EXPECT_EQ(BoxAskExStyle(true, 3, 1), static_cast<UINT>(0x20 | 3));
  EXPECT_EQ(BoxAskExStyle(true, 0, 3), static_cast<UINT>(0x20 | 4));
  EXPECT_EQ(BoxAskExStyle(true, 7, 0), static_cast<UINT>(0x20 | 4));
}

TEST(BoxAskEx, EveryButtonMapsToItsAlphabeticalCode) {
  EXPECT_EQ(BoxReplyCode(IDABORT), 0);
  EXPECT_EQ(BoxReplyCode(IDCANCEL), 1);
  EXPECT_EQ(BoxReplyCode(IDIGNORE), 2);
  EXPECT_EQ(BoxReplyCode(IDNO), 3);
  EXPECT_EQ(BoxReplyCode(IDOK), 4);
  EXPECT_EQ(BoxReplyCode(IDRETRY), 5);
  EXPECT_EQ(BoxReplyCode(IDYES), 6);
  EXPECT_EQ(BoxReplyCode(IDCLOSE), 0);
  EXPECT_EQ(BoxReplyCode(0), 0);
}

TEST(BoxAsk, UnownedQuestionIsTaskModalAndTrueOnlyForYes) {
  OwnerWindow other;
  // Task-modal: while the box is up, the thread's other windows are disabled.
  auto no = std::async(std::launch::async, [&] {
    HWND box = ui::WaitForMessageBox();
    ui::BoxSnapshot snap = ui::ReadMessageBox(box);
    const bool otherEnabled = IsWindowEnabled(other.Handle()) != FALSE;
    ui::PressButton(box, IDNO);
    return std::make_pair(snap, otherEnabled);
  });
  EXPECT_FALSE(BoxAsk(nullptr, "Title", "Sure?", 2));
  auto [box, otherEnabled] = no.get();
  EXPECT_EQ(box.DefaultButton(), IDNO);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_FALSE(otherEnabled);
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));

  auto yes = ui::AnswerNextBox(IDYES);
  EXPECT_TRUE(BoxAsk(nullptr, "Title", "Sure?", 1));
  EXPECT_EQ(yes.get().DefaultButton(), IDYES);
}

TEST(BoxErrorAndInfo, IconsButtonsTitlesAndOwners) {
  OwnerWindow owner;
  auto error = ui::AnswerNextBox(IDOK);
  BoxError(owner.Handle(), "Something broke");
  ui::BoxSnapshot e = error.get();
  EXPECT_EQ(e.text, "Something broke");
  EXPECT_EQ(e.icon, ui::IconKind::Error);
  ASSERT_EQ(e.buttons.size(), 1u);
  EXPECT_EQ(e.buttons[0].id, IDOK);
  EXPECT_EQ(e.owner, owner.Handle());
  EXPECT_FALSE(e.title.empty());

  auto info = ui::AnswerNextBox(IDOK);
  BoxInfo(owner.Handle(), "Done", "All went well");
  ui::BoxSnapshot i = info.get();
  EXPECT_EQ(i.title, "Done");
  EXPECT_EQ(i.text, "All went well");
  EXPECT_EQ(i.icon, ui::IconKind::Information);
  EXPECT_EQ(i.owner, owner.Handle());
}

TEST(BoxErrorAndInfo, AnythingButAWindowAsOwnerGivesAnUnownedBox) {
  OwnerWindow owner;
  App app;
  auto error = ui::AnswerNextBox(IDOK);
  BoxError(&app, "unowned");
  EXPECT_EQ(error.get().owner, nullptr);

  auto destroyed = ui::AnswerNextBox(IDOK);
  HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  BoxInfo(gone, "t", "stale handle");
  EXPECT_EQ(destroyed.get().owner, nullptr);
}

}  // namespace
