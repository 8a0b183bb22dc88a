// The limits on clients: whose address a request is counted under, and the counts.
#include "server/client_limits.h"

#include <gtest/gtest.h>

TEST(ClientAddress, ForwardedForIsBelievedOnlyFromTheTrustedProxyAndOnlyItsLastEntry)
{
    const struct {
        const char* connectedFrom;
        const char* forwardedFor;
        const char* trustedProxy;
        const char* counted;
    } rows[] = {
        {"192.0.2.1", "198.51.100.7", "", "192.0.2.1"},                    // no proxy trusted
        {"192.0.2.1", "198.51.100.7", "127.0.0.1", "192.0.2.1"},           // not from the proxy
        {"127.0.0.1", "203.0.113.9, 198.51.100.7", "127.0.0.1", "198.51.100.7"}, // the first entry is the client's word
        {"127.0.0.1", " 198.51.100.7 ", "127.0.0.1", "198.51.100.7"},
        {"127.0.0.1", "", "127.0.0.1", "127.0.0.1"},                       // the proxy's own request
        {"127.0.0.1", "198.51.100.7, ", "127.0.0.1", "127.0.0.1"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(clientAddress(row.connectedFrom, row.forwardedFor, row.trustedProxy), row.counted)
            << row.connectedFrom << " / " << row.forwardedFor;
    }
}

TEST(ClientLimits, ThirtyRunsInAnyMinuteFromOneAddressAndTheRefusedAreNotCounted)
{
    ClientLimits limits;
    const auto start = ClientLimits::Clock::now();
    for (size_t i = 0; i < kRunsPerMinute; ++i) EXPECT_TRUE(limits.admitRun("a", start + std::chrono::seconds(i)));
    EXPECT_FALSE(limits.admitRun("a", start + std::chrono::seconds(59)));
    EXPECT_TRUE(limits.admitRun("b", start + std::chrono::seconds(59)));
    EXPECT_TRUE(limits.admitRun("a", start + std::chrono::seconds(60))); // the first has left the minute
    EXPECT_FALSE(limits.admitRun("a", start + std::chrono::seconds(60)));
}

TEST(ClientLimits, ARunIsPendingForItsAddressUntilSettledOnce)
{
    ClientLimits limits;
    limits.addPending("a", 1);
    limits.addPending("a", 2);
    limits.addPending("a", 2);
    limits.addPending("b", 3);
    limits.settle(1);
    limits.settle(1);
    EXPECT_EQ(limits.pendingOf("a"), std::vector<RunId>{2});
    EXPECT_EQ(limits.pendingOf("b"), std::vector<RunId>{3});
    limits.settle(2);
    EXPECT_TRUE(limits.pendingOf("a").empty());
}
