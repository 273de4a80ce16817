#include "sim_frame_grid.h"

#include <algorithm>

sim_frame_grid::clock::time_point sim_frame_grid::frame_for(clock::time_point arrival) {
    // The writer ran dry once its last frame had passed and its answer had gone out.
    const clock::duration gap = arrival - std::max(last_frame_, sent_);
    if (!started_ || gap > kIdleFrames * frame_) {
        started_ = true;
        last_frame_ = arrival + frame_;
        return last_frame_;
    }
    // A report that was waiting takes the next frame. One that came after the writer ran dry takes the frame
    // its arrival falls in, counted from the last frame rather than from the late answer: the simulator's own
    // lateness is not charged to it, the other side's slowness is.
    const auto frames = gap <= clock::duration::zero() ? 1 : (gap + frame_ - clock::duration(1)) / frame_;
    last_frame_ += frames * frame_;
    return last_frame_;
}
