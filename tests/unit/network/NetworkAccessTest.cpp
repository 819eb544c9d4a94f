#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/FakeRunnerPlatform.h"
#include "panel/NetworkAccess.h"
#include "runner/ServerCommands.h"

namespace {

const std::string kProbe = "wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8";

// The commands every run starts with: the firewall rules, then the route probe.
const std::vector<std::string> kAlways = {
    "hidden 3000 netsh advfirewall firewall delete rule name=\"开放TCP - 8000\"",
    "hidden 3000 netsh advfirewall firewall add rule name=\"开放TCP - 8000\" dir=in action=allow "
    "protocol=TCP localport=8000",
    "hidden 3000 netsh advfirewall firewall delete rule name=\"开放TCP - 8003\"",
    "hidden 3000 netsh advfirewall firewall add rule name=\"开放TCP - 8003\" dir=in action=allow "
    "protocol=TCP localport=8003",
    "captured " + kProbe,
};

std::vector<std::string> WithForwardsTo(const std::string& address) {
    std::vector<std::string> all = kAlways;
    all.push_back(
        "hidden 3000 netsh interface portproxy delete v4tov4 listenport=8000 "
        "listenaddress=0.0.0.0");
    all.push_back(
        "hidden 3000 netsh interface portproxy add v4tov4 listenport=8000 "
        "listenaddress=0.0.0.0 connectport=8000 connectaddress=" +
        address);
    all.push_back(
        "hidden 3000 netsh interface portproxy delete v4tov4 listenport=8003 "
        "listenaddress=0.0.0.0");
    all.push_back(
        "hidden 3000 netsh interface portproxy add v4tov4 listenport=8003 "
        "listenaddress=0.0.0.0 connectport=8003 connectaddress=" +
        address);
    return all;
}

// Each run as "hidden <limit> <command>" or "captured <command>": the captured runner's own
// wait belongs to it, not to the set-up.
std::vector<std::string> Journal(const FakeProcesses& processes) {
    std::vector<std::string> out;
    for (const FakeProcesses::Run& run : processes.Runs()) {
        if (run.kind == FakeProcesses::Kind::Hidden) {
            out.push_back("hidden " + std::to_string(run.timeoutMs) + " " + run.command.ToUtf8());
        } else {
            out.push_back("captured " + run.command.ToUtf8());
        }
    }
    return out;
}

struct ProbeCase {
    const char* name;
    std::string output;
    // Empty: only the firewall commands and the probe run.
    std::vector<std::string> expected;
};

void RunCases(const std::vector<ProbeCase>& cases) {
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRunnerPlatform fakes;
        fakes.processes.ReplyOutput(CString::FromUtf8(kProbe), c.output);

        SetupNetworkAccess();

        EXPECT_EQ(Journal(fakes.processes), c.expected.empty() ? kAlways : c.expected);
    }
}

const std::string kNatRoute =
    "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139 uid 0 \n    cache \n";

TEST(NetworkAccessTest, RouteProbeOutputs) {
    RunCases({
        {"NAT address followed by a blank", kNatRoute, WithForwardsTo("172.29.100.139")},
        {"source address holding .172",
         "8.8.8.8 via 172.20.0.1 dev eth0 src 172.20.0.172 uid 0 \n    cache \n",
         {}},
        {"no 172 anywhere",
         "8.8.8.8 via 192.168.1.1 dev eth0 src 192.168.1.20 uid 0 \n    cache \n",
         {}},
        {"172 only on a later line still passes",
         "8.8.8.8 via 10.0.0.1 dev eth0 src 10.0.0.5 uid 0 \n    cache expires 172sec\n",
         WithForwardsTo("10.0.0.5")},
        {".172 only on a later line still fails",
         "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139 uid 0 \n    cache 1.172\n",
         {}},
        {"172 without src forwards to localhost", "8.8.8.8 via 172.29.96.1 dev eth0\n",
         WithForwardsTo("localhost")},
        {"output ending in src ", "8.8.8.8 via 172.29.96.1 dev eth0 src ",
         WithForwardsTo("localhost")},
        {"output ending in the address", "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139",
         WithForwardsTo("localhost")},
        {"blank right behind src gives the empty address",
         "8.8.8.8 via 172.29.96.1 dev eth0 src  172.29.100.139 uid 0 \n", WithForwardsTo("")},
        {"SRC in capitals is not src", "8.8.8.8 via 172.29.96.1 SRC 172.29.100.139 uid 0 \n",
         WithForwardsTo("localhost")},
        {"only the first src counts",
         "8.8.8.8 via 172.29.96.1 src 172.29.100.139 uid 0 src 172.29.1.2 \n",
         WithForwardsTo("172.29.100.139")},
        {"host name characters pass", "via 172.29.96.1 src wsl-host.local:fe80::1 uid 0 \n",
         WithForwardsTo("wsl-host.local:fe80::1")},
        {"empty output", "", {}},
    });
}

// What a program inside the distribution prints must not reach cmd.exe as anything but an
// address. Each of these outputs passes the address test; a character that no address holds
// then fails the check of the forward address that follows it.
TEST(NetworkAccessTest, HostileProbeOutputsRunNoForwardingCommand) {
    RunCases({
        {"first blank on a later line: the line end is refused",
         "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139\n    cache \n",
         {}},
        {"carriage return", "via 172.29.96.1 src 172.29.100.139\r\nx y", {}},
        {"tab behind the address", "via 172.29.96.1 src 172.29.100.139\tuid 0 \n", {}},
        {"command chained with &", "via 172.29.96.1 src 172.29.100.139&calc.exe uid 0 \n", {}},
        {"command chained with &&", "via 172.29.96.1 src 1&&del\\q uid \n", {}},
        {"pipe", "via 172.29.96.1 src 172.29.100.139|more uid \n", {}},
        {"redirections", "via 172.29.96.1 src 172.29.100.139>C:\\x uid \n", {}},
        {"input redirection", "via 172.29.96.1 src 172.29.100.139<in uid \n", {}},
        {"caret escape", "via 172.29.96.1 src 172.29.100.139^ uid \n", {}},
        {"environment expansion", "via 172.29.96.1 src %COMSPEC% uid \n", {}},
        {"double quote", "via 172.29.96.1 src 172.29.100.139\" uid \n", {}},
        {"parentheses", "via 172.29.96.1 src (172.29.100.139) uid \n", {}},
        {"non-ASCII letter", "via 172.29.96.1 src 172.29.100.13\xE9 uid \n", {}},
    });
}

TEST(NetworkAccessTest, ProbeThatCannotStartRunsNoForwardingCommand) {
    FakeRunnerPlatform fakes;
    FakeProcesses::Reply reply;
    reply.startError = 2;  // ERROR_FILE_NOT_FOUND: no wsl
    fakes.processes.ReplyTo(CString::FromUtf8(kProbe), reply);

    SetupNetworkAccess();

    EXPECT_EQ(Journal(fakes.processes), kAlways);
}

// Failed, refused and timed-out netsh commands keep none of the following ones from running.
TEST(NetworkAccessTest, NetshResultsAreNotExamined) {
    FakeRunnerPlatform fakes;
    fakes.processes.ReplyOutput(CString::FromUtf8(kProbe), kNatRoute);
    fakes.processes.SetResponder([](const CString& command) {
        FakeProcesses::Reply reply;
        if (command.Find(u"delete") >= 0) reply.exitCode = 1;
        if (command.Find(u"add rule") >= 0) reply.timesOut = true;
        return reply;
    });

    SetupNetworkAccess();

    EXPECT_EQ(Journal(fakes.processes), WithForwardsTo("172.29.100.139"));
}

}  // namespace
