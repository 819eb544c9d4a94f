#include "ProbeOtaEndpoint.h"

#include <cstring>
#include <memory>

#include "framework/CString.h"
#include "framework/Internet.h"
#include "platform/CodePage.h"
#include "runner/ServerCommands.h"

namespace {

constexpr const char16_t* kAgent = u"brenlow-se";
constexpr std::uintptr_t kContext = 1;
constexpr uint32_t kConnectTimeoutMs = 3000;
constexpr uint32_t kSendTimeoutMs = 1000;
constexpr uint32_t kReceiveTimeoutMs = 1000;

}  // namespace

BOOL ProbeOtaEndpoint() {
    // A session that cannot be opened means the server cannot be reached: not up. The caller
    // polls again; nothing is thrown past this function.
    std::unique_ptr<CInternetSession> session;
    try {
        session =
            std::make_unique<CInternetSession>(kAgent, kContext, port::kInternetOpenTypePreconfig);
    } catch (CInternetException* e) {
        e->Delete();
        return FALSE;
    }

    session->SetOption(port::kInternetOptionConnectTimeout, kConnectTimeoutMs);
    session->SetOption(port::kInternetOptionSendTimeout, kSendTimeoutMs);
    session->SetOption(port::kInternetOptionReceiveTimeout, kReceiveTimeoutMs);

    CString answer;
    std::unique_ptr<CInternetFile> file;
    try {
        file.reset(session->OpenURL(server::kOtaUrl, kContext, port::kInternetFlagTransferAscii));
        if (!file) {
            session->Close();
            return FALSE;
        }
        // One read only, and the last byte stays zero so the buffer is always terminated.
        char buffer[256];
        std::memset(buffer, 0, sizeof(buffer));
        file->Read(buffer, sizeof(buffer) - 1);
        file->Close();
        file.reset();
        answer = CString(port::codePage().MultiByteToWideChar(port::kCpThreadAcp, 0, buffer));
    } catch (CInternetException* e) {
        file.reset();  // closes the answer if it is still open
        e->Delete();
        session->Close();
        return FALSE;
    }
    session->Close();

    return answer.Find(server::kWebSocketPath) >= 0 ? TRUE : FALSE;
}
