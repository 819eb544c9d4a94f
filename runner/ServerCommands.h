// Every command line the panel runs, in one place: the distribution's identity, the WSL command
// form, the configuration edits, the restart, keep-alive and shutdown, the two queries and the
// netsh commands. Callers fill the forms where they issue them, with CString::Format.
#pragma once

#include <cstdint>

#include "framework/CString.h"

namespace server {

// Distribution identity.
inline constexpr const char16_t* kDistroName = u"ROZivuvarud";
inline constexpr const char16_t* kDistroUser = u"root";

// Filled with the distribution name, the user and a bash script.
inline constexpr const char16_t* kWslCommandForm = u"wsl -d %s -u %s -e bash -c \"%s\"";

// Configuration edits: each key has its own literal; the value replaces %s unescaped. The
// backslashes keep the inner quotes from closing the WSL form's script.
inline constexpr const char16_t* kEditWebSocket =
    u"yq -i '.server.websocket = \\\"%s\\\"' /root/tarvino-server/data/.config.yaml";
inline constexpr const char16_t* kEditApiKey =
    u"yq -i '.LLM.ChatGLMLLM.api_key = \\\"%s\\\"' /root/tarvino-server/data/.config.yaml";
inline constexpr const char16_t* kEditVoice =
    u"yq -i '.TTS.EdgeTTS.voice = \\\"%s\\\"' /root/tarvino-server/data/.config.yaml";

// Filled with the distribution name and the user.
inline constexpr const char16_t* kComposeRestart =
    u"wsl -d %s -u %s -e bash -c \"docker compose -f /root/tarvino-server/docker-compose.yml "
    u"restart\"";
inline constexpr const char16_t* kKeepAlive =
    u"start /b wsl -d %s -u %s -e bash -c \"tail -f /dev/null\"";
// Filled with the distribution name.
inline constexpr const char16_t* kShutdown = u"wsl -t %s";

// The two queries, run with their output captured.
inline constexpr const char16_t* kDistroList = u"wsl -l -v";
inline constexpr const char16_t* kRouteProbe = u"wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8";

// Firewall rules and port forwards; the forward adds end in the forward address.
inline constexpr const char16_t* kFirewallDelete8000 =
    u"netsh advfirewall firewall delete rule name=\"开放TCP - 8000\"";
inline constexpr const char16_t* kFirewallAdd8000 =
    u"netsh advfirewall firewall add rule name=\"开放TCP - 8000\" dir=in action=allow "
    u"protocol=TCP localport=8000";
inline constexpr const char16_t* kFirewallDelete8003 =
    u"netsh advfirewall firewall delete rule name=\"开放TCP - 8003\"";
inline constexpr const char16_t* kFirewallAdd8003 =
    u"netsh advfirewall firewall add rule name=\"开放TCP - 8003\" dir=in action=allow "
    u"protocol=TCP localport=8003";
inline constexpr const char16_t* kForwardDelete8000 =
    u"netsh interface portproxy delete v4tov4 listenport=8000 listenaddress=0.0.0.0";
inline constexpr const char16_t* kForwardAdd8000 =
    u"netsh interface portproxy add v4tov4 listenport=8000 listenaddress=0.0.0.0 "
    u"connectport=8000 connectaddress=";
inline constexpr const char16_t* kForwardDelete8003 =
    u"netsh interface portproxy delete v4tov4 listenport=8003 listenaddress=0.0.0.0";
inline constexpr const char16_t* kForwardAdd8003 =
    u"netsh interface portproxy add v4tov4 listenport=8003 listenaddress=0.0.0.0 "
    u"connectport=8003 connectaddress=";

// Time limits of the hidden runner, in milliseconds.
inline constexpr uint32_t kNetshTimeoutMs = 3000;
inline constexpr uint32_t kEditTimeoutMs = 3000;
inline constexpr uint32_t kShutdownTimeoutMs = 5000;
inline constexpr uint32_t kKeepAliveTimeoutMs = 10000;
inline constexpr uint32_t kRestartTimeoutMs = 15000;

// Server addresses around the LAN address.
inline constexpr const char16_t* kWebSocketScheme = u"ws://";
inline constexpr const char16_t* kWebSocketPath = u":8000/tarvino/v1/";
inline constexpr const char16_t* kOtaUrl = u"http://localhost:8003/tarvino/ota/";

// The two voices.
inline constexpr const char16_t* kVoiceMale = u"zh-CN-YunxiNeural";
inline constexpr const char16_t* kVoiceFemale = u"zh-CN-XiaoyiNeural";

// The WSL command form around one configuration edit literal filled with `value`.
CString ConfigEditCommand(const char16_t* editLiteral, const CString& value);

}  // namespace server
