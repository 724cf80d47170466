#pragma once

// What every toolkit's message boxes promise: a box runs a loop of its own, in which the
// toolkit goes on delivering timer events, yet no program timer ticks while it is open;
// and closeOpenBoxes, called from that loop, lets the code waiting on the box go on.
//
// A toolkit type `Kit` for the suite holds its boxes (`boxes`, with closeOpenBoxes) and a
// test_support::DrivenTimer bound to them at kTimerIntervalMs (`timer`), and provides:
//   bool waitUntil(const std::function<bool()>& done)   runs the loop until done, guarded
//   void startProbe(int intervalMs, std::function<void()> probe)   a toolkit timer, not held
//   void stopProbe()
//   bool boxIsOpen()   a box of the program is on screen
//   std::string openBoxTitle(), std::string openBoxText()
//   void pressOk()     as the user does, on the open box
//   void postToLoop(std::function<void()> task)   a message arriving from outside

#include <gtest/gtest.h>

#include <string>

namespace stratocue::ui {

constexpr int kTimerIntervalMs = 1;
constexpr int kProbeIntervalMs = 2;
constexpr int kProbeRoundsWhileOpen = 25;

template <class Kit>
class MessageBoxHoldContract : public testing::Test {};
TYPED_TEST_SUITE_P(MessageBoxHoldContract);

TYPED_TEST_P(MessageBoxHoldContract, NoTickWhileTheBoxRunsItsOwnLoop) {
    TypeParam kit;
    auto& timer = kit.timer;
    ASSERT_TRUE(kit.waitUntil([&] { return timer.ticks >= 3; }));  // the driver runs

    // A probe counts the rounds the box's loop dispatches and, after enough of them, presses
    // OK for the user.
    int probeRounds = 0;
    std::string title;
    std::string text;
    kit.startProbe(kProbeIntervalMs, [&] {
        if (!kit.boxIsOpen()) return;
        title = kit.openBoxTitle();
        text = kit.openBoxText();
        if (++probeRounds >= kProbeRoundsWhileOpen) kit.pressOk();
    });
    timer.boxOpen = true;
    kit.boxes.show("Please wait for last data download request to complete");
    timer.boxOpen = false;
    kit.stopProbe();

    EXPECT_GE(probeRounds, kProbeRoundsWhileOpen);
    EXPECT_EQ(timer.ticksWhileOpen, 0);
    EXPECT_FALSE(timer.model.isHeld());
    EXPECT_EQ(title, "Stratocue");
    EXPECT_EQ(text, "Please wait for last data download request to complete");

    const int ticksAfterTheBox = timer.ticks;
    EXPECT_TRUE(kit.waitUntil([&] { return timer.ticks > ticksAfterTheBox; }));
}

// As an ending signal does: a message arrives while the box is open and closes it.
TYPED_TEST_P(MessageBoxHoldContract, CloseOpenBoxesLetsTheWaitingCodeGoOn) {
    TypeParam kit;
    auto& timer = kit.timer;
    bool endPosted = false;
    bool closeAsked = false;
    kit.startProbe(kProbeIntervalMs, [&] {
        if (!kit.boxIsOpen() || endPosted) return;
        endPosted = true;
        kit.postToLoop([&] {
            closeAsked = true;
            kit.boxes.closeOpenBoxes();
        });
    });
    timer.boxOpen = true;
    kit.boxes.show("Can't connect to FS2002 and/or FSUIPC");
    timer.boxOpen = false;
    kit.stopProbe();

    EXPECT_TRUE(closeAsked);
    EXPECT_EQ(timer.ticksWhileOpen, 0);
    EXPECT_FALSE(kit.boxIsOpen());
}

REGISTER_TYPED_TEST_SUITE_P(MessageBoxHoldContract, NoTickWhileTheBoxRunsItsOwnLoop,
                            CloseOpenBoxesLetsTheWaitingCodeGoOn);

}  // namespace stratocue::ui
