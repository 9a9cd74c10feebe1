#pragma once

#include <gtest/gtest.h>

#include "platform/fake/FakeEventLog.h"

namespace solvara::testing {

// The program ends as soon as it hears a quit request, so everything put on the displays must
// be gone by then: the gamma tables restored and not written again, the dimmer's windows
// ordered out. `events` holds what happened from just before the quit, with the test's own
// "quitRequested" where the request was heard.
inline void expectDisplaysPutBackBeforeTheQuitRequest(const FakeEventLog& events) {
    const std::size_t quit = events.indexOf("quitRequested");
    ASSERT_LT(quit, events.events.size()) << "no quit request";
    const std::size_t restore = events.indexOf("restoreOriginalGamma");
    EXPECT_LT(restore, quit) << "the gamma tables are restored before the quit request";
    EXPECT_EQ(events.indexOfPrefix("table ", restore), events.events.size()) << "a table written after the restore";
    EXPECT_EQ(events.indexOfPrefix("formula ", restore), events.events.size()) << "a formula written after the restore";
    EXPECT_LT(events.indexOfPrefix("orderOut "), quit) << "the dimmer's windows go before the quit request";
}

}  // namespace solvara::testing
