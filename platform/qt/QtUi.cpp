#include "QtUi.h"

#include "platform/WarningBox.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>

namespace vindrel::platform::qt {

namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

const char* const kWindowProperty = "vindrelDialogWindow";

QtDialogWindow* WrapperOf(QWidget* widget) {
    if (widget == nullptr)
        return nullptr;
    return static_cast<QtDialogWindow*>(widget->window()->property(kWindowProperty).value<void*>());
}

// The virtual-key code of a key event: top-row digits 0x30..0x39, keypad
// digits 0x60..0x69 (Qt reports them so only with NumLock on), Escape,
// Return, letters; anything else 0xFF, which no handler takes for a digit.
int VirtualKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return ((event.modifiers() & Qt::KeypadModifier) ? KeyNumpad0 : KeyDigit0) +
               (key - Qt::Key_0);
    if (key == Qt::Key_Escape)
        return KeyEscape;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return KeyReturn;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    return 0xFF;
}

MessageKind KindOf(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto& key = static_cast<const QKeyEvent&>(event);
        const bool press = event.type() == QEvent::KeyPress;
        // Auto-repeat comes as release+press pairs here; only presses repeat on the
        // other platform, so a held key must not read as released.
        if (!press && key.isAutoRepeat())
            return MessageKind::Other;
        if (key.modifiers() & Qt::AltModifier)
            return press ? MessageKind::SystemKeyDown : MessageKind::SystemKeyUp;
        return press ? MessageKind::KeyDown : MessageKind::KeyUp;
    }
    case QEvent::MouseMove:
    case QEvent::HoverMove:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::Enter:
    case QEvent::Leave:
        return MessageKind::MouseMove;
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::Expose:
        return MessageKind::Paint;
    case QEvent::Timer:
    case QEvent::ZeroTimerEvent:
        return MessageKind::CaretTimer;
    default:
        return MessageKind::Other;
    }
}

// The pre-dispatch side of the loop: an application-level filter that offers
// the events of our modeless dialogs to the hooks before the focused control
// sees them, and re-arms idle processing by event type.
class LoopFilter : public QObject {
public:
    LoopFilter(QtUiServices& services, LoopCallbacks& callbacks)
        : services(services), callbacks(callbacks) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        Message message;
        message.kind = KindOf(*event);
        message.native = event;
        if (message.kind == MessageKind::KeyDown || message.kind == MessageKind::KeyUp ||
            message.kind == MessageKind::SystemKeyDown || message.kind == MessageKind::SystemKeyUp)
            message.virtualKey = VirtualKey(*static_cast<QKeyEvent*>(event));
        callbacks.OnAnyMessage(message.kind);
        // Modal boxes run their own loop; hooks see only the main loop's messages.
        if (services.ModalDepth() > 0 || !IsFirstDelivery(receiver, *event))
            return false;
        return callbacks.OnMessage(message);
    }

private:
    // Key events travel up from the focus widget; the hooks see each one once,
    // and only for our own modeless dialogs.
    bool IsFirstDelivery(QObject* receiver, const QEvent& event) {
        if (!receiver->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(receiver);
        QtDialogWindow* wrapper = WrapperOf(widget);
        if (wrapper == nullptr || wrapper->Widget() == nullptr || wrapper->Widget()->isModal())
            return false;
        if (event.type() == QEvent::KeyPress || event.type() == QEvent::KeyRelease) {
            QWidget* focus = QApplication::focusWidget();
            return focus != nullptr ? widget == focus : widget->isWindow();
        }
        return widget->isWindow();
    }
    QtUiServices& services;
    LoopCallbacks& callbacks;
};

// Worker reports wait here until their box is dismissed or they are released.
struct Waiter {
    std::mutex mutex;
    std::condition_variable dismissed;
    bool done = false;
    void Release() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        dismissed.notify_all();
    }
};

std::mutex waitersMutex;
std::set<std::shared_ptr<Waiter>>& Waiters() {
    static std::set<std::shared_ptr<Waiter>> waiters;
    return waiters;
}

void ReleaseAllWaiters() {
    std::lock_guard<std::mutex> lock(waitersMutex);
    for (const auto& waiter : Waiters())
        waiter->Release();
}

QMessageBox* MakeWarningBox(const std::u16string& caption, const std::u16string& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, Q(caption), Q(text), QMessageBox::Ok);
    box->setObjectName("vindrelWarningBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void ShowWarning(const std::u16string& caption, const std::u16string& text) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    if (QThread::currentThread() == app->thread()) {
        QMessageBox* box = MakeWarningBox(caption, text);
        box->setAttribute(Qt::WA_DeleteOnClose, false);
        box->exec();
        delete box;
        return;
    }
    auto waiter = std::make_shared<Waiter>();
    {
        std::lock_guard<std::mutex> lock(waitersMutex);
        Waiters().insert(waiter);
    }
    // Non-modal: the main window stays usable while the box is up.
    QMetaObject::invokeMethod(
        app,
        [caption, text, waiter] {
            QMessageBox* box = MakeWarningBox(caption, text);
            box->setWindowModality(Qt::NonModal);
            QObject::connect(box, &QDialog::finished, [waiter] { waiter->Release(); });
            box->show();
        },
        Qt::QueuedConnection);
    {
        std::unique_lock<std::mutex> lock(waiter->mutex);
        waiter->dismissed.wait(lock, [&] { return waiter->done; });
    }
    std::lock_guard<std::mutex> lock(waitersMutex);
    Waiters().erase(waiter);
}

} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialog, DialogHandler& handler,
                               QtUiServices& services, QWidget* parent, bool modal)
    : QDialog(parent), handler(handler), services(services) {
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
    if (modal)
        flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
    else
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setModal(modal);
    setWindowIcon(services.Icon());
    Build(dialog);
    // The native window now, so the frame is known when the dialog centres itself.
    winId();
}

void TemplateDialog::Build(const DialogTemplate& dialog) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    const QFontMetrics metrics(font);
    baseX = (metrics.horizontalAdvance(
                 QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                 26 +
             1) /
            2;
    baseY = metrics.height();
    const auto px = [this](int units) { return units * baseX / 4; };
    const auto py = [this](int units) { return units * baseY / 8; };

    setWindowTitle(Q(dialog.caption));
    setFixedSize(px(dialog.width), py(dialog.height));

    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& c : dialog.controls) {
        QWidget* widget = nullptr;
        const std::uint32_t type = c.style & ButtonTypeMask;
        int height = py(c.height);
        if (c.className == u"Static") {
            auto* label = new QLabel(this);
            if ((c.style & 0x1F) == StaticIcon) {
                label->setPixmap(services.Icon().pixmap(32, 32));
                height = 32;
                label->setFixedSize(32, 32);
            } else {
                label->setText(Q(c.text));
                if (c.style & StaticCenter) {
                    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
                    label->setWordWrap(true);
                }
            }
            widget = label;
        } else if (c.className == u"Button" && type == ButtonAutoCheckBox) {
            auto* box = new QCheckBox(Q(c.text), this);
            connect(box, &QCheckBox::clicked, this,
                    [this, id = c.id] { SendCommand(id, ButtonClicked); });
            widget = box;
        } else if (c.className == u"Button" && type == ButtonGroupBox) {
            widget = new QGroupBox(Q(c.text), this);
        } else if (c.className == u"Button") {
            auto* button = new QPushButton(Q(c.text), this);
            button->setAutoDefault(false);
            button->setDefault(type == ButtonDefPush);
            connect(button, &QPushButton::clicked, this,
                    [this, id = c.id] { SendCommand(id, ButtonClicked); });
            widget = button;
        } else if (c.className == u"ComboBox") {
            auto* combo = new QComboBox(this);
            // The template's height includes the opened list.
            height = combo->sizeHint().height();
            connect(combo, &QComboBox::activated, this,
                    [this, id = c.id] { SendCommand(id, ComboSelectionChanged); });
            widget = combo;
        } else if (c.className == u"msctls_trackbar32") {
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setTickPosition(QSlider::NoTicks);
            connect(slider, &QSlider::valueChanged, this,
                    [this, id = c.id] { this->handler.OnHorizontalScroll(id); });
            widget = slider;
        } else {
            continue;
        }
        widget->setGeometry(px(c.x), py(c.y), px(c.width), height);
        widget->setProperty("controlId", c.id);
        widget->setObjectName(QStringLiteral("control%1").arg(c.id));
        const bool tabStop = (c.style & StyleTabStop) != 0;
        widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
        if (tabStop) {
            if (firstTabStop == nullptr)
                firstTabStop = widget;
            if (previousTabStop != nullptr)
                setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
        }
        if (qobject_cast<QGroupBox*>(widget) != nullptr)
            widget->lower(); // a frame behind the controls it surrounds
        if (c.id != -1)
            controls.insert(c.id, widget);
    }
}

void TemplateDialog::FocusFirstTabStop() {
    if (firstTabStop != nullptr)
        firstTabStop->setFocus(Qt::TabFocusReason);
}

void TemplateDialog::SendCommand(int id, int notification) {
    handler.OnCommand(id, notification);
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
    // The close box is command 2; the handler decides what goes.
    event->ignore();
    SendCommand(2, ButtonClicked);
}

void TemplateDialog::reject() {
    SendCommand(2, ButtonClicked);
}

void TemplateDialog::accept() {
    SendCommand(1, ButtonClicked);
}

QtDialogWindow::~QtDialogWindow() {
    if (dialog == nullptr)
        return;
    // Events sent while the widget dies must not find this wrapper.
    dialog->setProperty(kWindowProperty, QVariant());
    if (!dialog->isModal())
        delete dialog.data();
}

bool QtDialogWindow::IsChecked(int id) {
    auto* box = dialog ? qobject_cast<QCheckBox*>(dialog->Control(id)) : nullptr;
    return box != nullptr && box->isChecked();
}

void QtDialogWindow::SetChecked(int id, bool checked) {
    if (auto* box = dialog ? qobject_cast<QCheckBox*>(dialog->Control(id)) : nullptr)
        box->setChecked(checked); // clicked() is for the user only
}

void QtDialogWindow::AddComboString(int id, const std::u16string& text) {
    if (auto* combo = dialog ? qobject_cast<QComboBox*>(dialog->Control(id)) : nullptr)
        combo->addItem(Q(text));
}

void QtDialogWindow::SetComboSelection(int id, int index) {
    if (auto* combo = dialog ? qobject_cast<QComboBox*>(dialog->Control(id)) : nullptr)
        combo->setCurrentIndex(index); // activated() is for the user only
}

std::u16string QtDialogWindow::ControlText(int id) {
    QWidget* control = dialog ? dialog->Control(id) : nullptr;
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText().toStdU16String();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text().toStdU16String();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text().toStdU16String();
    return {};
}

void QtDialogWindow::SetTrackbarRange(int id, int low, int high) {
    if (auto* slider = dialog ? qobject_cast<QSlider*>(dialog->Control(id)) : nullptr) {
        const QSignalBlocker quiet(slider);
        slider->setRange(low, high);
    }
}

void QtDialogWindow::SetTrackbarPosition(int id, int position) {
    if (auto* slider = dialog ? qobject_cast<QSlider*>(dialog->Control(id)) : nullptr) {
        const QSignalBlocker quiet(slider);
        slider->setValue(position);
    }
}

int QtDialogWindow::TrackbarPosition(int id) {
    auto* slider = dialog ? qobject_cast<QSlider*>(dialog->Control(id)) : nullptr;
    return slider != nullptr ? slider->value() : 0;
}

void QtDialogWindow::EnableControl(int id, bool enabled) {
    if (QWidget* control = dialog ? dialog->Control(id) : nullptr)
        if (control->isEnabled() != enabled)
            control->setEnabled(enabled);
}

bool QtDialogWindow::IsControlEnabled(int id) {
    QWidget* control = dialog ? dialog->Control(id) : nullptr;
    return control != nullptr && control->isEnabled();
}

void QtDialogWindow::Show() {
    if (!dialog)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void QtDialogWindow::Focus() {
    if (dialog)
        dialog->setFocus(Qt::OtherFocusReason);
}

void QtDialogWindow::Destroy() {
    if (!dialog)
        return;
    TemplateDialog* widget = dialog;
    widget->setProperty(kWindowProperty, QVariant());
    widget->hide();
    widget->Handler().OnDestroy();
    dialog = nullptr;
    // Possibly inside one of its own handlers: delete it once they have returned.
    widget->deleteLater();
}

void QtDialogWindow::EndDialog(int result) {
    if (dialog)
        dialog->done(result);
}

bool QtDialogWindow::HandleDialogMessage(const Message& message) {
    if (!dialog || message.kind != MessageKind::KeyDown)
        return false;
    if (message.virtualKey == KeyEscape) {
        dialog->SendCommand(2, ButtonClicked);
        return true;
    }
    if (message.virtualKey == KeyReturn) {
        // Enter presses the focused push button; elsewhere it is command 1.
        auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (button != nullptr && dialog->isAncestorOf(button))
            button->click();
        else
            dialog->SendCommand(1, ButtonClicked);
        return true;
    }
    return false;
}

Rect QtDialogWindow::WindowRect() {
    if (!dialog)
        return {};
    const QRect frame = dialog->frameGeometry();
    return Rect{frame.left(), frame.top(), frame.left() + frame.width(),
                frame.top() + frame.height()};
}

bool QtDialogWindow::IsVisible() {
    return dialog && dialog->isVisible();
}

bool QtDialogWindow::IsMinimised() {
    return dialog && dialog->isMinimized();
}

bool QtDialogWindow::NearestWorkArea(Rect& area) {
    if (!dialog)
        return false;
    QScreen* screen = dialog->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return false;
    const QRect work = screen->availableGeometry();
    area = Rect{work.left(), work.top(), work.left() + work.width(), work.top() + work.height()};
    return true;
}

void QtDialogWindow::MoveTo(int x, int y) {
    if (dialog)
        dialog->move(x, y);
}

QtUiServices::~QtUiServices() = default;

std::unique_ptr<DialogWindow> QtUiServices::CreateDialog(const DialogTemplate& dialog,
                                                         DialogHandler& handler) {
    auto* widget = new TemplateDialog(dialog, handler, *this, nullptr, false);
    auto window = std::make_unique<QtDialogWindow>(widget, nullptr);
    widget->setProperty(kWindowProperty, QVariant::fromValue<void*>(window.get()));
    if (handler.OnInitDialog(*window))
        widget->FocusFirstTabStop();
    modeless.append(widget);
    return window;
}

int QtUiServices::RunModalDialog(const DialogTemplate& dialog, DialogHandler& handler,
                                 DialogWindow* parent) {
    auto* qtParent = static_cast<QtDialogWindow*>(parent);
    QWidget* parentWidget = qtParent != nullptr ? qtParent->Widget() : nullptr;
    auto* widget = new TemplateDialog(dialog, handler, *this, parentWidget, true);
    QtDialogWindow window(widget, parent);
    widget->setProperty(kWindowProperty, QVariant::fromValue<void*>(&window));
    if (handler.OnInitDialog(window))
        widget->FocusFirstTabStop();
    ++modalDepth;
    const int result = widget->exec();
    --modalDepth;
    widget->setProperty(kWindowProperty, QVariant());
    delete widget;
    return result;
}

DialogWindow* QtUiServices::ActiveWindow() {
    if (QtDialogWindow* active = WrapperOf(QApplication::activeWindow()))
        return active;
    // Without a window manager nothing may be active: take our visible main window.
    for (const auto& dialog : modeless)
        if (dialog && dialog->isVisible())
            return WrapperOf(dialog);
    return nullptr;
}

int QtUiServices::RunLoop(LoopCallbacks& callbacks) {
    LoopFilter filter(*this, callbacks);
    qApp->installEventFilter(&filter);
    quitRequested = false;
    const auto connection =
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, qApp, [this, &callbacks] {
                             // A quit followed by nested event processing can be lost: repeat it.
                             if (quitRequested) {
                                 QCoreApplication::exit(quitCode);
                                 return;
                             }
                             if (modalDepth == 0)
                                 callbacks.OnQueueEmpty();
                         });
    const int code = QApplication::exec();
    QObject::disconnect(connection);
    qApp->removeEventFilter(&filter);
    return code;
}

void QtUiServices::PostQuit(int exitCode) {
    quitRequested = true;
    quitCode = exitCode;
    QCoreApplication::exit(exitCode);
}

void InstallWarningBoxes() {
    SetWarningBoxHandler(ShowWarning);
    SetWarningBoxReleaser(ReleaseAllWaiters);
}

void RemoveWarningBoxes() {
    SetWarningBoxHandler({});
    SetWarningBoxReleaser({});
    ReleaseAllWaiters();
}

} // namespace vindrel::platform::qt
