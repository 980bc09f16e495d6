#include "net/packet_trace.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <mutex>

#include "base/log.h"
#include "net/wire.h"

namespace vs::net {

namespace {

struct Named {
    uint8_t opcode;
    const char* name;
};
constexpr Named kNamed[] = {
    {kServerVersionCheck, "kServerVersionCheck"},
    {kServerNewUserCheck, "kServerNewUserCheck"},
    {kServerLoginCheck, "kServerLoginCheck"},
    {kServerTileCheck, "kServerTileCheck"},
    {kServerUserPosition, "kServerUserPosition"},
    {kServerUserAppearance, "kServerUserAppearance"},
    {kServerMap, "kServerMap"},
    {kServerDrawObjects, "kServerDrawObjects"},
    {kServerStatus, "kServerStatus"},
    {kServerNationAndTotemCheck, "kServerNationAndTotemCheck"},
    {kServerMessage, "kServerMessage"},
    {kServerMove, "kServerMove"},
    {kServerMoveObject, "kServerMoveObject"},
    {kServerSay, "kServerSay"},
    {kServerRemoveObjects, "kServerRemoveObjects"},
    {kServerAddInventory, "kServerAddInventory"},
    {kServerRemoveInventory, "kServerRemoveInventory"},
    {kServerChangeDirection, "kServerChangeDirection"},
    {kServerWield, "kServerWield"},
    {kServerDamageEffect, "kServerDamageEffect"},
    {kServerNewPasswordCheck, "kServerNewPasswordCheck"},
    {kServerMapSize, "kServerMapSize"},
    {kServerFlyingObject, "kServerFlyingObject"},
    {kServerAddSpell, "kServerAddSpell"},
    {kServerRemoveSpell, "kServerRemoveSpell"},
    {kServerSoundEffect, "kServerSoundEffect"},
    {kServerMotion, "kServerMotion"},
    {kServerEnterEditingMode, "kServerEnterEditingMode"},
    {kServerChangeShape, "kServerChangeShape"},
    {kServerChangeWeather, "kServerChangeWeather"},
    {kServerChangeHour, "kServerChangeHour"},
    {kServerSelfSaveOK, "kServerSelfSaveOK"},
    {kServerRefreshUserOK, "kServerRefreshUserOK"},
    {kServerOption, "kServerOption"},
    {kServerChangeCondition, "kServerChangeCondition"},
    {kServerMovePosition, "kServerMovePosition"},
    {kServerCloseConnection, "kServerCloseConnection"},
    {kServerEffectLayer, "kServerEffectLayer"},
    {kServerFieldMap, "kServerFieldMap"},
    {kServerScreenMenu, "kServerScreenMenu"},
    {kServerPursuitMessage, "kServerPursuitMessage"},
    {kServerBulletin, "kServerBulletin"},
    {kServerObjectBubbleInfo, "kServerObjectBubbleInfo"},
    {kServerShowPaper, "kServerShowPaper"},
    {kServerUserList, "kServerUserList"},
    {kServerRequestCRC, "kServerRequestCRC"},
    {kServerServerClose, "kServerServerClose"},
    {kServerReconnect, "kServerReconnect"},
};

// Each entry is a fixed field of 63 UTF-16 units; every name fits.
constexpr size_t kNameUnits = 63;

struct NameTable {
    std::array<std::string, kServerNameCount> names;
    NameTable() {
        for (int i = 0; i < kServerNameCount; ++i) names[size_t(i)] = "#" + std::to_string(i);
        for (const Named& n : kNamed) names[n.opcode] = std::string(n.name).substr(0, kNameUnits);
    }
};
const NameTable& table() {
    static const NameTable t;
    return t;
}

std::atomic<bool> traceOn{false};
std::mutex sinkMutex;
PacketTrace::Sink& sink() {
    static PacketTrace::Sink s;
    return s;
}

}  // namespace

const char* serverMessageName(uint8_t opcode) {
    if (opcode >= kServerNameCount) return nullptr;
    return table().names[opcode].c_str();
}

int serverOpcodeByName(std::string_view name) {
    const auto& names = table().names;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) return int(i);
    }
    return -1;
}

std::string packetTraceLine(uint32_t clockMs, uint8_t opcode) {
    if (const char* name = serverMessageName(opcode))
        return base::strprintf("%08x: packet %s\n", clockMs, name);
    // Opcodes past the table print the format's "#d" as it stands.
    return base::strprintf("%08x: packet #d\n", clockMs);
}

void PacketTrace::setEnabled(bool on) {
    traceOn = on;
}
bool PacketTrace::enabled() {
    return traceOn;
}

void PacketTrace::setSink(Sink s) {
    std::lock_guard lock(sinkMutex);
    sink() = std::move(s);
}

void PacketTrace::received(uint32_t clockMs, uint8_t opcode) {
    if (!traceOn) return;
    const std::string line = packetTraceLine(clockMs, opcode);
    std::lock_guard lock(sinkMutex);
    if (sink())
        sink()(line);
    else
        std::fputs(line.c_str(), stderr);
}

}  // namespace vs::net
