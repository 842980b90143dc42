#pragma once

// What the portable code needs from the windowing toolkit: dialog windows
// built from template tables and addressed by control ids, the message loop
// primitives, monitor work areas, window rectangles and modal dialogs. The Qt
// implementation is in platform/qt/.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vindrel::platform {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct ControlTemplate {
    int id;
    std::u16string className; // "Button", "Static", "ComboBox", "msctls_trackbar32"
    std::u16string text;
    int x, y, width, height; // dialog units
    std::uint32_t style;
};

struct DialogTemplate {
    int id;
    std::u16string caption;
    int x, y, width, height;
    std::uint32_t style;
    std::vector<ControlTemplate> controls; // in tab order
};

// Style bits the back ends read.
inline constexpr std::uint32_t StyleTabStop = 0x00010000;
inline constexpr std::uint32_t ButtonTypeMask = 0x0000000F;
inline constexpr std::uint32_t ButtonDefPush = 0x1;
inline constexpr std::uint32_t ButtonAutoCheckBox = 0x3;
inline constexpr std::uint32_t ButtonGroupBox = 0x7;
inline constexpr std::uint32_t StaticCenter = 0x1;
inline constexpr std::uint32_t StaticIcon = 0x3;

// Notifications and message kinds with the values the handlers know.
inline constexpr int ButtonClicked = 0;
inline constexpr int ComboSelectionChanged = 1;

enum class MessageKind {
    KeyDown,
    KeyUp,
    SystemKeyDown, // with Alt held
    SystemKeyUp,
    MouseMove,
    NonClientMouseMove,
    Paint,
    CaretTimer,
    Other,
};

// Virtual-key codes as the keyboard filter sees them.
inline constexpr int KeyDigit0 = 0x30;  // top row "0" .. "9": 0x30 .. 0x39
inline constexpr int KeyNumpad0 = 0x60; // keypad 0 .. 9 with NumLock on: 0x60 .. 0x69
inline constexpr int KeyReturn = 0x0D;
inline constexpr int KeyEscape = 0x1B;

struct Message {
    MessageKind kind = MessageKind::Other;
    int virtualKey = 0;
    void* native = nullptr; // the toolkit's own event, for its dialog keyboard handling
};

class DialogWindow;

// Receives a dialog's events, as command ids and notifications.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    // The window exists, its controls too; true lets the toolkit focus the first tab stop.
    virtual bool OnInitDialog(DialogWindow& window) = 0;
    // The window is going away (before DialogWindow::Destroy returns).
    virtual void OnDestroy() {}
    // Commands: push buttons and check boxes (ButtonClicked), the combo box
    // (ComboSelectionChanged), 1 for Enter and 2 for Escape or the close box.
    virtual void OnCommand(int id, int notification) = 0;
    // A user move of a trackbar.
    virtual void OnHorizontalScroll(int controlId) { (void)controlId; }
};

class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    virtual bool IsChecked(int id) = 0;
    virtual void SetChecked(int id, bool checked) = 0; // sends no notification
    virtual void AddComboString(int id, const std::u16string& text) = 0;
    virtual void SetComboSelection(int id, int index) = 0; // sends no notification
    virtual std::u16string ControlText(int id) = 0;
    virtual void SetTrackbarRange(int id, int low, int high) = 0;
    virtual void SetTrackbarPosition(int id, int position) = 0; // sends no notification
    virtual int TrackbarPosition(int id) = 0;
    virtual void EnableControl(int id, bool enabled) = 0;
    virtual bool IsControlEnabled(int id) = 0;

    virtual void Show() = 0;
    virtual void Focus() = 0;
    // Delivers OnDestroy before it returns.
    virtual void Destroy() = 0;
    // Modal dialogs only: ends the modal loop with this result.
    virtual void EndDialog(int result) = 0;
    // The toolkit's dialog keyboard handling (Escape, Enter, Tab, mnemonics);
    // true when it handled the message.
    virtual bool HandleDialogMessage(const Message& message) = 0;

    // Geometry for centring, in screen coordinates (the frame included).
    virtual Rect WindowRect() = 0;
    virtual bool IsVisible() = 0;
    virtual bool IsMinimised() = 0;
    virtual DialogWindow* Parent() = 0; // parent or owner
    // The work area of the monitor nearest to the window; false when unknown.
    virtual bool NearestWorkArea(Rect& area) = 0;
    virtual void MoveTo(int x, int y) = 0; // no resize, no z-order change, no activation
};

// The loop side the toolkit drives: every fetched message is offered first,
// and the toolkit reports when its queue has run empty.
class LoopCallbacks {
public:
    virtual ~LoopCallbacks() = default;
    // Every message the loop fetches, for the idle re-arming rule.
    virtual void OnAnyMessage(MessageKind kind) = 0;
    // The messages for our windows; true when a hook consumed one (the toolkit then drops it).
    virtual bool OnMessage(const Message& message) = 0;
    virtual void OnQueueEmpty() = 0;
};

class UiServices {
public:
    virtual ~UiServices() = default;
    // A modeless dialog; OnInitDialog runs before this returns. Null on failure.
    virtual std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
                                                       DialogHandler& handler) = 0;
    // A modal dialog with `parent` disabled meanwhile; returns EndDialog's result, or -1.
    virtual int RunModalDialog(const DialogTemplate& dialog, DialogHandler& handler,
                               DialogWindow* parent) = 0;
    virtual DialogWindow* ActiveWindow() = 0;
    // Pumps messages until PostQuit; returns its code.
    virtual int RunLoop(LoopCallbacks& callbacks) = 0;
    virtual void PostQuit(int exitCode) = 0;
};

} // namespace vindrel::platform
