#pragma once

#include "platform/Ui.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vindrel::testing {

// A dialog window that keeps its controls' state in maps.
class FakeDialogWindow : public platform::DialogWindow {
public:
    explicit FakeDialogWindow(platform::DialogHandler& handler) : handler(handler) {}

    bool IsChecked(int id) override { return checked[id]; }
    void SetChecked(int id, bool value) override { checked[id] = value; }
    void AddComboString(int id, const std::u16string& text) override { combo[id].push_back(text); }
    void SetComboSelection(int id, int index) override { selection[id] = index; }
    std::u16string ControlText(int id) override {
        if (texts.count(id))
            return texts[id];
        const auto& items = combo[id];
        const int i = selection.count(id) ? selection[id] : -1;
        return i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(i)]
                                                            : std::u16string();
    }
    void SetTrackbarRange(int id, int low, int high) override { range[id] = {low, high}; }
    void SetTrackbarPosition(int id, int position) override { trackbar[id] = position; }
    int TrackbarPosition(int id) override { return trackbar[id]; }
    void EnableControl(int id, bool value) override { enabled[id] = value; }
    bool IsControlEnabled(int id) override { return !enabled.count(id) || enabled[id]; }
    void Show() override { visible = true; }
    void Focus() override { ++focusCalls; }
    void Destroy() override {
        destroyed = true;
        handler.OnDestroy();
    }
    void EndDialog(int result) override { endResult = result; }
    bool HandleDialogMessage(const platform::Message& message) override {
        dialogMessages.push_back(message.virtualKey);
        return dialogKeyHandled;
    }
    platform::Rect WindowRect() override { return rect; }
    bool IsVisible() override { return visible; }
    bool IsMinimised() override { return minimised; }
    platform::DialogWindow* Parent() override { return parent; }
    bool NearestWorkArea(platform::Rect& area) override {
        area = workArea;
        return hasWorkArea;
    }
    void MoveTo(int x, int y) override {
        rect = {x, y, x + rect.Width(), y + rect.Height()};
        ++moves;
    }

    platform::DialogHandler& handler;
    std::map<int, bool> checked, enabled;
    std::map<int, std::vector<std::u16string>> combo;
    std::map<int, int> selection, trackbar;
    std::map<int, std::pair<int, int>> range;
    std::map<int, std::u16string> texts;
    std::vector<int> dialogMessages;
    bool dialogKeyHandled = false;
    bool visible = false, minimised = false, destroyed = false, hasWorkArea = true;
    int focusCalls = 0, moves = 0, endResult = -1;
    platform::Rect rect{0, 0, 400, 300};
    platform::Rect workArea{0, 0, 1920, 1040};
    platform::DialogWindow* parent = nullptr;
};

// Creates fake windows; its loop plays a script of messages, reporting an
// empty queue where the script says so.
class FakeUi : public platform::UiServices {
public:
    struct Step {
        bool queueEmpty = false;
        platform::Message message;
    };

    std::unique_ptr<platform::DialogWindow>
    CreateDialog(const platform::DialogTemplate& dialog,
                 platform::DialogHandler& handler) override {
        createdTemplates.push_back(dialog.id);
        if (failCreate)
            return nullptr;
        auto window = std::make_unique<FakeDialogWindow>(handler);
        lastWindow = window.get();
        handler.OnInitDialog(*window);
        return window;
    }
    int RunModalDialog(const platform::DialogTemplate& dialog, platform::DialogHandler& handler,
                       platform::DialogWindow* parent) override {
        modalTemplates.push_back(dialog.id);
        FakeDialogWindow window(handler);
        window.parent = parent;
        handler.OnInitDialog(window);
        handler.OnCommand(2, 0);
        modalRect = window.rect;
        modalResult = window.endResult;
        return window.endResult;
    }
    platform::DialogWindow* ActiveWindow() override { return lastWindow; }
    int RunLoop(platform::LoopCallbacks& callbacks) override {
        for (const Step& step : script) {
            if (quit)
                break;
            if (step.queueEmpty) {
                callbacks.OnQueueEmpty();
                continue;
            }
            callbacks.OnAnyMessage(step.message.kind);
            consumed.push_back(callbacks.OnMessage(step.message));
            if (onMessage)
                onMessage();
        }
        return quitCode;
    }
    void PostQuit(int exitCode) override {
        quit = true;
        quitCode = exitCode;
    }

    bool failCreate = false;
    bool quit = false;
    int quitCode = -1;
    std::vector<int> createdTemplates, modalTemplates;
    platform::Rect modalRect;
    int modalResult = -1;
    std::vector<Step> script;
    std::vector<bool> consumed;
    std::function<void()> onMessage;
    FakeDialogWindow* lastWindow = nullptr;
};

inline FakeUi::Step Key(platform::MessageKind kind, int key) {
    FakeUi::Step step;
    step.message.kind = kind;
    step.message.virtualKey = key;
    return step;
}

inline FakeUi::Step Empty() {
    FakeUi::Step step;
    step.queueEmpty = true;
    return step;
}

} // namespace vindrel::testing
