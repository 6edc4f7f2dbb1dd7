#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/audio_gen.h"
#include "audio/playback.h"
#include "audio/portaudio/portaudio_wave_out.h"
#include "document/wave_message.h"
#include "support/jack_harness.h"

// The sound end to end: a wave played through the PortAudio backend on a private JACK server,
// recorded by a JACK client of the test's own, must come back as the wave.
namespace morvane::audio {
namespace {

#if defined(MORVANE_HAVE_JACK)

using namespace std::chrono_literals;
using testing_support::JackRecorder;
using testing_support::JackServer;

constexpr unsigned kRate = testing_support::kJackSampleRate;
constexpr auto kPatience = 10s; // bounds every wait; reaching it fails the test

// Two ramps whose play values (sample / 128) never meet: the first is 64 s - 4000 (32 modulo
// 64), the second 4016 - 64 s (48 modulo 64), for sample index s = 0..127. A recorded value
// thus tells which wave and which sample it came from.
int RampUpValue(int s) {
    return 64 * s - 4000;
}
int RampDownValue(int s) {
    return 4016 - 64 * s;
}

void WriteWave(Wavetable &table, int waveIndex, int (*value)(int)) {
    for (int s = 0; s < kSampleCount; ++s) {
        const int v = value(s);
        WriteSample(table, waveIndex, s, 128 * v + (v >= 0 ? 77 : -77)); // the rest is dropped
    }
}

// Which wave a recorded value belongs to (0 none, 1 up, 2 down) and its sample index.
struct Heard {
    int Wave = 0;
    int Sample = -1;
};

Heard Classify(float recorded) {
    // PortAudio turns a 16-bit value v into v / 32768 exactly.
    const double scaled = static_cast<double>(recorded) * 32768.0;
    const long v = std::lround(scaled);
    if (std::fabs(scaled - static_cast<double>(v)) > 1e-3) {
        return {};
    }
    for (int s = 0; s < kSampleCount; ++s) {
        if (v == RampUpValue(s)) {
            return {1, s};
        }
        if (v == RampDownValue(s)) {
            return {2, s};
        }
    }
    return {};
}

template <typename Condition> bool WaitUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class PortAudioJack : public testing::TestWithParam<int> {};

TEST_P(PortAudioJack, RecordingHoldsTheWaveItsPitchAndAnEditWithin50ms) {
    const int channels = GetParam();
    JackServer server;
    std::string reason;
    if (!server.Start(reason)) {
        GTEST_SKIP() << "no JACK server could be started: " << reason;
    }
    PortAudioWaveOut portAudio;
    ASSERT_TRUE(portAudio.Initialized()) << portAudio.InitError();
    const std::optional<int> device = portAudio.JackDeviceNumber();
    ASSERT_TRUE(device) << "PortAudio sees no JACK device on the running server";

    // The JACK device offers the server's rate only, mono and stereo.
    const std::vector<WaveOutCaps> devices = portAudio.Devices();
    ASSERT_LT(static_cast<std::size_t>(*device), devices.size());
    EXPECT_EQ(devices[static_cast<std::size_t>(*device)].Formats,
              kWaveFormat4M16 | kWaveFormat4S16);
    for (const WaveOutCaps &caps : devices) {
        EXPECT_LE(caps.ProductName.size(), kMaxProductNameLength);
    }

    JackRecorder recorder(channels, 6 * kRate);
    ASSERT_TRUE(recorder.Open(reason)) << reason;
    ASSERT_EQ(recorder.SampleRate(), kRate);

    Wavetable table{};
    FillNewWavetable(table, 0);
    WriteWave(table, 0, RampUpValue);
    const AudioSettings settings{*device, channels, kRate, 2 * channels, 16};

    std::mutex errorsMutex;
    std::vector<std::string> errors;
    auto generator = std::make_unique<TAudioGen>(portAudio, settings, [&](const std::string &e) {
        std::lock_guard<std::mutex> lock(errorsMutex);
        errors.push_back(e);
    });
    audio::FillPlayBuffers(table, 0, settings, generator->Buffers);
    generator->Start();

    std::vector<std::string> sources;
    ASSERT_TRUE(WaitUntil([&] {
        sources = recorder.OtherOutputPorts();
        return sources.size() == static_cast<std::size_t>(channels);
    })) << "PortAudio's output ports did not appear";
    for (int c = 0; c < channels; ++c) {
        ASSERT_TRUE(recorder.Connect(sources[static_cast<std::size_t>(c)], c));
    }

    // Find where the sound begins, then let a good second and a half of it be recorded.
    std::size_t onset = 0;
    ASSERT_TRUE(WaitUntil([&] {
        const std::size_t frames = recorder.Frames();
        for (; onset < frames; ++onset) {
            if (recorder.Sample(0, onset) != 0.0f) {
                return true;
            }
        }
        return false;
    })) << "nothing was heard";
    const std::size_t start = onset + 2048; // past the first buffer
    const std::size_t length = kRate;       // one second
    ASSERT_TRUE(WaitUntil([&] { return recorder.Frames() >= start + length + 4096; }));

    // The shape, frame for frame: each frame holds the next table value, every channel alike.
    {
        const Heard first = Classify(recorder.Sample(0, start));
        ASSERT_EQ(first.Wave, 1) << "value " << recorder.Sample(0, start) * 32768.0f;
        int wrong = 0;
        for (std::size_t n = 0; n < length; ++n) {
            const int expected = (first.Sample + static_cast<int>(n)) % kSampleCount;
            for (int c = 0; c < channels; ++c) {
                const Heard heard = Classify(recorder.Sample(c, start + n));
                if ((heard.Wave != 1 || heard.Sample != expected) && ++wrong <= 3) {
                    ADD_FAILURE() << "frame " << n << " channel " << c << ": "
                                  << recorder.Sample(c, start + n) * 32768.0f << " instead of "
                                  << RampUpValue(expected);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    // The pitch, counted independently of the shape check: one rising edge through zero per
    // cycle of the ramp, over one second.
    {
        int crossings = 0;
        for (std::size_t n = start + 1; n < start + length; ++n) {
            if (recorder.Sample(0, n - 1) < 0.0f && recorder.Sample(0, n) >= 0.0f) {
                ++crossings;
            }
        }
        EXPECT_NEAR(crossings, kRate / 128.0, 1.0); // about 344.5 Hz
    }

    // An edit while playing: the next fill is heard within 50 ms.
    const std::size_t editFrame = recorder.Frames();
    WriteWave(table, 0, RampDownValue);
    audio::FillPlayBuffers(table, 0, settings, generator->Buffers);
    ASSERT_TRUE(WaitUntil([&] { return recorder.Frames() >= editFrame + 22050; }));

    std::size_t firstNew = 0;
    for (std::size_t n = editFrame > 4096 ? editFrame - 4096 : 0; n < editFrame + 22050; ++n) {
        if (Classify(recorder.Sample(0, n)).Wave == 2) {
            firstNew = n;
            break;
        }
    }
    ASSERT_NE(firstNew, 0u) << "the edit was never heard";
    EXPECT_GE(firstNew + 256, editFrame) << "heard before it was made";
    EXPECT_LE(firstNew, editFrame + 50 * kRate / 1000)
        << "heard "
        << (static_cast<double>(firstNew) - static_cast<double>(editFrame)) * 1000.0 / kRate
        << " ms after the edit";
    // From a little after that on, only the new wave, still one table value per frame.
    {
        const std::size_t from = firstNew + 256;
        const Heard first = Classify(recorder.Sample(0, from));
        ASSERT_EQ(first.Wave, 2);
        int wrong = 0;
        for (std::size_t n = 0; n < 11025; ++n) {
            const int expected = (first.Sample + static_cast<int>(n)) % kSampleCount;
            for (int c = 0; c < channels; ++c) {
                const Heard heard = Classify(recorder.Sample(c, from + n));
                if ((heard.Wave != 2 || heard.Sample != expected) && ++wrong <= 3) {
                    ADD_FAILURE() << "frame " << n << " after the edit, channel " << c;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    generator->Running = false;
    generator->Join();
    EXPECT_TRUE(generator->Finished());
    std::lock_guard<std::mutex> lock(errorsMutex);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

INSTANTIATE_TEST_SUITE_P(Channels, PortAudioJack, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int> &param) {
                             return param.param == 1 ? std::string("Mono") : std::string("Stereo");
                         });

#else

TEST(PortAudioJack, RecordingHoldsTheWaveItsPitchAndAnEditWithin50ms) {
    GTEST_SKIP() << "built without the JACK development files (libjack-jackd2-dev)";
}

#endif // MORVANE_HAVE_JACK

TEST(PortAudioBackend, DeviceThatDoesNotExistFailsWithPortAudiosText) {
    PortAudioWaveOut portAudio;
    if (!portAudio.Initialized()) {
        GTEST_SKIP() << "PortAudio could not start: " << portAudio.InitError();
    }
    const int count = static_cast<int>(portAudio.Devices().size());
    const WaveOutOpenResult result = portAudio.Open(count + 3, MakeWaveFormat(AudioSettings{}));
    EXPECT_FALSE(result.Stream);
    EXPECT_EQ(result.Error, "Invalid device");
    const WaveOutOpenResult bad =
        portAudio.Open(0, MakeWaveFormat(AudioSettings{0, 2, 44100, 2, 16}));
    EXPECT_FALSE(bad.Stream);
    EXPECT_FALSE(bad.Error.empty());
}

} // namespace
} // namespace morvane::audio
