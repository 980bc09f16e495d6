#include "net/server_messages_session.h"

#include <zlib.h>

#include "base/byte_io.h"
#include "base/text.h"

namespace vs::net {

namespace {

// "name;description:more" or "name:more".
ServerEntry splitServerText(ServerEntry e, const std::u16string& text) {
    const size_t semicolon = text.find(u';');
    size_t nameEnd = semicolon;
    size_t descriptionEnd = std::u16string::npos;
    if (semicolon == std::u16string::npos) {
        nameEnd = text.find(u':');
    } else {
        descriptionEnd = text.find(u':', semicolon + 1);
        e.description = text.substr(semicolon + 1, descriptionEnd == std::u16string::npos
                                                       ? std::u16string::npos
                                                       : descriptionEnd - semicolon - 1);
    }
    e.name = text.substr(0, nameEnd);
    const size_t colon = semicolon == std::u16string::npos ? nameEnd : descriptionEnd;
    if (colon != std::u16string::npos) e.more = text.substr(colon + 1);
    return e;
}

std::u16string joinServerText(const ServerEntry& e) {
    std::u16string text = e.name;
    // A name with a colon in it needs the semicolon form, or the colon would end it.
    if (!e.description.empty() || e.name.find(u':') != std::u16string::npos)
        text += u";" + e.description;
    if (!e.more.empty()) text += u":" + e.more;
    return text;
}

}  // namespace

std::vector<ServerEntry> parseServerEntries(std::span<const uint8_t> inflated) {
    std::vector<ServerEntry> servers;
    WireReader r(inflated);
    uint8_t count = 0;
    r.u8(count);
    for (size_t i = 0; i < count && r.ok(); ++i) {
        ServerEntry e;
        std::u16string text;
        r.u8(e.id);
        r.u32(e.address);
        r.u16(e.port);
        r.textZ(text);
        if (!r.ok()) break;  // an incomplete entry ends the list
        servers.push_back(splitServerText(std::move(e), text));
    }
    return servers;
}

std::optional<std::vector<ServerEntry>> inflateServerList(std::span<const uint8_t> compressed) {
    std::vector<uint8_t> out(kServerListMaxBytes);
    uLongf outSize = uLongf(out.size());
    if (uncompress(out.data(), &outSize, compressed.data(), uLong(compressed.size())) != Z_OK)
        return std::nullopt;
    return parseServerEntries(std::span(out.data(), size_t(outSize)));
}

Bytes deflateServerList(const std::vector<ServerEntry>& servers) {
    WireWriter w;
    size_t count = 0;
    std::vector<uint8_t> entries;
    for (const ServerEntry& e : servers) {
        WireWriter one;
        one.u8(e.id);
        one.u32(e.address);
        one.u16(e.port);
        one.textZ(joinServerText(e));
        std::vector<uint8_t> bytes = one.take();
        // What does not fit the receiver's 2048 bytes is left out.
        if (count == 255 || 1 + entries.size() + bytes.size() > kServerListMaxBytes) break;
        entries.insert(entries.end(), bytes.begin(), bytes.end());
        ++count;
    }
    w.u8(uint8_t(count));
    std::vector<uint8_t> plain = w.take();
    plain.insert(plain.end(), entries.begin(), entries.end());
    uLongf size = compressBound(uLong(plain.size()));
    Bytes packed(size);
    if (compress(packed.data(), &size, plain.data(), uLong(plain.size())) != Z_OK) return {};
    packed.resize(size);
    return packed;
}

void WireReader::serverList(std::vector<ServerEntry>& servers) {
    Bytes packed;
    bytes16(packed);
    if (!ok()) return;
    auto list = inflateServerList(packed);
    if (!list) return reject();
    servers = std::move(*list);
}

void WireWriter::serverList(const std::vector<ServerEntry>& servers) {
    bytes16(deflateServerList(servers));
}

}  // namespace vs::net
