// A check of a JPEG file's Huffman tables before it reaches the decoder: the stb_image the
// system ships (v2.27) writes past its tables when a table's sixteen code counts add up to
// more than the 256 symbols a table can hold. The file's segments are walked the way that
// decoder finds them (bytes between segments skipped, entropy-coded data stepped over).
#pragma once

#include <cstddef>
#include <cstdint>

// False when some "define Huffman table" segment holds a table of more than 256 codes.
bool JpegHuffmanTablesFit(const uint8_t* data, std::size_t size);
