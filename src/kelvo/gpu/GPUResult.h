// Result codes of the GPU resource layer: one numbering shared by every operation of the
// layer, 0 for success. Each class adds the codes it reports here.
#pragma once

#include <cstdint>

inline constexpr uint32_t kGPUResultOk = 0;
// A texture filter mode other than 0 (linear) and 1 (point).
inline constexpr uint32_t kGPUResultBadFilterMode = 1;
// The window given to Initialize is not the application's SDL window.
inline constexpr uint32_t kGPUResultWrongWindow = 3;
// No usable OpenGL 3.3 context.
inline constexpr uint32_t kGPUResultNoGraphics = 4;
// Device creation steps: the device objects, its reset, render target 0, the depth surface.
inline constexpr uint32_t kGPUResultDeviceCreation = 5;
inline constexpr uint32_t kGPUResultDeviceReset = 6;
inline constexpr uint32_t kGPUResultRenderTarget0 = 7;
inline constexpr uint32_t kGPUResultDepthSurface = 52;
// No device, or no window.
inline constexpr uint32_t kGPUResultNoDevice = 8;
// A store already holds a container under the name.
inline constexpr uint32_t kGPUResultNameInUse = 9;
// The handle's id is not in its store (or the handle names no store).
inline constexpr uint32_t kGPUResultHandleNotFound = 10;
// The container's name is not in its store's by-name map.
inline constexpr uint32_t kGPUResultNameNotFound = 11;
// A file that is not in the data registry, or a material that is not in its store.
inline constexpr uint32_t kGPUResultNotFound = 12;
// Effects: the file does not compile, a parameter or a technique cannot be described (or its
// "params" annotation is wrong), the required variables cannot be copied, the pass is not in
// the technique, the technique cannot be selected, the pass cannot be ended.
inline constexpr uint32_t kGPUResultEffectCompile = 13;
inline constexpr uint32_t kGPUResultEffectParameter = 14;
inline constexpr uint32_t kGPUResultEffectTechnique = 15;
inline constexpr uint32_t kGPUResultEffectParams = 22;
inline constexpr uint32_t kGPUResultEffectNoPass = 23;
inline constexpr uint32_t kGPUResultEffectNoTechnique = 24;
inline constexpr uint32_t kGPUResultEffectEnd = 25;
// Scene brackets and the viewport refused.
inline constexpr uint32_t kGPUResultBeginScene = 34;
inline constexpr uint32_t kGPUResultEndScene = 35;
inline constexpr uint32_t kGPUResultViewport = 36;
// Textures: no device texture, binding refused, render target refused, picture not loaded,
// unsupported format, creation failed, no surface, not a render target, lock failed.
inline constexpr uint32_t kGPUResultNoTexture = 38;
inline constexpr uint32_t kGPUResultBindTexture = 39;
inline constexpr uint32_t kGPUResultSetRenderTarget = 40;
inline constexpr uint32_t kGPUResultLoadPicture = 41;
inline constexpr uint32_t kGPUResultBadFormat = 42;
inline constexpr uint32_t kGPUResultCreateTexture = 43;
inline constexpr uint32_t kGPUResultNoSurface = 44;
inline constexpr uint32_t kGPUResultNotRenderTarget = 46;
inline constexpr uint32_t kGPUResultLock = 47;
// The resource cannot be copied.
inline constexpr uint32_t kGPUResultCannotCopy = 45;
// Fill modes: not one of the three, not set, not read, read as another value.
inline constexpr uint32_t kGPUResultBadFillMode = 48;
inline constexpr uint32_t kGPUResultSetFillMode = 49;
inline constexpr uint32_t kGPUResultGetFillMode = 50;
inline constexpr uint32_t kGPUResultUnknownFillMode = 51;
// Meshes and materials: no loader or device for the request (an unknown file extension, or a
// mesh without a device), the file loader or a buffer access failed, a stream missing, vertex
// and index buffer creation and locking, the vertex declaration, a stream or its buffer
// missing when drawing, a stream binding refused, a material without an effect, the
// per-triangle material stream unavailable, a surface index out of range.
inline constexpr uint32_t kGPUResultNotSupported = 2;
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
// The renderer's overlays: the effect "default" cannot be had, the mesh "line_mesh" cannot be
// had, the effect or the mesh has no resource behind its handle, the mesh "text_mesh" cannot
// be had.
inline constexpr uint32_t kGPUResultOverlayNoEffect = 27;
inline constexpr uint32_t kGPUResultOverlayNoLineMesh = 28;
inline constexpr uint32_t kGPUResultOverlayMissingResource = 29;
inline constexpr uint32_t kGPUResultOverlayNoTextMesh = 53;
