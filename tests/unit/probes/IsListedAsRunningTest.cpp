#include <gtest/gtest.h>

#include "runner/IsDistroRunning.h"

namespace {

struct Case {
    const char* what;
    const char16_t* list;
    BOOL running;
};

// What "wsl -l -v" shows, with its header line and a marker before the default distribution.
TEST(IsListedAsRunning, FirstLineNamingTheDistributionDecides) {
    const Case cases[] = {
        {"empty text", u"", FALSE},
        {"one line, no line feed, running", u"ROZivuvarud Running 2", TRUE},
        {"one line, no line feed, stopped", u"ROZivuvarud Stopped 2", FALSE},
        {"list with carriage returns",
         u"  NAME           STATE      VERSION\r\n* Ubuntu         Stopped    2\r\n"
         u"  ROZivuvarud    Running    2\r\n",
         TRUE},
        {"same list without carriage returns",
         u"  NAME           STATE      VERSION\n* Ubuntu         Stopped    2\n"
         u"  ROZivuvarud    Running    2\n",
         TRUE},
        {"stopped", u"  NAME STATE VERSION\n  ROZivuvarud    Stopped    2\n", FALSE},
        {"last line without line feed", u"  NAME STATE\n* ROZivuvarud Running", TRUE},
        {"first naming line stopped, a later one running",
         u"  ROZivuvarud Stopped 2\n  ROZivuvarud Running 2\n", FALSE},
        {"longer name listed first decides: running",
         u"  ROZivuvarud-old Running 2\n  ROZivuvarud Stopped 2\n", TRUE},
        {"longer name listed first decides: stopped",
         u"  myROZivuvarud Stopped 2\n  ROZivuvarud Running 2\n", FALSE},
        {"running only on another line", u"  Ubuntu Running 2\n  ROZivuvarud Stopped 2\n", FALSE},
        {"distribution not listed", u"  Ubuntu Running 2\n", FALSE},
        {"name on line 0 counts", u"ROZivuvarud Running\nNAME STATE\n", TRUE},
        {"state word in lower case", u"  ROZivuvarud running 2\n", FALSE},
        {"state word in upper case", u"  ROZivuvarud RUNNING 2\n", FALSE},
        {"name in other letter case", u"  rozivuvarud Running 2\n", FALSE},
        {"error text of wsl", u"Windows Subsystem for Linux has no installed distributions.\r\n",
         FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsListedAsRunning(c.list, u"ROZivuvarud"), c.running) << c.what;
    }
}

}  // namespace
