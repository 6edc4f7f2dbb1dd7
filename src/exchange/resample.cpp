#include "exchange/resample.h"

#include <algorithm>
#include <complex>
#include <stdexcept>
#include <vector>

#include <fftw3.h>

namespace morvane::exchange {

struct PeriodResampler::Plans {
    double *timeIn = nullptr;
    fftw_complex *spectrumIn = nullptr;
    fftw_complex *spectrumOut = nullptr;
    double *timeOut = nullptr;
    fftw_plan forward = nullptr;
    fftw_plan backward = nullptr;
};

PeriodResampler::PeriodResampler(std::size_t inLength, std::size_t outLength)
    : in_(inLength), out_(outLength) {
    if (in_ == 0 || out_ == 0)
        throw std::invalid_argument("PeriodResampler needs two lengths of at least 1");
    if (in_ == out_)
        return; // a plain copy, no transform
    plans_ = new Plans;
    plans_->timeIn = fftw_alloc_real(in_);
    plans_->spectrumIn = fftw_alloc_complex(in_ / 2 + 1);
    plans_->spectrumOut = fftw_alloc_complex(out_ / 2 + 1);
    plans_->timeOut = fftw_alloc_real(out_);
    // FFTW_ESTIMATE plans without touching the buffers and in no measurable time; the
    // transforms here are a few thousand points at most per frame.
    plans_->forward = fftw_plan_dft_r2c_1d(static_cast<int>(in_), plans_->timeIn,
                                           plans_->spectrumIn, FFTW_ESTIMATE);
    plans_->backward = fftw_plan_dft_c2r_1d(static_cast<int>(out_), plans_->spectrumOut,
                                            plans_->timeOut, FFTW_ESTIMATE);
}

PeriodResampler::~PeriodResampler() {
    if (plans_ == nullptr)
        return;
    fftw_destroy_plan(plans_->forward);
    fftw_destroy_plan(plans_->backward);
    fftw_free(plans_->timeIn);
    fftw_free(plans_->spectrumIn);
    fftw_free(plans_->spectrumOut);
    fftw_free(plans_->timeOut);
    delete plans_;
}

void PeriodResampler::Run(std::span<const double> in, std::span<double> out) {
    if (in.size() != in_ || out.size() != out_)
        throw std::invalid_argument("PeriodResampler::Run with the wrong lengths");
    if (plans_ == nullptr) {
        std::copy(in.begin(), in.end(), out.begin());
        return;
    }
    std::copy(in.begin(), in.end(), plans_->timeIn);
    fftw_execute(plans_->forward);

    using Bin = std::complex<double>;
    auto inBin = [this](std::size_t k) {
        return Bin(plans_->spectrumIn[k][0], plans_->spectrumIn[k][1]);
    };
    std::vector<Bin> bins(out_ / 2 + 1, Bin(0.0, 0.0));
    const std::size_t shorter = std::min(in_, out_);
    // Bins strictly below the shorter length's Nyquist are carried over as they are.
    const std::size_t carried = (shorter + 1) / 2; // k = 0 .. carried - 1
    for (std::size_t k = 0; k < carried; ++k)
        bins[k] = inBin(k);
    if (shorter % 2 == 0) {
        const std::size_t h = shorter / 2;
        if (in_ > out_) {
            // Harmonic h of the input is a pair of bins, +h and -h (the conjugate); both land
            // on the output's single Nyquist bin.
            bins[h] = inBin(h) + std::conj(inBin(h));
        } else {
            // The input's Nyquist bin is split evenly between +h and -h; the backward real
            // transform supplies the -h half as the conjugate of this one.
            bins[h] = inBin(h) * 0.5;
        }
    }
    for (std::size_t k = 0; k < bins.size(); ++k) {
        plans_->spectrumOut[k][0] = bins[k].real();
        plans_->spectrumOut[k][1] = bins[k].imag();
    }
    fftw_execute(plans_->backward);
    // FFTW's transforms are unnormalised: forward then backward scales by the input length.
    const double scale = 1.0 / static_cast<double>(in_);
    for (std::size_t n = 0; n < out_; ++n)
        out[n] = plans_->timeOut[n] * scale;
}

} // namespace morvane::exchange
