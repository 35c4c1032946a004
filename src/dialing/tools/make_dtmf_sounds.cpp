// Writes the thirteen wave files of the tone dialer: "0.WAV".."9.WAV", "#.WAV", "x.WAV" (the star)
// and the pause "s.WAV", 16-bit mono PCM. Usage: make_dtmf_sounds OUTPUT_FOLDER
#include "dialing/DtmfSoundFormat.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

struct Key {
    const char* fileName;
    double low;  // row frequency, Hz
    double high; // column frequency, Hz
};

// ITU-T Q.23: rows 697, 770, 852, 941 Hz; columns 1209, 1336, 1477 Hz.
constexpr Key Keys[] = {
    {"1", 697, 1209}, {"2", 697, 1336}, {"3", 697, 1477}, {"4", 770, 1209},
    {"5", 770, 1336}, {"6", 770, 1477}, {"7", 852, 1209}, {"8", 852, 1336},
    {"9", 852, 1477}, {"x", 941, 1209}, {"0", 941, 1336}, {"#", 941, 1477},
};

int samplesOf(int ms) {
    return DtmfSoundFormat::SampleRate * ms / 1000;
}

std::vector<short> tone(double low, double high) {
    using namespace DtmfSoundFormat;
    const int length = samplesOf(ToneMs);
    const int ramp = samplesOf(RampMs);
    std::vector<short> samples(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        double value = ToneAmplitude * (std::sin(2 * std::numbers::pi * low * t) +
                                        std::sin(2 * std::numbers::pi * high * t));
        const int edge = std::min(i, length - 1 - i);
        if (edge < ramp)
            value *= 0.5 - 0.5 * std::cos(std::numbers::pi * edge / ramp);
        samples[static_cast<size_t>(i)] = static_cast<short>(std::lround(value * 32767.0));
    }
    return samples;
}

bool write(const std::filesystem::path& path, const std::vector<short>& samples) {
    SF_INFO info{};
    info.samplerate = DtmfSoundFormat::SampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    bool ok = true;
    for (const Key& key : Keys)
        ok = write(folder / (std::string(key.fileName) + ".WAV"), tone(key.low, key.high)) && ok;
    const std::vector<short> pause(static_cast<size_t>(samplesOf(DtmfSoundFormat::PauseMs)), 0);
    ok = write(folder / "s.WAV", pause) && ok;
    return ok ? 0 : 1;
}
