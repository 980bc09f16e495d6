#pragma once
// The art of dialogs and controls, for the tests that draw controls with it.
#include "mkdata/data_set.h"

namespace vs::mkdata::demo {

// Every sprite file of the controls and the interface palettes, into MISC.DAT.
void addDialogArt(DataSet& data);

}  // namespace vs::mkdata::demo
