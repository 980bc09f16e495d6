// "PASS_ENG.STR": the warning shown when an outgoing text holds the player's password. Lines are
// joined until one of at most one character.
#include "mkdata/content.h"
#include "mkdata/content/archives.h"
#include "mkdata/text_file.h"

MKDATA_CONTENT(password_warning, 100) {
    data.archive(vs::mkdata::kTextArchive)
        .add("PASS_ENG.STR",
             vs::mkdata::textFile({"Your message holds your password, so it was not sent.",
                                   "Never tell anyone your password.", ""}));
}
