#include "QtUi.h"
#include "platform/GuiProgram.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

namespace vindrel::platform {

namespace {

bool HasDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

} // namespace

int RunGuiProgram(int argc, char** argv, const ProgramInfo& info,
                  const std::function<int(UiServices&)>& body) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "vindrel: no display found (set DISPLAY, or run it under Xvfb)\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromStdU16String(info.name));
    QApplication::setApplicationVersion(QString::fromStdString(info.version));
    QApplication::setQuitOnLastWindowClosed(false);
    QIcon icon;
    for (const char* const* const* image = info.iconImages; image != nullptr && *image != nullptr;
         ++image)
        icon.addPixmap(QPixmap(*image));
    QApplication::setWindowIcon(icon);
    qt::QtUiServices ui(icon);
    qt::InstallWarningBoxes();
    const int code = body(ui);
    qt::RemoveWarningBoxes();
    return code;
}

} // namespace vindrel::platform
