// "CONNADDR": the servers to try when no address is set, one "host port" per line.
#include "mkdata/content.h"
#include "mkdata/content/archives.h"
#include "mkdata/text_file.h"

MKDATA_CONTENT(connaddr, 100) {
    // The development server of `make run`.
    data.archive(vs::mkdata::kTextArchive)
        .add("CONNADDR", vs::mkdata::textFile({"127.0.0.1 2323"}));
}
