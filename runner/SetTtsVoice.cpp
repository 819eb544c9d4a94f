#include "SetTtsVoice.h"

#include "runner/CommonExec1.h"
#include "runner/ServerCommands.h"

bool SetTtsVoice(CString voice) {
    CString line = server::ConfigEditCommand(server::kEditVoice, voice);
    return CommonExec1(line, server::kEditTimeoutMs);
}
