# Compiler flags shared by every target: exact IEEE double arithmetic, warnings,
# and on 32-bit x86 SSE2 maths (x87 extended precision would change the images).
# SSE2 is the floor: a Pentium 4 or later. Windows keeps the stack 4-byte
# aligned, so functions that spill vectors realign it themselves.
function(zorv_core_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fno-fast-math)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86" OR CMAKE_CXX_COMPILER MATCHES "i686")
    target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse -mstackrealign)
  endif()
  # The AVX2 and AVX-512 escape-time paths alone are built for their
  # instruction sets; they run only after a run-time check. Never -mfma: fused
  # multiply-adds would change the counts.
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86|x86_64|AMD64")
    set_source_files_properties(${CMAKE_SOURCE_DIR}/fractal/EscapeKernelAvx2.cpp TARGET_DIRECTORY ${target}
      PROPERTIES COMPILE_OPTIONS "-mavx2")
    set_source_files_properties(${CMAKE_SOURCE_DIR}/fractal/EscapeKernelAvx512.cpp TARGET_DIRECTORY ${target}
      PROPERTIES COMPILE_OPTIONS "-mavx512f")
  endif()
endfunction()

# Checked standard containers too: an index one past an array inside an object
# is no address error.
function(zorv_sanitize target)
  target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
                                          -D_GLIBCXX_ASSERTIONS)
  target_link_options(${target} PUBLIC -fsanitize=address,undefined)
endfunction()

# Static MinGW runtime so the .scr and the test programs need no MinGW DLLs.
if(WIN32)
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_options(-msse2 -mfpmath=sse -mstackrealign -ffp-contract=off)
endif()

# Builds a target with the win32-thread-model twins of the MinGW compilers (the
# toolchain's are the posix ones, which the tests need): the .scr then imports
# nothing the Windows 98 family lacks.
function(zorv_win32_thread_model target)
  set(launcher ${CMAKE_SOURCE_DIR}/cmake/win32-thread-model.sh)
  set_target_properties(${target} PROPERTIES C_COMPILER_LAUNCHER ${launcher} CXX_COMPILER_LAUNCHER ${launcher})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set_target_properties(${target} PROPERTIES RULE_LAUNCH_LINK ${launcher})
  endif()
endfunction()
