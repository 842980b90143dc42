#pragma once

// The Qt 6 back end of the windowing seam. Exposed for the QtTest suites.

#include "platform/Ui.h"

#include <QDialog>
#include <QIcon>
#include <QMap>
#include <QPointer>

class QWidget;

namespace vindrel::platform::qt {

class QtUiServices;

// A dialog built from a template table: absolute geometry in dialog units
// scaled by the font's metrics, controls addressed by their ids.
class TemplateDialog : public QDialog {
public:
    TemplateDialog(const DialogTemplate& dialog, DialogHandler& handler, QtUiServices& services,
                   QWidget* parent, bool modal);
    QWidget* Control(int id) const { return controls.value(id); }
    DialogHandler& Handler() { return handler; }
    void SendCommand(int id, int notification);
    void FocusFirstTabStop();
    // Dialog units to pixels, from this dialog's font.
    int BaseUnitX() const { return baseX; }
    int BaseUnitY() const { return baseY; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void accept() override;

private:
    void Build(const DialogTemplate& dialog);

    DialogHandler& handler;
    QtUiServices& services;
    QMap<int, QWidget*> controls;
    QWidget* firstTabStop = nullptr;
    int baseX = 1, baseY = 1;
};

class QtDialogWindow : public DialogWindow {
public:
    QtDialogWindow(TemplateDialog* dialog, DialogWindow* parent) : dialog(dialog), parent(parent) {}
    ~QtDialogWindow() override;

    bool IsChecked(int id) override;
    void SetChecked(int id, bool checked) override;
    void AddComboString(int id, const std::u16string& text) override;
    void SetComboSelection(int id, int index) override;
    std::u16string ControlText(int id) override;
    void SetTrackbarRange(int id, int low, int high) override;
    void SetTrackbarPosition(int id, int position) override;
    int TrackbarPosition(int id) override;
    void EnableControl(int id, bool enabled) override;
    bool IsControlEnabled(int id) override;
    void Show() override;
    void Focus() override;
    void Destroy() override;
    void EndDialog(int result) override;
    bool HandleDialogMessage(const Message& message) override;
    Rect WindowRect() override;
    bool IsVisible() override;
    bool IsMinimised() override;
    DialogWindow* Parent() override { return parent; }
    bool NearestWorkArea(Rect& area) override;
    void MoveTo(int x, int y) override;

    TemplateDialog* Widget() const { return dialog; }

private:
    QPointer<TemplateDialog> dialog;
    DialogWindow* parent;
};

class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QIcon icon) : icon(std::move(icon)) {}
    ~QtUiServices() override;

    std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
                                               DialogHandler& handler) override;
    int RunModalDialog(const DialogTemplate& dialog, DialogHandler& handler,
                       DialogWindow* parent) override;
    DialogWindow* ActiveWindow() override;
    int RunLoop(LoopCallbacks& callbacks) override;
    void PostQuit(int exitCode) override;

    const QIcon& Icon() const { return icon; }
    int ModalDepth() const { return modalDepth; }

private:
    QIcon icon;
    int modalDepth = 0;
    bool quitRequested = false;
    int quitCode = 0;
    QList<QPointer<TemplateDialog>> modeless;
};

// Shows worker reports as non-modal warning boxes on the UI thread.
void InstallWarningBoxes();
void RemoveWarningBoxes();

} // namespace vindrel::platform::qt
