#pragma once

#include <cstddef>
#include <span>

namespace morvane::exchange {

// Band-limited resampling of one period: the input is taken as exactly one cycle of a periodic
// signal, transformed, cut or zero-padded in the frequency domain and transformed back at the
// output length.
//
// Going down, harmonics 0 .. out/2 - 1 are kept and the two halves of harmonic out/2 (the +h and
// -h bins of the input) are folded into the output's Nyquist bin. Going up, the input's Nyquist
// bin is split evenly between +h and -h, so the output passes exactly through the input samples
// (output sample (out/in)*k equals input sample k) and going down again gives the input back.
//
// A resampler holds its FFTW plans and buffers for one pair of lengths, so that a whole table
// of frames is resampled with one plan. Not thread-safe (FFTW's planner is not); used on the
// user-interface thread only.
class PeriodResampler {
public:
    PeriodResampler(std::size_t inLength, std::size_t outLength);
    ~PeriodResampler();
    PeriodResampler(const PeriodResampler &) = delete;
    PeriodResampler &operator=(const PeriodResampler &) = delete;

    std::size_t InLength() const { return in_; }
    std::size_t OutLength() const { return out_; }

    // in.size() must be InLength() and out.size() OutLength().
    void Run(std::span<const double> in, std::span<double> out);

private:
    struct Plans;
    std::size_t in_;
    std::size_t out_;
    Plans *plans_ = nullptr;
};

} // namespace morvane::exchange
