// The demo village: ground, map objects, items, effects and lights (mkdata/village_art.h).
#include "mkdata/content.h"
#include "mkdata/village_art.h"

MKDATA_CONTENT(village, 300) {
    vs::mkdata::village::addVillage(data);
}
