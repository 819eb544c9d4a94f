#include "panel/NetworkAccess.h"

#include "runner/CommonExec1.h"
#include "runner/CommonExec2.h"
#include "runner/ServerCommands.h"

namespace {

// Behind WSL's NAT the distribution's addresses lie in 172.16.0.0/12. Both searches run over
// the whole probe output, not over the source address alone.
bool PassesAddressTest(const CString& probeOutput) {
    return probeOutput.Find(u"172") >= 0 && probeOutput.Find(u".172") < 0;
}

// The text after the first "src " up to the next blank (U+0020 only); "localhost" when there is
// no "src " or no blank behind it.
CString ParseForwardAddress(const CString& probeOutput) {
    CString forwardAddress = u"localhost";
    const CString source = u"src ";
    const int found = probeOutput.Find(source);
    if (found < 0) return forwardAddress;
    const CString rest = probeOutput.Mid(found + source.GetLength());
    const int blank = rest.Find(u' ');
    if (blank >= 0) forwardAddress = rest.Left(blank);
    return forwardAddress;
}

// The address comes from a program inside the distribution and ends up in a command line that
// cmd.exe runs with administrator rights: only the characters of an address or a host name may
// pass, so that nothing in it can end the netsh command or start another one.
bool IsPlainAddress(const CString& address) {
    for (int i = 0; i < address.GetLength(); ++i) {
        const char16_t c = address[i];
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'.' || c == u':' || c == u'-';
        if (!plain) return false;
    }
    return true;
}

}  // namespace

void SetupNetworkAccess() {
    using namespace server;

    // Every run deletes and adds again; no result is examined.
    CommonExec1(kFirewallDelete8000, kNetshTimeoutMs);
    CommonExec1(kFirewallAdd8000, kNetshTimeoutMs);
    CommonExec1(kFirewallDelete8003, kNetshTimeoutMs);
    CommonExec1(kFirewallAdd8003, kNetshTimeoutMs);

    const CString probeOutput = CommonExec2(kRouteProbe);
    // Forwards of an earlier run stay in place when the test fails.
    if (!PassesAddressTest(probeOutput)) return;
    const CString forwardAddress = ParseForwardAddress(probeOutput);
    if (!IsPlainAddress(forwardAddress)) return;

    CommonExec1(kForwardDelete8000, kNetshTimeoutMs);
    CommonExec1(CString(kForwardAdd8000) + forwardAddress, kNetshTimeoutMs);
    CommonExec1(kForwardDelete8003, kNetshTimeoutMs);
    CommonExec1(CString(kForwardAdd8003) + forwardAddress, kNetshTimeoutMs);
}
