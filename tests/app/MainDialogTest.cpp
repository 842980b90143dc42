#include "app/MainDialog.h"

#include "FakeUi.h"
#include "TestWaveOut.h"
#include "app/Application.h"
#include "app/DialogTemplates.h"

#include <gtest/gtest.h>

namespace vindrel {
namespace {

using platform::MessageKind;
using testing::FakeDialogWindow;
using testing::FakeUi;
using testing::Key;

// A dialog created on fake windows, with its loop registered as the program does.
struct Fixture {
    FakeUi ui;
    testing::TestWaveOutDriver sound;
    ThreadMessageLoop loop{ui};
    std::unique_ptr<MainDialog> dialog;
    FakeDialogWindow* window = nullptr;

    Fixture() {
        LoopRegistry::Instance().registerLoop(loop);
        dialog = std::make_unique<MainDialog>(ui, sound);
        EXPECT_TRUE(dialog->Create());
        window = ui.lastWindow;
    }
    ~Fixture() {
        dialog.reset();
        LoopRegistry::Instance().unregisterLoop();
    }
    bool Press(MessageKind kind, int key) {
        platform::Message m;
        m.kind = kind;
        m.virtualKey = key;
        return dialog->preDispatch(m);
    }
    bool Ticked(int index) { return dialog->Settings().frequencyChecked[index].load(); }
    std::u16string Parameter(const char16_t* key) {
        std::u16string value;
        dialog->Chain().EffectAt(0)->GetParameter(key, value);
        return value;
    }
};

TEST(MainDialog, InitialisationFillsControlsBuildsTheChainAndStarts) {
    Fixture f;
    EXPECT_EQ(f.ui.createdTemplates, std::vector<int>{129});
    EXPECT_EQ(f.window->combo[IdWaveType],
              (std::vector<std::u16string>{u"Sine", u"Square", u"Noise+BPF"}));
    EXPECT_EQ(f.window->selection[IdWaveType], 0);
    EXPECT_EQ(f.window->range[IdDelayTime], (std::pair<int, int>{1, 1000}));
    EXPECT_EQ(f.window->trackbar[IdDelayTime], 250);
    EXPECT_EQ(f.dialog->DelayTimeMs(), 0);
    ASSERT_EQ(f.dialog->Chain().EffectCount(), 1);
    EXPECT_EQ(f.Parameter(u"WetDryPercent"), u"0.000000");
    EXPECT_TRUE(f.dialog->Player().IsDeviceOpen());
    EXPECT_EQ(f.window->moves, 1); // centred
    EXPECT_EQ(f.window->rect.left, (1920 - 400) / 2);
}

TEST(MainDialog, DigitKeysAreMomentary) {
    Fixture f;
    f.window->SetChecked(2004, true);
    f.dialog->OnCommand(2004, platform::ButtonClicked);
    ASSERT_TRUE(f.Ticked(4));

    EXPECT_TRUE(f.Press(MessageKind::KeyDown, '5'));
    EXPECT_TRUE(f.Ticked(4));
    EXPECT_TRUE(f.window->checked[2004]);
    EXPECT_TRUE(f.Press(MessageKind::KeyDown, '5')); // auto-repeat holds it on
    EXPECT_TRUE(f.Press(MessageKind::KeyUp, '5'));
    EXPECT_FALSE(f.Ticked(4)); // released: off even though it was ticked before
    EXPECT_FALSE(f.window->checked[2004]);

    EXPECT_TRUE(f.Press(MessageKind::KeyDown, 0x61)); // keypad 1
    EXPECT_TRUE(f.Press(MessageKind::KeyDown, '9'));
    EXPECT_TRUE(f.Ticked(0));
    EXPECT_TRUE(f.Ticked(8));
    EXPECT_TRUE(f.window->checked[2008]);
    EXPECT_TRUE(f.window->dialogMessages.empty());
}

TEST(MainDialog, ZeroClearsOnPressAndOnRelease) {
    for (int zero : {0x30, 0x60}) {
        for (MessageKind kind : {MessageKind::KeyDown, MessageKind::KeyUp}) {
            Fixture f;
            f.Press(MessageKind::KeyDown, '2');
            f.Press(MessageKind::KeyDown, '7');
            EXPECT_TRUE(f.Press(kind, zero));
            for (int i = 0; i < 9; ++i) {
                EXPECT_FALSE(f.Ticked(i));
                EXPECT_FALSE(f.window->checked[2000 + i]);
            }
        }
    }
}

TEST(MainDialog, OtherKeysGoToTheDialogHandling) {
    Fixture f;
    f.window->dialogKeyHandled = true;
    EXPECT_TRUE(f.Press(MessageKind::KeyDown, 0x1B));
    f.window->dialogKeyHandled = false;
    EXPECT_FALSE(f.Press(MessageKind::KeyDown, 'A'));
    EXPECT_FALSE(f.Press(MessageKind::SystemKeyDown, '5')); // Alt+5 is no digit
    EXPECT_FALSE(f.Press(MessageKind::Other, 0));
    EXPECT_EQ(f.window->dialogMessages, (std::vector<int>{0x1B, 'A', '5', 0}));
    EXPECT_FALSE(f.Ticked(4));
}

TEST(MainDialog, WaveTypeFromTheComboText) {
    struct Case {
        std::u16string text;
        int wave;
    };
    const Case cases[] = {{u"Sine", 0},   {u"Square", 1}, {u"Noise+BPF", 2},
                          {u"square", 0}, {u"", 0},       {u"Noise+BPF ", 0}};
    Fixture f;
    for (const Case& c : cases) {
        f.dialog->Settings().waveType = 7;
        f.window->texts[IdWaveType] = c.text;
        f.dialog->OnCommand(IdWaveType, platform::ComboSelectionChanged);
        EXPECT_EQ(f.dialog->Settings().waveType.load(), c.wave);
    }
}

TEST(MainDialog, DelayBoxAndSlider) {
    Fixture f;
    f.window->SetChecked(IdDelay, true);
    f.dialog->OnCommand(IdDelay, platform::ButtonClicked);
    EXPECT_EQ(f.Parameter(u"WetDryPercent"), u"50.000000");
    f.window->SetChecked(IdDelay, false);
    f.dialog->OnCommand(IdDelay, platform::ButtonClicked);
    EXPECT_EQ(f.Parameter(u"WetDryPercent"), u"0.000000");

    struct Case {
        int position;
        const char16_t *delay, *offset;
    };
    for (const Case& c :
         {Case{1, u"1.000000", u"0.000000"}, Case{251, u"251.000000", u"125.000000"},
          Case{1000, u"1000.000000", u"500.000000"}}) {
        f.window->trackbar[IdDelayTime] = c.position;
        f.dialog->OnHorizontalScroll(IdDelayTime);
        EXPECT_EQ(f.dialog->DelayTimeMs(), c.position);
        EXPECT_EQ(f.Parameter(u"DelayMs"), c.delay);
        EXPECT_EQ(f.Parameter(u"StereoOffsetMs"), c.offset);
    }
    f.window->trackbar[IdDelayTime] = 5;
    f.dialog->OnHorizontalScroll(1234); // another control: nothing
    EXPECT_EQ(f.Parameter(u"DelayMs"), u"1000.000000");
}

TEST(MainDialog, LfoBoxAndButtons) {
    Fixture f;
    f.window->SetChecked(IdLfo, true);
    f.dialog->OnCommand(IdLfo, platform::ButtonClicked);
    EXPECT_TRUE(f.dialog->Settings().lfoEnabled.load());

    f.dialog->updateButtonStates();
    EXPECT_FALSE(f.window->IsControlEnabled(IdListen));
    EXPECT_TRUE(f.window->IsControlEnabled(IdStop));
    f.dialog->OnCommand(IdStop, platform::ButtonClicked);
    EXPECT_FALSE(f.dialog->Player().IsDeviceOpen());
    f.dialog->runIdle();
    EXPECT_TRUE(f.window->IsControlEnabled(IdListen));
    EXPECT_FALSE(f.window->IsControlEnabled(IdStop));
    f.dialog->OnCommand(IdListen, platform::ButtonClicked);
    EXPECT_TRUE(f.dialog->Player().IsDeviceOpen());
    EXPECT_EQ(f.window->focusCalls, 1);
    EXPECT_EQ(f.sound.opens.load(), 2);

    f.dialog->OnCommand(IdAbout, platform::ButtonClicked);
    EXPECT_EQ(f.ui.modalTemplates, std::vector<int>{100});
}

TEST(MainDialog, NoSoundDeviceLeavesListenEnabled) {
    FakeUi ui;
    testing::TestWaveOutDriver sound;
    sound.refuseAll = true;
    ThreadMessageLoop loop(ui);
    LoopRegistry::Instance().registerLoop(loop);
    {
        MainDialog dialog(ui, sound);
        ASSERT_TRUE(dialog.Create());
        dialog.updateButtonStates();
        EXPECT_TRUE(ui.lastWindow->IsControlEnabled(IdListen));
        EXPECT_FALSE(ui.lastWindow->IsControlEnabled(IdStop));
    }
    LoopRegistry::Instance().unregisterLoop();
}

TEST(RunApplication, ClosingCommandIsTheExitCode) {
    for (int command : {IdOk, IdCancel}) {
        FakeUi ui;
        testing::TestWaveOutDriver sound;
        ui.script = {Key(MessageKind::KeyDown, '5'), testing::Empty()};
        ui.onMessage = [&ui, command] {
            if (!ui.quit)
                ui.lastWindow->handler.OnCommand(command, 0);
        };
        EXPECT_EQ(runApplication(ui, sound), command);
        EXPECT_EQ(sound.closes.load(), 1); // playback stopped with the dialog
        EXPECT_EQ(LoopRegistry::Instance().loopForCurrentThread(), nullptr);
    }
}

TEST(RunApplication, NoWindowGivesZero) {
    FakeUi ui;
    ui.failCreate = true;
    testing::TestWaveOutDriver sound;
    EXPECT_EQ(runApplication(ui, sound), 0);
    EXPECT_EQ(sound.opens.load(), 0);
}

TEST(AboutDialog, CentresOnItsParentAndEndsWithTheCommand) {
    Fixture f;
    f.window->visible = true;
    f.window->rect = {100, 100, 900, 700};
    f.dialog->OnCommand(IdAbout, 0);
    EXPECT_EQ(f.ui.modalTemplates.back(), 100);
    EXPECT_EQ(f.ui.modalRect, (platform::Rect{300, 250, 700, 550}));
    EXPECT_EQ(f.ui.modalResult, 2); // Escape / close box end it with 2
}

} // namespace
} // namespace vindrel
