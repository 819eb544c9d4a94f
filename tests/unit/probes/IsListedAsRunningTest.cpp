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
        {"empty text", u"", 0},
        {"one line, no line feed, running", u"ROZivuvarud Running 2", 1},
        {"one line, no line feed, stopped", u"ROZivuvarud Stopped 2", 0},
        {"list with carriage returns",
         u"  NAME           STATE      VERSION\r\n* Ubuntu         Stopped    2\r\n"
         u"  ROZivuvarud    Running    2\r\n",
         1},
        {"same list without carriage returns",
         u"  NAME           STATE      VERSION\n* Ubuntu         Stopped    2\n"
         u"  ROZivuvarud    Running    2\n",
         1},
        {"stopped", u"  NAME STATE VERSION\n  ROZivuvarud    Stopped    2\n", 0},
        {"last line without line feed", u"  NAME STATE\n* ROZivuvarud Running", 1},
        {"first naming line stopped, a later one running",
         u"  ROZivuvarud Stopped 2\n  ROZivuvarud Running 2\n", 0},
        {"longer name listed first decides: running",
         u"  ROZivuvarud-old Running 2\n  ROZivuvarud Stopped 2\n", 1},
        {"longer name listed first decides: stopped",
         u"  myROZivuvarud Stopped 2\n  ROZivuvarud Running 2\n", 0},
        {"running only on another line", u"  Ubuntu Running 2\n  ROZivuvarud Stopped 2\n", 0},
        {"distribution not listed", u"  Ubuntu Running 2\n", 0},
        {"name on line 0 counts", u"ROZivuvarud Running\nNAME STATE\n", 1},
        {"state word in lower case", u"  ROZivuvarud running 2\n", 0},
        {"state word in upper case", u"  ROZivuvarud RUNNING 2\n", 0},
        {"name in other letter case", u"  rozivuvarud Running 2\n", 0},
        {"error text of wsl", u"Windows Subsystem for Linux has no installed distributions.\r\n",
         0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsListedAsRunning(c.list, u"ROZivuvarud"), c.running) << c.what;
    }
}

}  // namespace
