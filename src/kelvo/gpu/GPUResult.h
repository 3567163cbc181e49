// Result codes of the GPU resource layer: one numbering shared by every operation of the
// layer, 0 for success. Each class adds the codes it reports here.
#pragma once

#include <cstdint>

inline constexpr uint32_t kGPUResultOk = 0;
// A store already holds a container under the name.
inline constexpr uint32_t kGPUResultNameInUse = 9;
// The handle's id is not in its store (or the handle names no store).
inline constexpr uint32_t kGPUResultHandleNotFound = 10;
// The container's name is not in its store's by-name map.
inline constexpr uint32_t kGPUResultNameNotFound = 11;
// The resource cannot be copied.
inline constexpr uint32_t kGPUResultCannotCopy = 45;
// Meshes and materials: no loader or device for the request (an unknown file extension, or a
// mesh without a device), a file not registered or not openable, the file loader or a buffer
// access failed, a stream missing, vertex and index buffer creation and locking, the vertex
// declaration, a stream or its buffer missing when drawing, a stream binding refused, a
// material without an effect, the per-triangle material stream unavailable, a surface index
// out of range.
inline constexpr uint32_t kGPUResultNotSupported = 2;
inline constexpr uint32_t kGPUResultFileNotFound = 12;
inline constexpr uint32_t kGPUResultMeshLoad = 16;
inline constexpr uint32_t kGPUResultStreamMissing = 17;
inline constexpr uint32_t kGPUResultVertexBufferCreation = 18;
inline constexpr uint32_t kGPUResultIndexBufferCreation = 19;
inline constexpr uint32_t kGPUResultVertexBufferLock = 20;
inline constexpr uint32_t kGPUResultIndexBufferLock = 21;
inline constexpr uint32_t kGPUResultVertexDeclaration = 26;
inline constexpr uint32_t kGPUResultRenderStream = 30;
inline constexpr uint32_t kGPUResultSetStreamSource = 31;
inline constexpr uint32_t kGPUResultNoEffect = 37;
inline constexpr uint32_t kGPUResultMaterialStream = 54;
inline constexpr uint32_t kGPUResultSurfaceIndex = 55;
