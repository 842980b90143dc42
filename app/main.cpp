#include "Application.h"
#include "Version.h"
#include "platform/GuiProgram.h"
#include "platform/sdl/SdlWaveOut.h"
#include "resources/ProgramIcon.h"

int main(int argc, char** argv) {
    vindrel::platform::ProgramInfo info;
    info.name = u"Vindrel";
    info.version = VINDREL_VERSION;
    info.iconImages = vindrel::programIconImages;
    return vindrel::platform::RunGuiProgram(argc, argv, info,
                                            [](vindrel::platform::UiServices& ui) {
                                                vindrel::platform::SdlWaveOutDriver sound;
                                                return vindrel::runApplication(ui, sound);
                                            });
}
