#pragma once
#include <array>
#include <string_view>

namespace vs::mkdata {

// The demo's sound effects in "SND.DAT", by the numbers the client and the dev server use.
struct DemoSound {
    int number;
    std::string_view use;
};

inline constexpr int kSoundHit = 0;
inline constexpr int kSoundStepGrass = 1;
inline constexpr int kSoundStepStone = 2;
inline constexpr int kSoundSwing = 3;
inline constexpr int kSoundDoor = 4;
inline constexpr int kSoundCoin = 5;
inline constexpr int kSoundClick = 400;
inline constexpr int kSoundEnterGame = 401;
inline constexpr int kSoundTitleLeave = 402;
inline constexpr int kSoundButton = 403;
inline constexpr int kSoundPage = 408;
inline constexpr int kSoundShapeUp = 410;
inline constexpr int kSoundShapeDown = 411;
inline constexpr int kSoundTitleDialog = 412;
inline constexpr int kSoundMissileHit = 701;
inline constexpr int kSoundMissile = 709;

inline constexpr std::array<DemoSound, 16> kDemoSounds = {{
    {kSoundHit, "a hit (damage)"},
    {kSoundStepGrass, "a step on grass"},
    {kSoundStepStone, "a step on stone"},
    {kSoundSwing, "a weapon's swing"},
    {kSoundDoor, "a door"},
    {kSoundCoin, "a coin"},
    {kSoundClick, "an interface click"},
    {kSoundEnterGame, "entering the game"},
    {kSoundTitleLeave, "leaving the title"},
    {kSoundButton, "a button"},
    {kSoundPage, "a dialog or side-panel page opens"},
    {kSoundShapeUp, "a change of shape"},
    {kSoundShapeDown, "a change of shape back"},
    {kSoundTitleDialog, "a title dialog opens"},
    {kSoundMissileHit, "a missile hits"},
    {kSoundMissile, "a missile flies"},
}};

// The demo's music archive: tracks "%08d.MP3" and playlists "%08d.LST" / "%08d.LSR".
inline constexpr const char* kMusicArchive = "MUS000.DAT";
inline constexpr int kTrackField = 1;
inline constexpr int kTrackTown = 2;
inline constexpr int kTrackCave = 3;
inline constexpr int kTrackTitle = 999;
inline constexpr int kPlaylistInOrder = 10;  // tracks 1, 2, 3
inline constexpr int kPlaylistRandom = 11;   // tracks 1, 2, 3 in random order

}  // namespace vs::mkdata
