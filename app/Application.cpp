#include "Application.h"

#include "MainDialog.h"
#include "MessageLoop.h"

#include <memory>

namespace vindrel {

int runApplication(platform::UiServices& ui, WaveOutDriver& driver) {
    ThreadMessageLoop loop(ui);
    LoopRegistry::Instance().registerLoop(loop);
    auto dialog = std::make_unique<MainDialog>(ui, driver);
    if (!dialog->Create()) {
        dialog.reset();
        LoopRegistry::Instance().unregisterLoop();
        return 0;
    }
    dialog->Window()->Show();
    const int exitCode = loop.run();
    LoopRegistry::Instance().unregisterLoop();
    // Stops playback before the state it renders from goes.
    dialog.reset();
    return exitCode;
}

} // namespace vindrel
