#include "app/settings.h"

namespace vs::app {

void Settings::start() {}
void Settings::save() {}

}  // namespace vs::app
