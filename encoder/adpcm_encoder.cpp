// Step-adaptive ADPCM. The encoder runs the decoder's own predictor, so that
// the quantisation error does not add up from sample to sample.
#include <algorithm>
#include <cstdlib>

#include "sample_codecs.h"
#include "voice_format.h"

namespace {

class adpcm_state {
public:
    // The 4-bit code that brings the predictor closest to the sample, and the
    // predictor moved as the decoder will move it.
    uint8_t code(uint8_t sample) {
        const int error = (sample - 128) * 16 - predictor_;
        const int step = kAdpcmSteps[index_];
        const int size = std::min(7, std::abs(error) / step);
        const int change = ((2 * size + 1) * step) >> 1;
        predictor_ = std::clamp(error < 0 ? predictor_ - change : predictor_ + change, kAdpcmMin, kAdpcmMax);
        index_ = std::clamp(index_ + kAdpcmIndexChange[size], 0, kAdpcmStepCount - 1);
        return static_cast<uint8_t>(size | (error < 0 ? 8 : 0));
    }

private:
    int predictor_ = 0;
    int index_ = kAdpcmFirstStep;
};

}  // namespace

void encode_adpcm(std::span<const uint8_t> samples, uint8_t* out) {
    adpcm_state state;
    const size_t pairs = samples.size() / 2;
    for (size_t i = 0; i < pairs; ++i) {
        const uint8_t low = state.code(samples[2 * i]);
        out[i] = static_cast<uint8_t>(low | state.code(samples[2 * i + 1]) << 4);
    }
    if (samples.size() % 2 != 0) out[pairs] = state.code(samples.back());
}
