#pragma once

// The key and pause files that the build makes into "snd/" beside the program.
namespace DtmfSoundFormat {

constexpr int SampleRate = 44100;
constexpr int ToneMs = 70;
constexpr int PauseMs = 70;
// Raised-cosine edges keep the tone from clicking.
constexpr int RampMs = 5;
// Of full scale, for each of the two tones; together they peak at 0.9 (-0.9 dBFS).
constexpr double ToneAmplitude = 0.45;

} // namespace DtmfSoundFormat
