// The program's one way to the OpenGL backend: makes it (it registers itself as
// g_pGPUImplementation); everything after goes through IGPUImplementation and the resource
// interfaces. Initialize it with a window that implements IGLWindowSurface. Main thread only.
#pragma once

class IGPUImplementation;

// A new backend, owned by the caller.
IGPUImplementation* CreateGPUImplementationGL();
