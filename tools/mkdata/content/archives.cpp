#include "mkdata/content/archives.h"

#include "mkdata/content.h"

MKDATA_CONTENT(archives, 0) {
    for (std::string_view name : vs::mkdata::kDemoArchives) data.archive(std::string(name));
}
