#include "net/server_messages_dialogs.h"

#include <algorithm>

namespace vs::net {

bool MsgFieldMap::accept() {
    if (places.empty() || current >= places.size()) return false;
    const size_t n = places.size();
    for (FieldPlace& p : places) std::erase_if(p.links, [n](uint16_t link) { return link >= n; });
    return true;
}

}  // namespace vs::net
