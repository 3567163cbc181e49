// One-dimensional value noise summed over octaves: the drift of the pictures and the shake
// of the camera. Pure functions, any thread.
#pragma once

#include <cstdint>

// Pseudo-random value in about [-1, 1] for an integer.
float IntegerNoise(int32_t n);
// The integer noise of n blurred with its two neighbours (weights 1/4, 1/2, 1/4).
float SmoothedNoise(int32_t n);
// The smoothed noise between the integers around x, cosine-interpolated.
float InterpolatedNoise(float x);
// Adds octaves terms to accumulator (which is not cleared): interpolated noise at
// t * frequency times amplitude, doubling the frequency and scaling the amplitude by
// persistence after each term.
void AddFractalNoise(float& accumulator, float t, float frequency, float amplitude, float persistence,
                     int octaves);
