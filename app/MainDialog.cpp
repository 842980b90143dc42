#include "MainDialog.h"

#include "AboutDialog.h"
#include "DialogTemplates.h"
#include "WindowCentring.h"
#include "effects/DelayControls.h"

namespace vindrel {

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

MainDialog::MainDialog(platform::UiServices& ui, WaveOutDriver& driver)
    : ui(ui), player(*this, driver) {}

MainDialog::~MainDialog() {
    // The stream ends before the state it renders from is released.
    player.Stop();
}

bool MainDialog::TonePlayer::OnRenderBlock(std::int64_t framePosition, SampleBuffer& block) {
    return dialog.generator.Render(framePosition, block, dialog.settings, dialog.chain,
                                   SampleRate());
}

bool MainDialog::Create() {
    window = ui.CreateDialog(MainDialogTemplate(), *this);
    return window != nullptr;
}

bool MainDialog::OnInitDialog(platform::DialogWindow& created) {
    placeCentred(created, nullptr);
    if (ThreadMessageLoop* loop = LoopRegistry::Instance().loopForCurrentThread()) {
        loop->addPreDispatchHook(*this);
        loop->addIdleHook(*this);
    }
    for (const char16_t* name : waveTypeNames)
        created.AddComboString(IdWaveType, name);
    created.SetComboSelection(IdWaveType, 0);
    created.SetTrackbarRange(IdDelayTime, 1, 1000);
    created.SetTrackbarPosition(IdDelayTime, 250);
    // The chain is complete before the stream that reads it starts.
    chain.BuildFromSettings(defaultEffectSettings);
    player.Start();
    return true;
}

void MainDialog::OnDestroy() {
    if (ThreadMessageLoop* loop = LoopRegistry::Instance().loopForCurrentThread()) {
        loop->removePreDispatchHook(*this);
        loop->removeIdleHook(*this);
    }
}

void MainDialog::OnCommand(int id, int notification) {
    if (id == IdOk || id == IdCancel) {
        closeProgram(id);
    } else if (id == IdListen && notification == platform::ButtonClicked) {
        player.Start();
        window->Focus();
    } else if (id == IdStop && notification == platform::ButtonClicked) {
        player.Stop();
    } else if (id == IdWaveType && notification == platform::ComboSelectionChanged) {
        SetWaveTypeFromCombo();
    } else if (id == IdLfo && notification == platform::ButtonClicked) {
        settings.lfoEnabled.store(window->IsChecked(IdLfo), relaxed);
    } else if (id == IdDelay && notification == platform::ButtonClicked) {
        SetDelayEnabled(chain, window->IsChecked(IdDelay));
    } else if (id >= IdFirstFrequency && id < IdFirstFrequency + 9 &&
               notification == platform::ButtonClicked) {
        readFrequencyBoxes();
    } else if (id == IdAbout) {
        OpenAbout();
    }
}

void MainDialog::OnHorizontalScroll(int controlId) {
    if (controlId != IdDelayTime)
        return;
    delayTimeMs = window->TrackbarPosition(IdDelayTime);
    SetDelayTime(chain, delayTimeMs);
}

void MainDialog::SetWaveTypeFromCombo() {
    const std::u16string text = window->ControlText(IdWaveType);
    int wave = 0;
    for (std::size_t i = 0; i < waveTypeNames.size(); ++i) {
        if (text == waveTypeNames[i]) {
            wave = static_cast<int>(i);
            break;
        }
    }
    settings.waveType.store(wave, relaxed);
}

void MainDialog::OpenAbout() {
    AboutDialog about;
    ui.RunModalDialog(AboutDialogTemplate(), about, ui.ActiveWindow());
}

void MainDialog::readFrequencyBoxes() {
    for (int i = 0; i < 9; ++i)
        settings.frequencyChecked[static_cast<std::size_t>(i)].store(
            window->IsChecked(IdFirstFrequency + i), relaxed);
}

void MainDialog::writeFrequencyBoxes() {
    for (int i = 0; i < 9; ++i)
        window->SetChecked(IdFirstFrequency + i,
                           settings.frequencyChecked[static_cast<std::size_t>(i)].load(relaxed));
}

bool MainDialog::preDispatch(const platform::Message& message) {
    using platform::MessageKind;
    if (window == nullptr)
        return false;
    if (message.kind != MessageKind::KeyDown && message.kind != MessageKind::KeyUp)
        return window->HandleDialogMessage(message);
    const bool down = message.kind == MessageKind::KeyDown;
    const int key = message.virtualKey;
    if (key == platform::KeyDigit0 || key == platform::KeyNumpad0) {
        for (auto& checked : settings.frequencyChecked)
            checked.store(false, relaxed);
    } else if (key >= platform::KeyDigit0 + 1 && key <= platform::KeyDigit0 + 9) {
        settings.frequencyChecked[static_cast<std::size_t>(key - platform::KeyDigit0 - 1)].store(
            down, relaxed);
    } else if (key >= platform::KeyNumpad0 + 1 && key <= platform::KeyNumpad0 + 9) {
        settings.frequencyChecked[static_cast<std::size_t>(key - platform::KeyNumpad0 - 1)].store(
            down, relaxed);
    } else {
        return window->HandleDialogMessage(message);
    }
    // A digit is a momentary key: consumed, so no control ever sees it.
    writeFrequencyBoxes();
    return true;
}

bool MainDialog::runIdle() {
    updateButtonStates();
    return false;
}

void MainDialog::updateButtonStates() {
    if (window == nullptr)
        return;
    const bool open = player.IsDeviceOpen();
    window->EnableControl(IdListen, !open);
    window->EnableControl(IdStop, open);
}

void MainDialog::closeProgram(int exitCode) {
    window->Destroy();
    ui.PostQuit(exitCode);
}

} // namespace vindrel
