// The writer's frame grid on a clock of the test's own: answers that the
// simulator sends late do not push the frames after them back.
#include "sim_frame_grid.h"

#include <gtest/gtest.h>

namespace {

using clock = sim_frame_grid::clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

const clock::time_point t0 = clock::time_point() + std::chrono::hours(1);

TEST(sim_frame_grid_test, a_late_wake_is_made_up_in_order_on_the_same_grid) {
    sim_frame_grid grid(milliseconds(1));
    // Eight reports are waiting from t0 on, as in a pipelined transfer.
    EXPECT_EQ(grid.frame_for(t0), t0 + milliseconds(1));
    // The simulator wakes 5 ms late for the first answer: the frames due by then go out at once.
    grid.answered(t0 + milliseconds(6));
    for (int k = 2; k <= 8; ++k) {
        EXPECT_EQ(grid.frame_for(t0 + microseconds(10 * k)), t0 + milliseconds(k)) << "report " << k;
        grid.answered(std::max(t0 + milliseconds(6), t0 + milliseconds(k)));
    }
}

TEST(sim_frame_grid_test, a_reply_takes_the_frame_it_falls_in_and_a_pause_starts_the_grid_anew) {
    sim_frame_grid grid(milliseconds(1));
    EXPECT_EQ(grid.frame_for(t0), t0 + milliseconds(1));
    // Answered 2 ms late; the reply 0.4 ms after that answer falls in the next frame, already due.
    grid.answered(t0 + milliseconds(3));
    EXPECT_EQ(grid.frame_for(t0 + microseconds(3400)), t0 + milliseconds(2));
    // Answered at once; a reply 1.5 ms later falls in the second frame after.
    grid.answered(t0 + microseconds(3500));
    EXPECT_EQ(grid.frame_for(t0 + milliseconds(5)), t0 + milliseconds(4));
    // A reply within four frames stays on the grid.
    grid.answered(t0 + milliseconds(4));
    EXPECT_EQ(grid.frame_for(t0 + milliseconds(8)), t0 + milliseconds(8));
    // More than four frames without a report is a pause: the grid starts from the arrival.
    grid.answered(t0 + milliseconds(8));
    EXPECT_EQ(grid.frame_for(t0 + microseconds(12'500)), t0 + microseconds(13'500));
    EXPECT_EQ(grid.frame_for(t0 + microseconds(12'600)), t0 + microseconds(14'500));
}

}  // namespace
