#include "AboutDialog.h"

#include "DialogTemplates.h"
#include "WindowCentring.h"

namespace vindrel {

bool AboutDialog::OnInitDialog(platform::DialogWindow& created) {
    window = &created;
    placeCentred(created, created.Parent());
    return true;
}

void AboutDialog::OnCommand(int id, int) {
    if ((id == IdOk || id == IdCancel) && window != nullptr)
        window->EndDialog(id);
}

} // namespace vindrel
