#pragma once
// Entry functions shared by the libFuzzer targets and the seed-corpus replay test.

#include <cstddef>
#include <cstdint>

// Loads the bytes as a 3DS file into a small model (twice, so objects of a second file follow
// the first) and checks that every object it holds is consistent. Traps on an inconsistency.
int fuzzLoad3ds(const std::uint8_t* data, std::size_t size);

// Decodes the bytes as a JPEG file into a texture bank and touches every decoded byte.
int fuzzDecodeJpeg(const std::uint8_t* data, std::size_t size);
