// Writes the TTS voice into the server's configuration.
#pragma once

#include "framework/CString.h"

// Runs the configuration edit of .TTS.EdgeTTS.voice with a 3000 ms limit; the runner's result.
bool SetTtsVoice(CString voice);
