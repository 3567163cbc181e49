# Warnings and the optional sanitizer for the project's own targets.
# BROVELL_SANITIZER: empty, "address" (address + undefined behaviour) or "thread".
set(BROVELL_SANITIZER "" CACHE STRING "Sanitizer for the project's own targets: address or thread")
# Warnings fail the build where this is on: the sanitizer presets that CI builds set it. It stays
# off by default so that a user's newer or other compiler, with warnings of its own, still builds
# the release tree.
option(BROVELL_WERROR "Treat compiler warnings as errors" OFF)

# The project's warnings, for C and C++ sources only: nvcc takes none of them.
set(BROVELL_WARNINGS
  "$<$<COMPILE_LANGUAGE:C,CXX>:-Wall;-Wextra;-Wshadow>"
  "$<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>"
  "$<$<AND:$<BOOL:${BROVELL_WERROR}>,$<COMPILE_LANGUAGE:C,CXX>>:-Werror>")

function(brovell_target_defaults target)
  target_compile_options(${target} PRIVATE ${BROVELL_WARNINGS})
  if(BROVELL_SANITIZER STREQUAL "address")
    set(flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  elseif(BROVELL_SANITIZER STREQUAL "thread")
    set(flags -fsanitize=thread -fno-omit-frame-pointer)
  else()
    set(flags "")
  endif()
  if(flags)
    target_compile_options(${target} PRIVATE ${flags})
    target_link_options(${target} PUBLIC ${flags})
  endif()
endfunction()

# Build tools that run during the build (the asset generator): warnings and optimisation
# always, never a sanitizer, so that they stay fast in every preset.
function(brovell_tool_defaults target)
  target_compile_options(${target} PRIVATE ${BROVELL_WARNINGS} -O2)
endfunction()
