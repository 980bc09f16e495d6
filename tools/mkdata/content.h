#pragma once
#include <string>
#include <vector>

#include "mkdata/data_set.h"

// The demo data is assembled from content functions, one source file per kind of content in
// tools/mkdata/content/. Each file registers its functions itself, so adding content never
// touches a shared list:
//
//     MKDATA_CONTENT(palettes, 200) {    // a name, and an order: lower runs first
//         data.archive("MISC.DAT").add("TILE.PAL", tilePalette());
//     }
//
// Functions run in (order, name) order; each must give the same bytes on every run.
namespace vs::mkdata {

using ContentFunction = void (*)(DataSet& data);

struct ContentRegistration {
    ContentRegistration(const char* name, int order, ContentFunction function);
};

// The names of the registered contents, in the order they run.
std::vector<std::string> contentNames();
// Runs every registered content function into the data set.
void buildDemoData(DataSet& data);

}  // namespace vs::mkdata

#define MKDATA_CONTENT(name, order)                                           \
    static void mkdataContent_##name(::vs::mkdata::DataSet& data);            \
    static const ::vs::mkdata::ContentRegistration mkdataRegistration_##name( \
        #name, order, mkdataContent_##name);                                  \
    static void mkdataContent_##name(::vs::mkdata::DataSet& data)
