// The wave player's sound output on Qt Multimedia, in the module with that library.
#pragma once

#include "deferred/DeferredModule.h"

namespace SoundEffectOutput {
/// The file at `path` as a sound in a loop; it loads in the background and a
/// file that fails to load never starts.
std::unique_ptr<LoopingSound> open(const QString &path);
}
