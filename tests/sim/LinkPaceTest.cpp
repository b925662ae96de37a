// The simulated link's pace on its own clock: slots on an absolute frame grid, and the link-time
// floor of the reports that moved.
#include <gtest/gtest.h>

#include <string>

#include "LinkPace.h"

namespace sim {
namespace {

using std::chrono::microseconds;
using Way = LinkPace::Way;
const LinkPace::Clock::time_point t0{std::chrono::seconds(100)};

// A reader that wakes late for every slot loses no link time as long as it is late by less than
// a frame: the next report is due at the next frame boundary, not a whole frame after the late one.
TEST(LinkPace, LatenessWithinAFrameDoesNotAddUp) {
    LinkPace link(microseconds(1000), t0);
    auto now = t0;
    for (int i = 0; i < 100; ++i) {
        now = link.slot(Way::ToHost, now) + microseconds(300);
        EXPECT_EQ(link.book(Way::ToHost, now), t0 + microseconds(1000 * i + 300)) << "report " << i;
    }
}

TEST(LinkPace, EachWayHasOneReportPerFrame) {
    LinkPace link(microseconds(125), t0);
    EXPECT_EQ(link.book(Way::ToDevice, t0 + microseconds(10)), t0 + microseconds(10));
    // The reply may go in the frame of its request; a second request waits for the next frame.
    EXPECT_EQ(link.book(Way::ToHost, t0 + microseconds(20)), t0 + microseconds(20));
    EXPECT_EQ(link.book(Way::ToDevice, t0 + microseconds(30)), t0 + microseconds(125));
    EXPECT_EQ(link.slot(Way::ToHost, t0 + microseconds(40)), t0 + microseconds(125));
    // After an idle spell a report goes at once, and the one after it at the next boundary.
    EXPECT_EQ(link.book(Way::ToHost, t0 + microseconds(5060)), t0 + microseconds(5060));
    EXPECT_EQ(link.slot(Way::ToHost, t0 + microseconds(5070)), t0 + microseconds(5125));
}

TEST(LinkPace, UnpacedReportsGoAtOnce) {
    LinkPace link(microseconds(0), t0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(link.book(Way::ToDevice, t0), t0);
    EXPECT_EQ(link.slot(Way::ToDevice, t0), t0);
    EXPECT_FALSE(link.paced());
}

// The floor depends on the order the reports moved in: 'o' one to the controller, 'i' one to
// the host.
TEST(LinkPace, FloorCountsTheFramesTheOrderNeeds) {
    struct Case {
        const char* order;
        long frames;
    };
    const Case cases[] = {
        {"", 0},
        {"oioioi", 3},       // request and reply exchanges: one frame each
        {"ooooi", 4},        // a bulk write: its reports, the last one with the reply
        {"oiiii", 4},        // a bulk read: the first report beside the request
        {"iiioii", 5},       // a stream crossed by a request: the request costs no frame
        {"ooii", 3},         // reports cannot go before those that moved earlier
        {"iiiiiiiiii", 10},  // a stream alone: one frame a report
    };
    for (const Case& c : cases) {
        LinkPace link(microseconds(1000), t0);
        long sent = 0, taken = 0;
        for (const char* p = c.order; *p; ++p) {
            const bool out = *p == 'o';
            link.count(out ? Way::ToDevice : Way::ToHost);
            ++(out ? sent : taken);
        }
        EXPECT_EQ(link.floorFrames(), c.frames) << c.order;
        EXPECT_EQ(link.sent(), sent) << c.order;
        EXPECT_EQ(link.taken(), taken) << c.order;
    }
}

}  // namespace
}  // namespace sim
