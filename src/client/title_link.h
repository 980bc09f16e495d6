#pragma once
#include <functional>
#include <memory>
#include <string>

#include "screens/title_pane.h"
#include "screens/title_services.h"

namespace vs::client {

// The title screen's services in the running program: the connection, the message boxes and
// the C library's random numbers. `openConnectionScreen` is the composition root's.
std::unique_ptr<screens::TitleServices> makeTitleServices(
    std::function<void()> openConnectionScreen);
// The dialogs of the title's items and of the server list.
screens::TitlePane::Dialogs titleDialogs();

}  // namespace vs::client
