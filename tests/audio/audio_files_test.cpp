// The readers under the sound manager: the WAV chunk walker, playlists, and the stream files
// the sound device reads through (archive entries and loose files, with fseek's rules).
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_files.h"
#include "audio/playlist.h"
#include "audio/wav_file.h"
#include "base/byte_io.h"
#include "mkdata/archive_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "support/temp_dir.h"

namespace vs::audio {
namespace {

struct Chunk {
    std::string id;
    std::vector<uint8_t> body;
    std::optional<uint32_t> statedSize;  // a size field that lies
};

std::vector<uint8_t> fmt(uint16_t format, uint16_t channels, uint32_t rate, uint16_t align,
                         uint16_t bits) {
    return base::ByteWriter()
        .u16le(format)
        .u16le(channels)
        .u32le(rate)
        .u32le(rate * align)
        .u16le(align)
        .u16le(bits)
        .take();
}

std::vector<uint8_t> riff(const std::vector<Chunk>& chunks, std::optional<uint32_t> riffSize = {}) {
    base::ByteWriter body;
    body.bytes("WAVE");
    for (const Chunk& c : chunks) {
        body.bytes(c.id).u32le(c.statedSize.value_or(uint32_t(c.body.size()))).bytes(c.body);
        if (c.body.size() % 2) body.u8(0);
    }
    base::ByteWriter w;
    w.bytes("RIFF").u32le(riffSize.value_or(uint32_t(body.size()))).bytes(body.data());
    return w.take();
}

const std::vector<uint8_t> kPcm16 = fmt(1, 1, 22050, 2, 16);
const std::vector<uint8_t> kSamples(100, 0x11);

TEST(WavFile, WalksTheChunksWithinTheBytes) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool playable;
        size_t samples;  // bytes of sample data found
    };
    std::vector<uint8_t> truncated = riff({{"fmt ", kPcm16}, {"data", kSamples, 400}});
    std::vector<uint8_t> extensible = fmt(0xFFFE, 2, 44100, 4, 16);
    base::ByteWriter ext(extensible);
    ext.u16le(22).u16le(16).u32le(3).u16le(1).fill(0, 14);
    const Case cases[] = {
        {"plain PCM", riff({{"fmt ", kPcm16}, {"data", kSamples}}), true, 100},
        {"data before fmt, an odd chunk padded",
         riff({{"LIST", {1, 2, 3}}, {"data", kSamples}, {"fmt ", kPcm16}}), true, 100},
        {"a RIFF size beyond the bytes", riff({{"fmt ", kPcm16}, {"data", kSamples}}, 1u << 30),
         true, 100},
        {"a data chunk cut short keeps what is there", truncated, true, 100},
        {"odd data cut to whole blocks",
         riff({{"fmt ", kPcm16}, {"data", std::vector<uint8_t>(7, 1)}}), true, 6},
        {"8-bit stereo", riff({{"fmt ", fmt(1, 2, 11025, 2, 8)}, {"data", kSamples}}), true, 100},
        {"IMA ADPCM",
         riff({{"fmt ", fmt(0x11, 1, 22050, 512, 4)}, {"data", std::vector<uint8_t>(1024, 0)}}),
         true, 1024},
        {"extensible PCM", riff({{"fmt ", ext.take()}, {"data", kSamples}}), true, 100},
        {"no fmt", riff({{"data", kSamples}}), false, 0},
        {"no data", riff({{"fmt ", kPcm16}}), false, 0},
        {"fmt too short",
         riff({{"fmt ", std::vector<uint8_t>(kPcm16.begin(), kPcm16.begin() + 12)},
               {"data", kSamples}}),
         false, 0},
        {"fmt that overruns", riff({{"data", kSamples}, {"fmt ", kPcm16, 1000}}), false, 0},
        {"12 bits", riff({{"fmt ", fmt(1, 1, 22050, 2, 12)}, {"data", kSamples}}), false, 0},
        {"three channels", riff({{"fmt ", fmt(1, 3, 22050, 6, 16)}, {"data", kSamples}}), false, 0},
        {"a block size that does not fit",
         riff({{"fmt ", fmt(1, 1, 22050, 4, 16)}, {"data", kSamples}}), false, 0},
        {"rate 0", riff({{"fmt ", fmt(1, 1, 0, 2, 16)}, {"data", kSamples}}), false, 0},
        {"empty data", riff({{"fmt ", kPcm16}, {"data", {}}}), false, 0},
        {"not RIFF", std::vector<uint8_t>{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
         false, 0},
        {"only a header", std::vector<uint8_t>{'R', 'I', 'F', 'F'}, false, 0},
        {"empty", {}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto w = parseWav(c.bytes);
        ASSERT_EQ(w.has_value(), c.playable);
        if (!w) continue;
        EXPECT_EQ(w->samples.size(), c.samples);
        EXPECT_GE(w->samples.data(), c.bytes.data());
        EXPECT_LE(w->samples.data() + w->samples.size(), c.bytes.data() + c.bytes.size());
        EXPECT_EQ(w->file.data(), c.bytes.data());
        EXPECT_LE(w->file.size(), c.bytes.size());
    }
    // Trailing bytes after the RIFF form are not part of the file.
    std::vector<uint8_t> padded = riff({{"fmt ", kPcm16}, {"data", kSamples}});
    const size_t riffBytes = padded.size();
    padded.resize(riffBytes + 50, 0xEE);
    EXPECT_EQ(parseWav(padded)->file.size(), riffBytes);
}

std::vector<int> playlistOf(const std::string& text) {
    platform::MemoryFileMapper files;
    files.add("M.DAT", mkdata::ArchiveWriter().add("L", text).build());
    resources::ArchiveManager archives(files);
    archives.Mount("M.DAT");
    resources::DATFile file("L");
    return readPlaylist(file);
}

TEST(Playlist, ReadsAtMostTheCountOfTheLinesThatAreThere) {
    struct Case {
        const char* text;
        std::vector<int> tracks;
    };
    const Case cases[] = {
        {"3\r\n1\r\n2\r\n3\r\n", {1, 2, 3}},
        {"2\n7\n8\n9\n", {7, 8}},  // more lines than the count
        {"5\r\n4\r\n6", {4, 6}},   // fewer lines than the count
        {"0\r\n1\r\n2\r\n", {}},   // a count of 0
        {"abc\r\n1\r\n", {}},      // a count that is no number
        {"", {}},
        {"3\r\n1\r\nx\r\n 12 \r\n", {1, 12}},  // a line that is no number is skipped
        {"99999999999\r\n5\r\n", {5}},         // a huge count is cut to the lines
        {"2\r\n123456789\r\n-4\r\n", {}},      // beyond eight digits, or negative
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(playlistOf(c.text), c.tracks);
    }
    std::string many = "20000\r\n";
    for (int i = 0; i < 20000; ++i) many += "1\r\n";
    EXPECT_EQ(playlistOf(many).size(), size_t(kMaxPlaylistEntries));
    EXPECT_EQ(trackFileName(999), "00000999.MP3");
    EXPECT_EQ(playlistFileName(3), "00000003.LST");
    EXPECT_EQ(randomPlaylistFileName(3), "00000003.LSR");
}

// Seeks as fseek does them, on an archive entry and on a loose file alike.
TEST(AudioFiles, ArchiveEntriesFirstThenLooseFilesBothSeekingAsFseek) {
    const std::string content = "0123456789";
    platform::MemoryFileMapper mapper;
    mapper.add("M.DAT", mkdata::ArchiveWriter()
                            .add("before", "x")
                            .add("TUNE.MP3", content)
                            .add("after", "y")
                            .build());
    resources::ArchiveManager archives(mapper);
    ASSERT_TRUE(archives.Mount("M.DAT"));
    const test::TempDir dir("audio_files");
    const std::string loose = (dir / "loose.mp3").string();
    std::ofstream(loose, std::ios::binary) << content;

    for (const std::string& name : {std::string("tune.mp3"), loose}) {
        SCOPED_TRACE(name);
        auto file = openAudioFile(name);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->size(), 10);
        char buf[16] = {};
        EXPECT_EQ(file->read(buf, 4), 4u);
        EXPECT_EQ(std::string(buf, 4), "0123");
        EXPECT_EQ(file->seek(-2, 1), 2);
        EXPECT_EQ(file->seek(0, 2), 10);    // the end itself
        EXPECT_EQ(file->read(buf, 4), 0u);  // nothing there
        EXPECT_EQ(file->seek(-3, 2), 7);
        EXPECT_EQ(file->read(buf, 16), 3u);  // cut at the end, never into the next entry
        EXPECT_EQ(std::string(buf, 3), "789");
        EXPECT_EQ(file->seek(25, 0), 25);  // past the end is allowed
        EXPECT_EQ(file->read(buf, 1), 0u);
        EXPECT_EQ(file->seek(-1, 0), -1);  // before the start is not
        EXPECT_EQ(file->seek(0, 3), -1);
        EXPECT_EQ(file->seek(0, 1), 25);  // and the position stayed
    }
    EXPECT_EQ(openAudioFile((dir / "missing.mp3").string()), nullptr);
    EXPECT_EQ(openAudioFile(""), nullptr);
}

}  // namespace
}  // namespace vs::audio
