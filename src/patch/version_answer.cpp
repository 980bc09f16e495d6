#include "patch/version_answer.h"

#include <string>

#include "base/log.h"

namespace vs::patch {

void onVersionAnswer(const net::MsgVersionCheck& answer) {
    std::string places;
    for (const auto& l : answer.locations) {
        if (!places.empty()) places += ", ";
        for (uint8_t b : l.text) places += (b >= 32 && b < 127) ? char(b) : '?';
    }
    VS_WARN(
        "the server asks for version %u (%s; answer %u); automatic patching is not built, the "
        "game goes on as it is",
        unsigned(answer.newVersion), places.c_str(), unsigned(answer.result));
}

}  // namespace vs::patch
