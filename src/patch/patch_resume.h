#pragma once

namespace vs::patch {

// At start-up: when an interrupted patch is recorded, hands over to the patcher and returns true
// (the program then ends). Automatic patching is not built yet, so there is never one to resume.
inline bool resumeInterruptedPatch() { return false; }

}  // namespace vs::patch
