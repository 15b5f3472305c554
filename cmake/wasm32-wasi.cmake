# Cross-compiling the effects engine to WebAssembly with Debian's clang and wasi-libc.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_WORKS ON) # its test program would need a runtime to run
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
