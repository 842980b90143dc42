#include "app/MessageLoop.h"
#include "app/WindowCentring.h"

#include "FakeUi.h"

#include <gtest/gtest.h>

#include <string>

namespace vindrel {
namespace {

using platform::MessageKind;
using testing::Empty;
using testing::FakeUi;
using testing::Key;

struct RecordingHook : PreDispatchHook, IdleHook {
    RecordingHook(std::string name, std::string& log, bool consume = false)
        : name(std::move(name)), log(log), consume(consume) {}
    bool preDispatch(const platform::Message&) override {
        log += name + ">";
        return consume;
    }
    bool runIdle() override {
        log += name + "*";
        return false;
    }
    std::string name;
    std::string& log;
    bool consume;
};

TEST(ThreadMessageLoop, NewestPreDispatchHookFirstAndConsumptionStops) {
    FakeUi ui;
    ThreadMessageLoop loop(ui);
    std::string log;
    RecordingHook first("a", log), second("b", log, true), third("c", log);
    loop.addPreDispatchHook(first);
    loop.addPreDispatchHook(second);
    ui.script = {Key(MessageKind::KeyDown, 'X')};
    loop.run();
    EXPECT_EQ(log, "b>"); // b consumed it before a saw it
    EXPECT_EQ(ui.consumed, std::vector<bool>{true});
    loop.removePreDispatchHook(second);
    loop.addPreDispatchHook(third);
    log.clear();
    ui.consumed.clear();
    loop.run();
    EXPECT_EQ(log, "c>a>");
    EXPECT_EQ(ui.consumed, std::vector<bool>{false});
}

TEST(ThreadMessageLoop, IdleRunsOncePerArmingAndOnlyRearmingMessagesArm) {
    FakeUi ui;
    ThreadMessageLoop loop(ui);
    std::string log;
    RecordingHook one("1", log), two("2", log);
    loop.addIdleHook(one);
    loop.addIdleHook(two);
    ui.script = {
        Empty(), // armed at start: 1*2*
        Empty(), // not re-armed: nothing
        Key(MessageKind::MouseMove, 0),
        Empty(),
        Key(MessageKind::NonClientMouseMove, 0),
        Key(MessageKind::Paint, 0),
        Key(MessageKind::CaretTimer, 0),
        Empty(),
        Key(MessageKind::KeyDown, 'Q'),
        Empty(), // a key re-arms
        Key(MessageKind::Other, 0),
        Key(MessageKind::MouseMove, 0),
        Empty(), // a click (other) re-arms
    };
    loop.run();
    EXPECT_EQ(log, "1*2*1*2*1*2*");
}

TEST(ThreadMessageLoop, RemovingAHookNeverAddedChangesNothing) {
    FakeUi ui;
    ThreadMessageLoop loop(ui);
    std::string log;
    RecordingHook added("a", log), stranger("s", log);
    loop.addPreDispatchHook(added);
    loop.addIdleHook(added);
    loop.removePreDispatchHook(stranger);
    loop.removeIdleHook(stranger);
    ui.script = {Key(MessageKind::KeyDown, 'K'), Empty()};
    loop.run();
    EXPECT_EQ(log, "a>a*");
}

TEST(ThreadMessageLoop, RunReturnsTheQuitCode) {
    FakeUi ui;
    ThreadMessageLoop loop(ui);
    ui.script = {Key(MessageKind::KeyDown, 'K'), Key(MessageKind::KeyDown, 'L')};
    ui.onMessage = [&] { ui.PostQuit(7); };
    EXPECT_EQ(loop.run(), 7);
    EXPECT_EQ(ui.consumed.size(), 1u);
}

TEST(LoopRegistry, PerThread) {
    FakeUi ui;
    ThreadMessageLoop loop(ui);
    LoopRegistry& registry = LoopRegistry::Instance();
    EXPECT_EQ(registry.loopForCurrentThread(), nullptr);
    registry.registerLoop(loop);
    EXPECT_EQ(registry.loopForCurrentThread(), &loop);
    ThreadMessageLoop* seenElsewhere = &loop;
    std::thread([&] { seenElsewhere = registry.loopForCurrentThread(); }).join();
    EXPECT_EQ(seenElsewhere, nullptr);
    registry.unregisterLoop();
    EXPECT_EQ(registry.loopForCurrentThread(), nullptr);
}

struct NullHandler : platform::DialogHandler {
    bool OnInitDialog(platform::DialogWindow&) override { return true; }
    void OnCommand(int, int) override {}
};

TEST(PlaceCentred, Rectangles) {
    using platform::Rect;
    struct Case {
        const char* name;
        Rect window;
        bool hasReference;
        Rect reference;
        bool referenceVisible, referenceMinimised;
        Rect workArea;
        int x, y;
    };
    const Rect area{0, 0, 1920, 1040};
    // clang-format off
    const Case cases[] = {
        {"no reference: middle of the work area", {0, 0, 400, 300}, false, {}, false, false, area, 760, 370},
        {"centred on the reference", {0, 0, 200, 100}, true, {100, 100, 500, 400}, true, false, area, 200, 200},
        {"reference partly off screen: clamped", {0, 0, 200, 100}, true, {1800, 980, 2200, 1280}, true, false, area, 1720, 940},
        {"reference off the left: clamped", {0, 0, 200, 100}, true, {-300, -200, 100, 100}, true, false, area, 0, 0},
        {"larger than the area: left and top win", {0, 0, 2500, 1200}, false, {}, false, false, area, 0, 0},
        {"hidden reference ignored", {0, 0, 400, 300}, true, {0, 0, 100, 100}, false, false, area, 760, 370},
        {"minimised reference ignored", {0, 0, 400, 300}, true, {0, 0, 100, 100}, true, true, area, 760, 370},
        {"work area with an offset", {0, 0, 400, 300}, false, {}, false, false, {1920, 24, 3840, 1080}, 2680, 402},
        {"odd sizes truncate", {0, 0, 401, 301}, true, {0, 0, 101, 101}, true, false, area, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        NullHandler handler;
        testing::FakeDialogWindow window(handler), reference(handler);
        window.rect = c.window;
        window.workArea = c.workArea;
        reference.rect = c.reference;
        reference.visible = c.referenceVisible;
        reference.minimised = c.referenceMinimised;
        reference.workArea = c.workArea;
        placeCentred(window, c.hasReference ? &reference : nullptr);
        EXPECT_EQ(window.rect.left, c.x) << c.name;
        EXPECT_EQ(window.rect.top, c.y) << c.name;
        EXPECT_EQ(window.rect.Width(), c.window.Width()) << c.name;
    }
}

TEST(PlaceCentred, UnknownMonitorLeavesTheWindow) {
    NullHandler handler;
    testing::FakeDialogWindow window(handler);
    window.rect = {5, 6, 105, 106};
    window.hasWorkArea = false;
    placeCentred(window, nullptr);
    EXPECT_EQ(window.moves, 0);
    EXPECT_EQ(window.rect.left, 5);
}

} // namespace
} // namespace vindrel
