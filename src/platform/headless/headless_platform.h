#pragma once
#include "platform/headless/fake_clock.h"
#include "platform/headless/fake_host_resolver.h"
#include "platform/headless/headless_screen.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/headless/recording_audio_device.h"
#include "platform/headless/recording_message_box.h"
#include "platform/headless/scripted_random.h"

namespace vs::platform {

// Every platform interface in its test form, registered for the lifetime of this object.
struct HeadlessPlatform {
    FakeClock clock;
    HeadlessWindow window{clock};
    RecordingMessageBox messageBox;
    MemorySettingsStore settings;
    FakeHostResolver resolver;
    HeadlessScreen screen;
    RecordingAudioDevice audio{clock};
    ScriptedRandom random;
};

}  // namespace vs::platform
