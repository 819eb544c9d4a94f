// The road after a change of key or voice, shared by both dialogs.
#pragma once

// Shown in the main window's status control from a change of key or voice until a server
// check finds the server up again.
inline constexpr const char16_t* kRestartingText = u"AI 语音服务器正在重启...";

// The restarting text in the main window, the compose restart, and timer 2 armed on the main
// window with 3000 ms. Results are not examined; the polling alone judges whether the server
// came back.
void RestartServerAndPoll();
