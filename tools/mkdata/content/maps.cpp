// The demo's scene picture: the village square as the scene overlay shows it.
#include "mkdata/content.h"
#include "mkdata/demo_world.h"

MKDATA_CONTENT(maps, 310) {
    using namespace vs::mkdata;
    data.archive("MISC.DAT").add("C0001.MAP", scenePicture(villageMap(), 40, 26));
}
