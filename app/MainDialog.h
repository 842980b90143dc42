#pragma once

#include "MessageLoop.h"
#include "audio/WaveOutPlayer.h"
#include "effects/EffectChain.h"
#include "platform/Ui.h"
#include "synth/ToneGenerator.h"
#include "synth/ToneSettings.h"

#include <array>
#include <memory>

namespace vindrel {

inline constexpr std::array<const char16_t*, 3> waveTypeNames = {u"Sine", u"Square", u"Noise+BPF"};

// The program's window and the owner of everything that makes sound: the
// tone settings, the effect chain and the player. Its keyboard filter turns
// digit keys into momentary frequency keys; its idle hook keeps "Listen" and
// "Stop" in step with the player.
class MainDialog : public platform::DialogHandler, public PreDispatchHook, public IdleHook {
public:
    MainDialog(platform::UiServices& ui, WaveOutDriver& driver);
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // Creates the window from template 129; false when it cannot be created.
    bool Create();
    platform::DialogWindow* Window() { return window.get(); }

    bool OnInitDialog(platform::DialogWindow& created) override;
    void OnDestroy() override;
    void OnCommand(int id, int notification) override;
    void OnHorizontalScroll(int controlId) override;

    // The keyboard filter.
    bool preDispatch(const platform::Message& message) override;
    // updateButtonStates.
    bool runIdle() override;

    void readFrequencyBoxes();
    void writeFrequencyBoxes();
    void updateButtonStates();
    void closeProgram(int exitCode);

    ToneSettings& Settings() { return settings; }
    EffectChain& Chain() { return chain; }
    WaveOutPlayer& Player() { return player; }
    int DelayTimeMs() const { return delayTimeMs; }

private:
    // Renders the dialog's tones; stops its stream before anything it reads goes.
    class TonePlayer : public WaveOutPlayer {
    public:
        TonePlayer(MainDialog& dialog, WaveOutDriver& driver)
            : WaveOutPlayer(driver), dialog(dialog) {}
        ~TonePlayer() { Stop(); }

    protected:
        bool OnRenderBlock(std::int64_t framePosition, SampleBuffer& block) override;

    private:
        MainDialog& dialog;
    };

    void SetWaveTypeFromCombo();
    void OpenAbout();

    platform::UiServices& ui;
    std::unique_ptr<platform::DialogWindow> window;
    ToneGenerator generator; // the voice lists and the LFO
    EffectChain chain;
    ToneSettings settings; // frequencyChecked, waveType, lfoEnabled
    TonePlayer player;     // last: destroyed (and stopped) first
    int delayTimeMs = 0;
};

} // namespace vindrel
