#pragma once
#include "net/server_messages_session.h"

namespace vs::patch {

// The server asks for a patch (version answers 2 and 3): the new version and the places of the
// patch files. Automatic patching is not built yet, so the request is only logged.
void onVersionAnswer(const net::MsgVersionCheck& answer);

}  // namespace vs::patch
