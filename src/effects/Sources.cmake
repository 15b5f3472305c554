# The engine's sources, one list for the native library and the WebAssembly module.
set(VEXAJAVA_EFFECTS_SOURCES
    Engine.cpp
    Maths.cpp
    Registry.cpp
    Tag.cpp
    Fire.cpp
    Lens.cpp
    Rot.cpp
    Tunnel.cpp
)
