#!/usr/bin/env bash
# check-layers on a small made-up tree: every kind of broken rule is reported with the include
# line that breaks it and fails the check; the same tree with those lines gone passes.
#   check_layers_test.sh CHECK_LAYERS
set -u
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
fail() { echo "FAIL: $*"; echo "--- output:"; cat "$tree/out"; exit 1; }

put() { mkdir -p "$(dirname "$tree/$1")" && printf '%s\n' "${@:2}" >"$tree/$1"; }
put src/platform/Log.h '#pragma once'
put src/platform/window/Window.cpp '#include <SDL.h>' '#include "platform/Log.h"'
put src/platform/audio/Mp3.cpp '#include <mpg123.h>'
put src/kelvo/gpu/gl/Device.h '#include <epoxy/gl.h>'
put src/kelvo/gpu/gl/GLBackendFactory.h '#pragma once'
put src/kelvo/core/Object.h '#include "kelvo/world/Logic.h"'
put src/kelvo/world/Logic.h '#include "../core/Object.h"'
put src/kelvo/render/Phase.h '#include "kelvo/physics/Engine.h"'
put src/kelvo/physics/Engine.h '#include "kelvo/gpu/Pass.h"'
put src/kelvo/gpu/Pass.h '#include "kelvo/render/Phase.h"'
put src/quellbeam/Tracer.cpp '#include "kelvo/core/Object.h"' '#include <cuda_runtime.h>' \
  '#include "platform/window/Window.cpp"'
put src/quellbeam/RayTracer.h '#pragma once'
put src/brovell/Window.cpp '#include "kelvo/gpu/gl/GLBackendFactory.h"' '#include "kelvo/gpu/gl/Device.h"' \
  '#include "quellbeam/RayTracer.h"' '#include "quellbeam/Tracer.cpp"'
put tests/e2e/Frames.cpp '#include <epoxy/gl.h>' '  #  include <SDL2/SDL.h>'

"$check" "$tree" >"$tree/out" 2>&1
[[ $? -eq 1 ]] || fail "a broken tree passed"
for expected in \
  'src/quellbeam/Tracer.cpp:1: #include "kelvo/core/Object.h"' \
  'src/quellbeam/Tracer.cpp:2: #include <cuda_runtime.h>' \
  'the quellbeam layer may not include the media layer' \
  'src/brovell/Window.cpp:2: #include "kelvo/gpu/gl/Device.h"' \
  'src/brovell/Window.cpp:4: #include "quellbeam/Tracer.cpp"' \
  'tests/e2e/Frames.cpp:1: #include <epoxy/gl.h>' \
  'tests/e2e/Frames.cpp:2: #  include <SDL2/SDL.h>' \
  'folder cycle in the engine: core -> world -> core' \
  'src/kelvo/world/Logic.h:1: #include "../core/Object.h"' \
  'folder cycle in the engine: gpu -> render -> physics -> gpu' \
  'check-layers: 9 problem(s)'; do
  grep -qF -- "$expected" "$tree/out" || fail "not reported: $expected"
done

# The same tree with the offending lines removed (the allowed ones kept) passes.
put src/kelvo/core/Object.h '#pragma once'
put src/kelvo/gpu/Pass.h '#pragma once'
put src/quellbeam/Tracer.cpp '#include "platform/Log.h"'
put src/brovell/Window.cpp '#include "kelvo/gpu/gl/GLBackendFactory.h"' '#include "quellbeam/RayTracer.h"'
put tests/e2e/Frames.cpp ''
"$check" "$tree" >"$tree/out" 2>&1 || fail "a clean tree failed"
echo "check-layers reports every broken rule and passes a clean tree"
