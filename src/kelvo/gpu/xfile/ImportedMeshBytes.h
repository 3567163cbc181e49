// An imported mesh as bytes, for handing it from the ".x" reader process to the program:
// "XMB1", vertex count, streams (count; name, source bytes, stride, vertex count x source
// bytes of data), indices (count, values), subsets (count; surface, material colours and
// power as 17 floats, texture name). Integers and floats little-endian 32-bit, strings as in
// CByteReader.
#pragma once

#include "kelvo/gpu/ImportedMesh.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> EncodeImportedMesh(const SImportedMesh& mesh);

// The bytes come from another process, so they are checked as a file would be: every count
// against what is left, every index below the vertex count, every subset inside the mesh,
// nothing left over. False with the problem in outError; nothing is allocated beyond what
// the bytes hold.
bool DecodeImportedMesh(const uint8_t* data, std::size_t size, SImportedMesh& outMesh, std::string& outError);
