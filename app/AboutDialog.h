#pragma once

#include "platform/Ui.h"

namespace vindrel {

// The modal About box on template 100: centred on its parent; OK, Enter,
// Escape and the close box end it.
class AboutDialog : public platform::DialogHandler {
public:
    bool OnInitDialog(platform::DialogWindow& created) override;
    void OnCommand(int id, int notification) override;

private:
    platform::DialogWindow* window = nullptr;
};

} // namespace vindrel
