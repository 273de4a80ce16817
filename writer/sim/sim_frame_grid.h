// The writer's USB frames. Every report takes one frame of its own, and the
// frames lie on a grid that keeps its pace as a real writer's do. When the
// simulator itself wakes late, the frames already due are answered at once, in
// order, so its lateness is made up instead of lost; no answer goes out before
// its frame. The grid starts anew only after an idle spell of the writer.
//
// Times come from the caller, so the pacing runs the same on any clock.
#pragma once

#include <chrono>

class sim_frame_grid {
public:
    using clock = std::chrono::steady_clock;

    // The writer is idle when no report has waited for it for more than this many frames. A report that
    // comes sooner answers the writer's last answer (or the program on the other side was slow to send it),
    // and its frame stays on the grid. A longer gap is a pause of the program's own (the writer programs'
    // shortest deliberate pause is 10 ms, ten frames); after it the grid starts from the report's arrival.
    static constexpr int kIdleFrames = 4;

    explicit sim_frame_grid(clock::duration frame) : frame_(frame) {}

    // The end of the frame in which the report that arrived at `arrival` is answered: its answer goes out
    // then, or at once when that time has passed. Reports must be given in the order they arrived.
    clock::time_point frame_for(clock::time_point arrival);
    // The answers so far went out at `sent`.
    void answered(clock::time_point sent) { sent_ = sent; }

private:
    clock::duration frame_;
    bool started_ = false;
    clock::time_point last_frame_{};
    clock::time_point sent_{};
};
